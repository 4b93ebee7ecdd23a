// Binding the editor windows' controls to Qt widgets: each refresh copies the control's
// state (text, colour, bold, enabled, hint) into its widget; edits report typed text back.
#pragma once

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <functional>
#include <string>

#include "app/ui/Controls.h"
#include "editor/LabeledEdit.h"

namespace velkar::gui {

// A label and a line edit for a TLabeledEdit, named after the control ("edP54").
struct EditWidgets {
  QLabel* label = nullptr;
  QLineEdit* edit = nullptr;
};
EditWidgets MakeLabeledEdit(TLabeledEdit& control, QWidget* parent);

void ApplyEdit(const TLabeledEdit& control, const EditWidgets& widgets);
void ApplyGroup(const TGroupBox& control, QGroupBox* box);
void ApplyCheck(const TCheckBox& control, QAbstractButton* button);

// Places a window in the middle of the screen it is on.
void CentreOnScreen(QWidget* window);

// Runs an event handler of a window object; an error no handler caught goes to the main
// window's error handler (its message is shown and the program goes on), or to an error
// box when there is no main window. Returns false after an error.
bool RunHandler(const std::function<void()>& handler);

}  // namespace velkar::gui
