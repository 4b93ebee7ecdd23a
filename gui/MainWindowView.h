// The Qt view of TMainForm: six tool buttons and the taxpayer's name.
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>
#include <vector>

#include "app/MainForm.h"

namespace velkar::gui {

class MainWindowView : public QWidget {
 public:
  explicit MainWindowView(TMainForm& form);

  // Copies the window object's state into the widgets.
  void Refresh();
  QPushButton* Button(const std::string& name) const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  TMainForm& form_;
  QLabel* labFirmName_;
  std::vector<std::pair<TButton*, QPushButton*>> buttons_;
};

// Binds a control's state to a widget (text, enabled, visible, hint).
void ApplyControl(const Control& control, QWidget* widget);

}  // namespace velkar::gui
