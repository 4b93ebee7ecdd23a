// The Qt view of TGenFromGradmoDlg: the month, the format box and "Generuj".
#pragma once

#include <QDialog>

#include "warehouse/GenFromGradmoDlg.h"

class QComboBox;
class QDateEdit;
class QPushButton;

namespace velkar::gui {

class GenFromGradmoView : public QDialog {
 public:
  GenFromGradmoView(TGenFromGradmoDlg& dlg, QWidget* parent);

  QComboBox* FormatBox() const { return cbToFormat_; }
  QDateEdit* PeriodPicker() const { return dtp_; }
  QPushButton* DoItButton() const { return btnDoIt_; }
  // Copies the typed period and format into the window object and runs btnDoItClick.
  void DoIt();

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  TGenFromGradmoDlg& dlg_;
  QDateEdit* dtp_;
  QComboBox* cbToFormat_;
  QPushButton* btnDoIt_;
};

}  // namespace velkar::gui
