// The commands of `velkar`: each parses its own options and drives the same window
// objects as the GUI, through the terminal UI port.
#pragma once

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "cli/ArgParser.h"

namespace velkar::cli {

struct CommandContext {
  std::vector<std::string> startupArgs;  // program path and "/ini=" parameters, as start-up reads them
  ParsedArgs args;
};

struct Command {
  std::string name;  // one or two words: "settings", "v7m show"
  std::string usage;
  std::set<std::string> valueOptions;
  std::set<std::string> flagOptions;
  std::function<int(CommandContext&)> run;
};

const std::vector<Command>& AllCommands();

// The groups of commands, one per subsystem folder of the command line.
std::vector<Command> ShellCommands();
std::vector<Command> JpkFileCommands();
std::vector<Command> ParadoxCommands();
std::vector<Command> DbCommands();
std::vector<Command> NipCommands();
std::vector<Command> V7mCommands();
std::vector<Command> KsefCommands();
std::vector<Command> ExportCommands();
std::vector<Command> ConvertCommands();
std::vector<Command> KrCommands();

}  // namespace velkar::cli
