// The converter on the command line: `velkar convert` fills TExchFormatDlg as a user would
// and presses "Konwertuj".
#include <map>

#include "base/Error.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/Program.h"
#include "exchange/ExchFormatDlg.h"

namespace velkar::cli {

namespace {

constexpr const char* kConvertUsage = "velkar convert --from fa|v7m --to v7m|buchalter|ramzes PLIK [--out-dir FOLDER]";

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
  dlg.FormShow();
  dlg.cbInputFormat.Text = input->second;
  dlg.cbOutputFormat.Text = output->second;
  dlg.edInputFile.Text = args.positional[0];
  if (args.Has("out-dir")) dlg.edOutputFolder.Text = args.Get("out-dir");
  // Refusals and errors are error boxes (standard error); a schema warning after the save
  // does not undo a conversion.
  return dlg.btnMakeItClick() ? 0 : 1;
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
