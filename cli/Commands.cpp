// The list of all commands.
#include "cli/Commands.h"

namespace velkar::cli {

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = [] {
    std::vector<Command> all;
    for (auto group : {
             ShellCommands(),
             JpkFileCommands(),
             ParadoxCommands(),
             DbCommands(),
             NipCommands(),
             V7mCommands(),
             KsefCommands(),
             ExportCommands(),
             ConvertCommands(),
             KrCommands(),
         })
      all.insert(all.end(), group.begin(), group.end());
    return all;
  }();
  return commands;
}

}  // namespace velkar::cli
