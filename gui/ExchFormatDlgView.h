// The Qt view of TExchFormatDlg: the two format boxes, the input file and the output
// folder with their folder buttons, and "Konwertuj".
#pragma once

#include <QDialog>

#include "exchange/ExchFormatDlg.h"

class QComboBox;
class QLineEdit;

namespace velkar::gui {

class ExchFormatDlgView : public QDialog {
 public:
  ExchFormatDlgView(TExchFormatDlg& dlg, QWidget* parent);

  void Refresh();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLineEdit* AddButtonedEdit(TButtonedEdit& control, const std::function<void()>& click);
  QComboBox* AddCombo(TComboBox& control);

  TExchFormatDlg& dlg_;
  QComboBox* input_ = nullptr;
  QComboBox* output_ = nullptr;
  QLineEdit* file_ = nullptr;
  QLineEdit* folder_ = nullptr;
};

}  // namespace velkar::gui
