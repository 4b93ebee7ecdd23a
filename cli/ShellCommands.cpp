// Commands of the shell: the configuration as start-up reads it.
#include <iostream>

#include "app/Settings.h"
#include "cli/Commands.h"
#include "cli/Program.h"

namespace velkar::cli {

namespace {

int RunSettings(CommandContext& context) {
  Program program;
  program.Create(context.startupArgs);
  for (const auto& [key, value] : DescribeSettings(Settings())) std::cout << key << " = " << value << '\n';
  std::cout << "RunDir = " << program.MainForm.RunDir << '\n';
  std::cout << "TulvoAccSet = " << program.MainForm.TulvoAccSet.size() << '\n';
  std::cout << "CutDict = " << program.MainForm.CutDict.size() << '\n';
  return 0;
}

}  // namespace

std::vector<Command> ShellCommands() {
  return {{"settings", "velkar settings [--ini PLIK]", {}, {}, RunSettings}};
}

}  // namespace velkar::cli
