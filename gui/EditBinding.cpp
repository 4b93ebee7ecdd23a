// Control-to-widget binding of the editor windows.
#include "gui/EditBinding.h"

#include <QScreen>

#include "app/MainForm.h"
#include "app/ui/UiPort.h"
#include "gui/QtUi.h"

namespace velkar::gui {

EditWidgets MakeLabeledEdit(TLabeledEdit& control, QWidget* parent) {
  EditWidgets widgets;
  widgets.label = new QLabel(Q(control.EditLabel.Text), parent);
  widgets.label->setWordWrap(true);
  widgets.edit = new QLineEdit(parent);
  widgets.edit->setObjectName(Q(control.Name));
  widgets.label->setBuddy(widgets.edit);
  return widgets;
}

void ApplyEdit(const TLabeledEdit& control, const EditWidgets& widgets) {
  QLineEdit* edit = widgets.edit;
  if (edit->text() != Q(control.Text)) edit->setText(Q(control.Text));
  edit->setReadOnly(control.ReadOnly);
  edit->setEnabled(control.Enabled);
  // The window's colours stand for an edit the user can use; a disabled edit (or one in a
  // disabled group) keeps the style's greyed look, so it does not invite typing.
  QPalette palette = edit->palette();
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive}) {
    palette.setColor(group, QPalette::Base, QtColor(control.BackColor));
    palette.setColor(group, QPalette::Text, QtColor(control.FontColor));
  }
  palette.setColor(QPalette::Disabled, QPalette::Base, QtColor(Color::BtnFace));
  edit->setPalette(palette);
  QFont font = edit->font();
  font.setBold(control.Bold);
  edit->setFont(font);
  edit->setToolTip(control.ShowHint ? Q(control.Hint) : QString());
  QFont labelFont = widgets.label->font();
  labelFont.setBold(control.EditLabel.Bold);
  widgets.label->setFont(labelFont);
}

void ApplyGroup(const TGroupBox& control, QGroupBox* box) {
  box->setTitle(Q(control.Text));
  box->setEnabled(control.Enabled);
}

void ApplyCheck(const TCheckBox& control, QAbstractButton* button) {
  button->setText(Q(control.Text));
  button->setChecked(control.Checked);
  button->setEnabled(control.Enabled);
}

void CentreOnScreen(QWidget* window) {
  if (QScreen* screen = window->screen()) {
    QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
  }
}

bool RunHandler(const std::function<void()>& handler) {
  try {
    handler();
    return true;
  } catch (const std::exception& error) {
    if (TMainForm* form = MainForm())
      form->AppException(error);
    else
      ShowErrorBox(UserMessage(error));
    return false;
  } catch (...) {
    ShowErrorBox("Nieoczekiwany błąd programu");
    return false;
  }
}

}  // namespace velkar::gui
