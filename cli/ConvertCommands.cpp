// The converter on the command line: `velkar convert` fills TExchFormatDlg as a user would
// and presses "Konwertuj".
#include <iostream>
#include <map>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/Program.h"
#include "exchange/ExchFormatDlg.h"

namespace velkar::cli {

namespace {

constexpr const char* kConvertUsage = "velkar convert --from fa|v7m --to v7m|buchalter|ramzes PLIK [--out-dir FOLDER]";

// The terminal's port, counting the error boxes the dialog shows: a conversion that
// showed one ends with exit code 1.
class CountingUi final : public UiPort {
 public:
  CountingUi() : terminal_(Ui()) { SetUi(this); }
  ~CountingUi() override { SetUi(&terminal_); }
  CountingUi(const CountingUi&) = delete;
  CountingUi& operator=(const CountingUi&) = delete;
  int Errors() const { return errors_; }

  Answer Ask(MessageKind kind, const std::string& text, Buttons buttons) override {
    return terminal_.Ask(kind, text, buttons);
  }
  void ShowMessage(MessageKind kind, const std::string& text) override {
    if (kind == MessageKind::Error) ++errors_;
    terminal_.ShowMessage(kind, text);
  }
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& o) override { return terminal_.OpenFileDialog(o); }
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& o) override { return terminal_.SaveFileDialog(o); }
  std::optional<std::string> BrowseFolder(const std::string& title, const std::string& dir) override {
    return terminal_.BrowseFolder(title, dir);
  }
  int ShowModal(Window& window) override { return terminal_.ShowModal(window); }
  void SetBusyCursor(bool busy) override { terminal_.SetBusyCursor(busy); }
  void ShowWaitHint(const std::string&) override {}
  void HideWaitHint() override {}
  void Beep() override {}
  void PauseWithRepaint(int) override {}
  void RunOnUiThread(const std::function<void()>& call) override { call(); }

 private:
  UiPort& terminal_;
  int errors_ = 0;
};

int RunConvert(CommandContext& context) {
  const ParsedArgs& args = context.args;
  static const std::map<std::string, std::string> kInputs = {{"fa", kFormatFa}, {"v7m", kFormatV7}};
  static const std::map<std::string, std::string> kOutputs = {
      {"v7m", kFormatV7}, {"buchalter", kFormatBuchalter}, {"ramzes", kFormatRamzes}};
  if (args.positional.size() != 1) Fail("Podaj plik do konwersji: %s", kConvertUsage);
  auto input = kInputs.find(ToLowerAscii(args.Get("from")));
  if (input == kInputs.end()) Fail("Opcja --from: fa albo v7m (%s)", kConvertUsage);
  auto output = kOutputs.find(ToLowerAscii(args.Get("to")));
  if (output == kOutputs.end()) Fail("Opcja --to: v7m, buchalter albo ramzes (%s)", kConvertUsage);

  Program program;
  program.Create(context.startupArgs);
  TExchFormatDlg& dlg = *program.ExchFormatDlg;
  CountingUi ui;
  dlg.FormShow();
  dlg.cbInputFormat.Text = input->second;
  dlg.cbOutputFormat.Text = output->second;
  dlg.edInputFile.Text = args.positional[0];
  if (args.Has("out-dir")) dlg.edOutputFolder.Text = args.Get("out-dir");
  bool done = dlg.btnMakeItClick();
  return done && ui.Errors() == 0 ? 0 : 1;
}

}  // namespace

std::vector<Command> ConvertCommands() {
  return {{"convert",
           std::string(kConvertUsage) + " (konwersja jak w oknie \"Konwersja danych\")",
           {"from", "to", "out-dir"},
           {},
           RunConvert}};
}

}  // namespace velkar::cli
