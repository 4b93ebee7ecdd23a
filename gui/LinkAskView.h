// The Qt view of TdlgLinkAsk: two large buttons, "Nowy plik" and "Połącz pliki".
#pragma once

#include <QDialog>

#include "editor/LinkAskDlg.h"

namespace velkar::gui {

class LinkAskView : public QDialog {
 public:
  LinkAskView(TdlgLinkAsk& dlg, QWidget* parent);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TdlgLinkAsk& dlg_;
};

}  // namespace velkar::gui
