// Main window layout: a fixed 554 x 222 client area, two rows of three 150 x 60 buttons.
#include "gui/MainWindowView.h"

#include <QCloseEvent>
#include <QFont>

#include "gui/QtUi.h"

namespace velkar::gui {

void ApplyControl(const Control& control, QWidget* widget) {
  widget->setEnabled(control.Enabled);
  widget->setVisible(control.Visible);
  widget->setToolTip(control.ShowHint ? Q(control.Hint) : QString());
}

MainWindowView::MainWindowView(TMainForm& form) : form_(form) {
  setObjectName("TMainForm");
  setFixedSize(554, 222);
  QFont font("Tahoma");
  font.setPixelSize(11);
  setFont(font);

  struct Place {
    TButton* button;
    int left, top;
    void (TMainForm::*click)();
  };
  const Place places[] = {
      {&form.btnJPK_V7M, 27, 30, &TMainForm::btnJPK_V7MClick},
      {&form.btnJPK_FA, 202, 30, &TMainForm::btnJPK_FAClick},
      {&form.btnJPK_MAG, 377, 30, &TMainForm::btnJPK_MAGClick},
      {&form.btnJPK_KR, 27, 118, &TMainForm::btnJPK_KRClick},
      {&form.btnGenFromGradmo, 202, 118, &TMainForm::btnGradmoGenClick},
      {&form.btnExchangeFormat, 377, 118, &TMainForm::btnExchangeFormatClick},
  };
  QWidget* previous = nullptr;
  for (const Place& place : places) {
    auto* button = new QPushButton(Q(place.button->Text), this);
    button->setObjectName(Q(place.button->Name));
    button->setGeometry(place.left, place.top, 150, 60);
    auto click = place.click;
    connect(button, &QPushButton::clicked, this, [this, click] {
      try {
        (form_.*click)();
      } catch (const std::exception& error) {
        form_.AppException(error);
      }
      Refresh();
    });
    if (previous) setTabOrder(previous, button);
    previous = button;
    buttons_.emplace_back(place.button, button);
  }
  labFirmName_ = new QLabel(this);
  labFirmName_->setObjectName("labFirmName");
  labFirmName_->setGeometry(10, 222 - 19, 554 - 20, 19);
  Refresh();
}

void MainWindowView::Refresh() {
  setWindowTitle(Q(form_.Caption));
  labFirmName_->setText(Q(form_.labFirmName.Text));
  for (auto& [control, button] : buttons_) ApplyControl(*control, button);
}

QPushButton* MainWindowView::Button(const std::string& name) const {
  for (auto& [control, button] : buttons_)
    if (control->Name == name) return button;
  return nullptr;
}

void MainWindowView::showEvent(QShowEvent* event) {
  form_.FormShow();
  Refresh();
  QWidget::showEvent(event);
}

void MainWindowView::closeEvent(QCloseEvent* event) {
  if (form_.FormCloseQuery()) event->accept();
  else event->ignore();
}

}  // namespace velkar::gui
