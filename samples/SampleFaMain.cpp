// velkar-sample-fa: writes a sample JPK_FA(4) invoice file of the company named by the
// configuration file, for the period of its CurDate.
//
//   velkar-sample-fa --ini demo.ini -o 2024-03_JPK_FA.xml                  the demo invoices
//   velkar-sample-fa --ini demo.ini --invoices 1000000 [--no-lines] -o F     a file of that size
#include <iostream>

#include "app/Settings.h"
#include "base/DateTime.h"
#include "base/Error.h"
#include "cli/ArgParser.h"
#include "cli/Program.h"
#include "samples/SampleFa.h"
#include "tools/Money.h"

int main(int argc, char** argv) {
  using namespace velkar;
  try {
    cli::ParsedArgs args = cli::ParseArgs({argv + 1, argv + argc}, {"ini", "o", "invoices"}, {"no-lines"});
    if (!args.Has("o") || !args.positional.empty())
      Fail("Użycie: velkar-sample-fa [--ini PLIK] [--invoices N] [--no-lines] -o WYNIK");
    std::vector<std::string> startup{argv[0]};
    if (args.Has("ini")) startup.push_back("/ini=" + args.Get("ini"));
    Program program;
    program.Create(startup);
    DateTime stamp = EndOfMonth(Settings().CurDate);
    stamp.hour = 18;
    Clock::Freeze(stamp);
    SampleFaOptions options;
    if (args.Has("invoices"))
      options.invoices = static_cast<long>(CheckedWhole(args.GetAmount("invoices"), "--invoices", 1e9));
    options.lines = !args.Has("no-lines");
    WriteSampleFa(options, args.Get("o"));
    return 0;
  } catch (const std::exception& error) {
    std::cerr << error.what() << '\n';
    return 1;
  }
}
