// The scripted UI port used by the tests of every window.
#include "app/ui/ScriptedUi.h"

#include "app/ui/Window.h"

namespace velkar {

ScriptedUi::ScriptedUi() : previous_(&Ui()) { SetUi(this); }
ScriptedUi::~ScriptedUi() { SetUi(previous_); }

bool ScriptedUi::WasShown(const std::string& text) const {
  for (const auto& s : shown_)
    if (s.text == text) return true;
  return false;
}

Answer ScriptedUi::Ask(MessageKind kind, const std::string& text, Buttons buttons) {
  bool yesNo = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
  return AskWithDefault(kind, text, buttons, yesNo ? Answer::Yes : Answer::Ok);
}

Answer ScriptedUi::AskWithDefault(MessageKind kind, const std::string& text, Buttons, Answer defaultButton) {
  shown_.push_back({kind, text, true, defaultButton});
  if (answers_.empty()) return Answer::Cancel;
  Answer answer = answers_.front();
  answers_.pop_front();
  return answer;
}

void ScriptedUi::ShowMessage(MessageKind kind, const std::string& text) { shown_.push_back({kind, text, false, Answer::Ok}); }

std::optional<std::string> ScriptedUi::NextFileName() {
  if (fileNames_.empty()) return {};
  std::string name = fileNames_.front();
  fileNames_.pop_front();
  if (name.empty()) return {};
  return name;
}

std::optional<std::string> ScriptedUi::OpenFileDialog(const FileDialogOptions& options) {
  dialogs_.push_back(options);
  return NextFileName();
}

std::optional<std::string> ScriptedUi::SaveFileDialog(const FileDialogOptions& options) {
  dialogs_.push_back(options);
  return NextFileName();
}

std::optional<std::string> ScriptedUi::BrowseFolder(const std::string& title, const std::string& initialDir) {
  dialogs_.push_back({title, "", "", initialDir, ""});
  return NextFileName();
}

int ScriptedUi::ShowModal(Window& window) {
  modalWindows_.push_back(window.Name);
  window.FormShow();
  if (modals_.empty()) return window.ModalResultValue = mrCancel;
  auto handler = std::move(modals_.front());
  modals_.pop_front();
  return window.ModalResultValue = handler(window);
}

}  // namespace velkar
