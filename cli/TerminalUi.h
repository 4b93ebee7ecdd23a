// The UI port of the command line: questions are answered by --yes / --no or asked on
// the terminal; without either and without a terminal a question counts as closed
// without an answer (Cancel). Messages go to standard error, information to standard
// output.
#pragma once

#include <deque>
#include <optional>
#include <string>

#include "app/ui/UiPort.h"

namespace velkar::cli {

class TerminalUi final : public UiPort {
 public:
  enum class Preset { None, Yes, No };
  explicit TerminalUi(Preset preset) : preset_(preset) {}

  // The names the next file dialogs return (a command's -o OUT, its input files).
  void QueueFileName(std::string name) { fileNames_.push_back(std::move(name)); }

  Answer Ask(MessageKind kind, const std::string& text, Buttons buttons) override;
  void ShowMessage(MessageKind kind, const std::string& text) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialDir) override;
  int ShowModal(Window& window) override;
  void SetBusyCursor(bool) override {}
  void ShowWaitHint(const std::string& text) override;
  void HideWaitHint() override {}
  void Beep() override {}
  void PauseWithRepaint(int) override {}
  void RunOnUiThread(const std::function<void()>& call) override { UiQueue().RunAndWait(call); }

 private:
  std::optional<std::string> NextFileName();
  Preset preset_;
  std::deque<std::string> fileNames_;
};

// Terminal text of a message ("\r" line breaks become new lines).
std::string TerminalText(const std::string& text);

}  // namespace velkar::cli
