// Questions and messages on the terminal.
#include "cli/TerminalUi.h"

#include <unistd.h>

#include <iostream>

#include "app/ui/Window.h"
#include "base/Text.h"

namespace velkar::cli {

std::string TerminalText(const std::string& text) { return ReplaceAll(text, "\r", "\n"); }

Answer TerminalUi::Ask(MessageKind, const std::string& text, Buttons buttons) {
  bool yesNo = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
  Answer positive = yesNo ? Answer::Yes : Answer::Ok;
  Answer negative = yesNo ? Answer::No : Answer::Cancel;
  if (preset_ == Preset::Yes) return positive;
  if (preset_ == Preset::No) return negative;
  std::cerr << TerminalText(text) << '\n';
  if (!::isatty(STDIN_FILENO)) return Answer::Cancel;
  std::cerr << (yesNo ? "[t]ak / [n]ie: " : "[o]k / [a]nuluj: ") << std::flush;
  std::string line;
  if (!std::getline(std::cin, line)) return Answer::Cancel;
  std::string answer = ToLowerAscii(Trim(line));
  if (answer == "t" || answer == "tak" || answer == "y" || answer == "o" || answer == "ok") return positive;
  if (yesNo && (answer == "n" || answer == "nie")) return negative;
  return Answer::Cancel;
}

void TerminalUi::ShowMessage(MessageKind kind, const std::string& text) {
  (kind == MessageKind::Information ? std::cout : std::cerr) << TerminalText(text) << std::endl;
}

std::optional<std::string> TerminalUi::NextFileName() {
  if (fileNames_.empty()) return {};
  std::string name = fileNames_.front();
  fileNames_.pop_front();
  return name;
}

std::optional<std::string> TerminalUi::OpenFileDialog(const FileDialogOptions&) { return NextFileName(); }
std::optional<std::string> TerminalUi::SaveFileDialog(const FileDialogOptions& options) {
  auto name = NextFileName();
  if (!name && !options.fileName.empty()) return options.fileName;
  return name;
}
std::optional<std::string> TerminalUi::BrowseFolder(const std::string&, const std::string&) { return NextFileName(); }

int TerminalUi::ShowModal(Window& window) {
  window.FormShow();
  return window.ModalResultValue = mrCancel;
}

void TerminalUi::ShowWaitHint(const std::string& text) { std::cerr << TerminalText(text) << std::endl; }

}  // namespace velkar::cli
