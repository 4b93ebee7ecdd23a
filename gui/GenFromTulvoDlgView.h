// The Qt view of TGenFromTulvoDlg: the period group (month picker and "&Generuj"), the
// status line and the progress bar; it follows the window object while the task runs.
#pragma once

#include <QDialog>

#include "ledger/GenFromTulvoDlg.h"

class QDateEdit;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;

namespace velkar::gui {

class GenFromTulvoDlgView : public QDialog {
 public:
  GenFromTulvoDlgView(TGenFromTulvoDlg& dlg, QWidget* parent);
  ~GenFromTulvoDlgView() override;

  void Refresh();

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;  // the close box: refused while the task runs

 private:
  void Finish();

  TGenFromTulvoDlg& dlg_;
  QGroupBox* group_;
  QLabel* labPeriod_;
  QDateEdit* dtp_;
  QPushButton* btnDoIt_;
  QLabel* lblProgMsg_;
  QProgressBar* bar_;
  bool finished_ = false;
};

}  // namespace velkar::gui
