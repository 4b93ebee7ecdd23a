// The Qt view of TJpkVatDlg: the file buttons, the register totals and the VAT-7
// positions; it copies the window object's state into the widgets after every event.
#pragma once

#include <QDialog>
#include <functional>
#include <vector>

#include "editor/JpkVatDlg.h"
#include "gui/EditBinding.h"

class QPushButton;

namespace velkar::gui {

class JpkVatDlgView : public QDialog {
 public:
  JpkVatDlgView(TJpkVatDlg& dlg, QWidget* parent);
  ~JpkVatDlgView() override;

  void Refresh();
  QLineEdit* Edit(const std::string& name) const;

 protected:
  void showEvent(QShowEvent* event) override;
  void reject() override;

 private:
  QPushButton* Button(TButton& control, QWidget* parent, std::function<void(TJpkVatDlg&)> click);
  // Runs a handler of the window object (an error is shown, the window stays), refreshes,
  // and focuses the edit the handler named as the one to correct.
  void Act(const std::function<void(TJpkVatDlg&)>& handler);
  void Edits(QGroupBox* box, std::initializer_list<TLabeledEdit*> controls, int columns);

  TJpkVatDlg& dlg_;
  std::vector<std::pair<TButton*, QPushButton*>> buttons_;
  std::vector<std::pair<TLabeledEdit*, EditWidgets>> edits_;
  std::vector<std::pair<TGroupBox*, QGroupBox*>> groups_;
  std::vector<std::pair<TCheckBox*, QAbstractButton*>> checks_;
};

}  // namespace velkar::gui
