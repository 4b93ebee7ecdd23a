// A UI port that stands in for the terminal's while one command runs: it installs itself
// as the program's port, hands everything it does not play itself to the terminal, and
// puts the terminal's port back at its end.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "app/ui/UiPort.h"

namespace velkar::cli {

class ForwardingUi : public UiPort {
 public:
  ForwardingUi() : terminal_(Ui()) { SetUi(this); }
  ~ForwardingUi() override { SetUi(&terminal_); }
  ForwardingUi(const ForwardingUi&) = delete;
  ForwardingUi& operator=(const ForwardingUi&) = delete;

  Answer Ask(MessageKind kind, const std::string& text, Buttons buttons) override {
    return terminal_.Ask(kind, text, buttons);
  }
  void ShowMessage(MessageKind kind, const std::string& text) override { terminal_.ShowMessage(kind, text); }
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override {
    return terminal_.OpenFileDialog(options);
  }
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override {
    return terminal_.SaveFileDialog(options);
  }
  std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialDir) override {
    return terminal_.BrowseFolder(title, initialDir);
  }
  int ShowModal(Window& window) override { return terminal_.ShowModal(window); }
  void SetBusyCursor(bool busy) override { terminal_.SetBusyCursor(busy); }
  // A command has no screen to repaint: wait hints, beeps and pauses are dropped.
  void ShowWaitHint(const std::string&) override {}
  void HideWaitHint() override {}
  void Beep() override {}
  void PauseWithRepaint(int) override {}
  // The command runs on the one thread it has.
  void RunOnUiThread(const std::function<void()>& call) override { call(); }

 protected:
  UiPort& terminal_;
};

}  // namespace velkar::cli
