// Dispatch of the command line: global options, the command, the error rule.
#include "cli/Main.h"

#include <iostream>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/TerminalUi.h"
#include "tools/Version.h"

namespace velkar::cli {

namespace {

void PrintUsage() {
  std::cout << "Użycie: velkar [--ini PLIK] [POLECENIE] [OPCJE]\n"
               "Bez polecenia uruchamia okno programu.\n\nPolecenia:\n"
               "  velkar --version\n";
  for (const Command& command : AllCommands()) std::cout << "  " << command.usage << '\n';
  std::cout << "\nPytania: --yes / --no odpowiadają Tak / Nie; bez nich pyta terminal.\n";
}

// Matches the longest command name at the start of `words`.
const Command* FindCommand(const std::vector<std::string>& words, size_t& used) {
  const Command* best = nullptr;
  for (const Command& command : AllCommands()) {
    std::vector<std::string> parts = SplitLines(ReplaceAll(command.name, " ", "\n"));
    if (parts.size() > words.size()) continue;
    bool match = true;
    for (size_t i = 0; i < parts.size(); ++i) match = match && words[i] == parts[i];
    if (match && (!best || parts.size() > used)) {
      best = &command;
      used = parts.size();
    }
  }
  return best;
}

}  // namespace

int Main(int argc, char** argv) {
  std::vector<std::string> startupArgs{argc > 0 ? argv[0] : "velkar"};
  std::vector<std::string> words;
  TerminalUi::Preset preset = TerminalUi::Preset::None;
  bool version = false, help = false;
  try {
    // Global options may stand before or after the command's name.
    for (int i = 1; i < argc; ++i) {
      std::string word = argv[i];
      if (StartsWith(word, "/ini=")) {
        startupArgs.push_back(word);
      } else if (StartsWith(word, "--ini=")) {
        startupArgs.push_back("/ini=" + word.substr(6));
      } else if (word == "--ini") {
        if (i + 1 >= argc) Fail("Brak wartości opcji %s", word);
        startupArgs.push_back("/ini=" + std::string(argv[++i]));
      } else if (word == "--yes") {
        preset = TerminalUi::Preset::Yes;
      } else if (word == "--no") {
        preset = TerminalUi::Preset::No;
      } else if (word == "--version") {
        version = true;
      } else if (word == "--help" || word == "-h") {
        help = true;
      } else {
        words.push_back(word);
      }
    }
    if (help) {
      PrintUsage();
      return 0;
    }
    if (version) {
      std::cout << FileVersionText(RunningExecutablePath()) << '\n';
      return 0;
    }
    if (words.empty()) return RunGui(argc, argv, startupArgs);

    size_t used = 0;
    const Command* command = FindCommand(words, used);
    if (!command) {
      // A group's name alone ("velkar v7m") lists the group's commands.
      std::string group = words[0] + " ";
      std::string list;
      for (const Command& candidate : AllCommands())
        if (StartsWith(candidate.name, group)) list += "  " + candidate.usage + "\n";
      std::string unknown = list.empty() || words.size() == 1 ? words[0] : words[0] + " " + words[1];
      if (list.empty() || words.size() > 1)
        Fail("Nieznane polecenie: %s (velkar --help podaje listę poleceń)", unknown);
      std::cout << "Polecenia velkar " << words[0] << ":\n" << list;
      return 1;
    }
    TerminalUi ui(preset);
    SetUi(&ui);
    CommandContext context{startupArgs, {}};
    context.args = ParseArgs({words.begin() + static_cast<long>(used), words.end()}, command->valueOptions,
                             command->flagOptions);
    int code = command->run(context);
    SetUi(nullptr);
    return code;
  } catch (const std::exception& error) {
    SetUi(nullptr);
    std::cerr << TerminalText(error.what()) << std::endl;
    return 1;
  }
}

}  // namespace velkar::cli
