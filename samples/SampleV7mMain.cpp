// velkar-sample-v7m: writes the sample JPK_V7M register of the company named by the
// configuration file, for the period of its CurDate or of --month, in the period's structure
// (JPK_V7M(3) from February 2026) or the one --structure forces.
//
//   velkar-sample-v7m --ini demo.ini -o 2024-03_JPK_V7M.xml              the demo register
//   velkar-sample-v7m --ini demo.ini --sales 100000 [--purchases N] -o F   a register of that size
//   velkar-sample-v7m --ini demo.ini --month 2026-02 [--structure 2] -o F  another period
#include <iostream>
#include <optional>

#include "app/Settings.h"
#include "base/DateTime.h"
#include "base/Error.h"
#include "cli/ArgParser.h"
#include "cli/Program.h"
#include "samples/SampleV7m.h"
#include "tools/Money.h"

int main(int argc, char** argv) {
  using namespace velkar;
  try {
    cli::ParsedArgs args =
        cli::ParseArgs({argv + 1, argv + argc}, {"ini", "o", "sales", "purchases", "month", "structure"}, {});
    if (!args.Has("o") || !args.positional.empty())
      Fail(
          "Użycie: velkar-sample-v7m [--ini PLIK] [--month RRRR-MM] [--structure 2|3] [--sales N] [--purchases N] "
          "-o WYNIK");
    std::vector<std::string> startup{argv[0]};
    if (args.Has("ini")) startup.push_back("/ini=" + args.Get("ini"));
    Program program;
    program.Create(startup);
    if (args.Has("month")) {
      std::optional<DateTime> month;
      if (args.Get("month").size() == 7) month = ParseDate(args.Get("month") + "-15");
      if (!month) Fail("Niepoprawny miesiąc: %s (oczekiwano RRRR-MM)", args.Get("month"));
      Settings().CurDate = *month;
    }
    // The file is the same on every run: stamped at the end of its period's last day.
    DateTime stamp = EndOfMonth(Settings().CurDate);
    stamp.hour = 18;
    Clock::Freeze(stamp);
    SampleV7mOptions options;
    if (args.Has("structure")) {
      if (args.Get("structure") != "2" && args.Get("structure") != "3")
        Fail("Niepoprawna wartość opcji --structure: %s (dozwolone: 2, 3)", args.Get("structure"));
      options.structure = args.Get("structure") == "2" ? v7m::V7Structure::V2 : v7m::V7Structure::V3;
    }
    if (args.Has("sales")) options.sales = static_cast<long>(CheckedWhole(args.GetAmount("sales"), "--sales", 1e9));
    if (args.Has("purchases"))
      options.purchases = static_cast<long>(CheckedWhole(args.GetAmount("purchases"), "--purchases", 1e9));
    WriteSampleV7m(BuildSampleV7m(options), args.Get("o"));
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}
