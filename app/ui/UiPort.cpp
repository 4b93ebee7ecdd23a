// The installed UI port. Without one, questions count as closed without an answer and
// messages go to standard error, so core code never blocks on a missing display.
#include "app/ui/UiPort.h"

#include <iostream>

#include "app/ui/Window.h"

namespace velkar {

namespace {

class HeadlessUi final : public UiPort {
 public:
  Answer Ask(MessageKind, const std::string& text, Buttons) override {
    std::cerr << text << '\n';
    return Answer::Cancel;
  }
  void ShowMessage(MessageKind, const std::string& text) override { std::cerr << text << '\n'; }
  std::optional<std::string> OpenFileDialog(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> SaveFileDialog(const FileDialogOptions&) override { return {}; }
  std::optional<std::string> BrowseFolder(const std::string&, const std::string&) override { return {}; }
  int ShowModal(Window&) override { return mrCancel; }
  void SetBusyCursor(bool) override {}
  void ShowWaitHint(const std::string&) override {}
  void HideWaitHint() override {}
  void Beep() override {}
  void PauseWithRepaint(int) override {}
  void RunOnUiThread(const std::function<void()>& call) override { UiQueue().RunAndWait(call); }
};

HeadlessUi gHeadless;
UiPort* gPort = &gHeadless;

}  // namespace

UiPort& Ui() { return *gPort; }
void SetUi(UiPort* port) { gPort = port ? port : &gHeadless; }

}  // namespace velkar
