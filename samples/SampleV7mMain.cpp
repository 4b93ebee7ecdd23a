// velkar-sample-v7m: writes the sample JPK_V7M(2) register of the company named by the
// configuration file, for the period of its CurDate.
//
//   velkar-sample-v7m --ini demo.ini -o 2024-03_JPK_V7M.xml              the demo register
//   velkar-sample-v7m --ini demo.ini --sales 100000 [--purchases N] -o F   a register of that size
#include <iostream>

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
    cli::ParsedArgs args = cli::ParseArgs({argv + 1, argv + argc}, {"ini", "o", "sales", "purchases"}, {});
    if (!args.Has("o") || !args.positional.empty())
      Fail("Użycie: velkar-sample-v7m [--ini PLIK] [--sales N] [--purchases N] -o WYNIK");
    std::vector<std::string> startup{argv[0]};
    if (args.Has("ini")) startup.push_back("/ini=" + args.Get("ini"));
    Program program;
    program.Create(startup);
    // The file is the same on every run: stamped at the end of its period's last day.
    DateTime stamp = EndOfMonth(Settings().CurDate);
    stamp.hour = 18;
    Clock::Freeze(stamp);
    SampleV7mOptions options;
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
