// Commands of the JPK file services: schema validation, new documents, reformatting.
#include <iostream>

#include "app/MainForm.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "cli/Commands.h"
#include "cli/Program.h"
#include "jpkfiles/SchemaValidation.h"
#include "tools/Version.h"

namespace velkar::cli {

namespace {

// Reads the configuration when one was named or the default one exists: validation needs
// it only for its SchemaDir key and its folder.
void ReadConfigurationIfAny(Program& program, const std::vector<std::string>& startupArgs) {
  bool named = startupArgs.size() > 1;
  std::string appName = RunningExecutablePath();
  if (appName.empty()) appName = startupArgs.empty() ? "velkar" : startupArgs[0];
  if (named || FileExists(FindConfigFile(startupArgs, appName, CurrentDir()).fileName)) program.Create(startupArgs);
}

int RunValidate(CommandContext& context) {
  const auto& files = context.args.positional;
  if (files.empty()) Fail("Podaj pliki do sprawdzenia: velkar validate PLIK...");
  Program program;
  ReadConfigurationIfAny(program, context.startupArgs);
  std::string schemaDir = FindSchemaDir();
  if (schemaDir.empty()) throw Error(kNoSchemaDirMessage);
  bool allValid = true;
  for (const std::string& file : files) {
    JpkValidation result;
    try {
      result = ValidateJpkFile(file, schemaDir);
    } catch (const Error& error) {
      std::cout << file << ": błąd: " << error.what() << '\n';
      allValid = false;
      continue;
    }
    std::string structure = result.structure.empty() ? "nieznana struktura" : result.structure;
    if (result.Valid()) {
      std::cout << file << ": " << structure << ": poprawny\n";
      continue;
    }
    allValid = false;
    std::cout << file << ": " << structure << ": niepoprawny, naruszeń: " << result.violations.size() << '\n';
    for (const SchemaViolation& violation : result.violations)
      std::cout << "  " << DescribeViolation(violation) << '\n';
  }
  return allValid ? 0 : 1;
}

}  // namespace

std::vector<Command> JpkFileCommands() {
  return {
      {"validate", "velkar validate PLIK... (sprawdzenie plików JPK ze schematami XSD)", {}, {}, RunValidate},
  };
}

}  // namespace velkar::cli
