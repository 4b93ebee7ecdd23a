// The Qt view of TGenJpkVatDlg ("Nowy JPK_V7M"): the month picker, the source program, the
// data range, the purpose of the filing, the declaration option and "Generuj".
#pragma once

#include <QDialog>
#include <utility>
#include <vector>

#include "generate/GenJpkVatDlg.h"

class QAbstractButton;
class QDateEdit;

namespace velkar::gui {

class GenJpkVatDlgView : public QDialog {
 public:
  GenJpkVatDlgView(TGenJpkVatDlg& dlg, QWidget* parent);

  void Refresh();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void GenerateClicked();

  TGenJpkVatDlg& dlg_;
  QDateEdit* dtp_ = nullptr;
  std::vector<std::pair<TCheckBox*, QAbstractButton*>> checks_;
};

}  // namespace velkar::gui
