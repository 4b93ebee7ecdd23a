// The Qt view of TParagonDlg: the amount edits per VAT rate with their differences and
// totals; typed keys go through the dialog's key filter.
#pragma once

#include <QDialog>
#include <vector>

#include "editor/ParagonDlg.h"
#include "gui/EditBinding.h"

class QPushButton;

namespace velkar::gui {

class ParagonDlgView : public QDialog {
 public:
  ParagonDlgView(TParagonDlg& dlg, QWidget* parent);

  void Refresh();
  QLineEdit* Edit(const std::string& name) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  void Close(int result);

  TParagonDlg& dlg_;
  std::vector<std::pair<TLabeledEdit*, EditWidgets>> edits_;
};

}  // namespace velkar::gui
