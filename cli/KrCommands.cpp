// `velkar kr generate`: the JPK_KR of a month from Tulvo's ledger, through the same dialog
// as the GUI's "JPK &KR": the period is typed into it, "&Generuj" pressed, the task's
// progress shown on standard error (on a terminal) and the save offered at the end.
#include <unistd.h>

#include <iostream>

#include "app/Settings.h"
#include "base/Error.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/Program.h"
#include "cli/TerminalUi.h"

namespace velkar::cli {

namespace {

// "YYYY-MM" of --month as the date picker's first day of that month.
std::string MonthDate(const std::string& text) {
  long long year = 0, month = 0;
  if (text.size() != 7 || text[4] != '-' || !TryParseInt(text.substr(0, 4), year) ||
      !TryParseInt(text.substr(5, 2), month) || year < 1900 || year > 9999 || month < 1 || month > 12)
    Fail("Niepoprawny miesiąc: %s (oczekiwano RRRR-MM)", text);
  return Format("%04d-%02d-01", year, month);
}

int RunKrGenerate(CommandContext& context) {
  const auto& args = context.args;
  if (!args.positional.empty()) Fail("Za dużo argumentów: %s", args.positional[0]);
  if (!args.Has("month")) Fail("Brak opcji --month RRRR-MM");
  std::string date = MonthDate(args.Get("month"));
  Program program;
  program.Create(context.startupArgs);
  if (Settings().TulvoDir.empty()) Fail("Brak ustawienia TulvoDir: JPK_KR powstaje z danych programu Tulvo");
  if (args.Has("o"))
    if (auto* terminal = dynamic_cast<TerminalUi*>(&Ui())) terminal->QueueFileName(args.Get("o"));

  TGenFromTulvoDlg& dlg = *program.GenFromTulvoDlg;
  dlg.FormShow();
  dlg.dtp.Date = date;
  dlg.btnDoItClick();
  // The modal loop: the task's calls and the progress timer run here until the task's
  // final step closes the dialog.
  bool terminal = ::isatty(STDERR_FILENO) != 0;
  std::string shown;
  while (dlg.ModalResultValue == mrNone) {
    Ui().ProcessMessages(200);
    if (!terminal || !dlg.ProgressBarKR.Visible) continue;
    std::string line = Format("[%d/%d] %s", dlg.ProgressBarKR.Position, dlg.ProgressBarKR.Max, dlg.lblProgMsg.Text);
    if (line != shown) std::cerr << line << std::endl;
    shown = line;
  }
  bool made = dlg.MadeSuccessfully;
  dlg.FormClose();  // the save offer, or the task's error
  return made ? 0 : 1;
}

}  // namespace

std::vector<Command> KrCommands() {
  return {
      {"kr generate",
       "velkar kr generate --month RRRR-MM [-o PLIK] [--yes|--no] (JPK_KR z ksiąg programu Tulvo)",
       {"month", "o"},
       {},
       RunKrGenerate},
  };
}

}  // namespace velkar::cli
