// Commands of the JPK file services: schema validation, new documents, reformatting.
#include <iostream>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "cli/Program.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/SchemaValidation.h"
#include "jpkfiles/V7mPublication.h"
#include "model/xml/XmlDocument.h"
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

// "YYYY-MM" of --month: the working period.
DateTime ParseMonth(const std::string& text) {
  long long year = 0, month = 0;
  if (text.size() != 7 || text[4] != '-' || !TryParseInt(text.substr(0, 4), year) ||
      !TryParseInt(text.substr(5, 2), month) || year < 1900 || month < 1 || month > 12)
    Fail("Niepoprawny miesiąc: %s (oczekiwano RRRR-MM)", text);
  return {static_cast<int>(year), static_cast<int>(month), 1};
}

// The path every generator takes: New, Init, header, save, reformat (and the schema check).
int RunNew(CommandContext& context) {
  const auto& args = context.args;
  if (args.positional.size() != 1) Fail("Podaj rodzaj pliku: velkar new v7m|fa|mag|kr --month RRRR-MM -o PLIK");
  std::string kind = ToLowerAscii(args.positional[0]);
  if (!args.Has("month")) Fail("Brak opcji --month RRRR-MM");
  if (!args.Has("o")) Fail("Brak opcji -o PLIK");
  if (args.Has("correction") && kind != "v7m") Fail("Opcja --correction dotyczy tylko pliku JPK_V7M");
  DateTime month = ParseMonth(args.Get("month"));
  std::string out = args.Get("o");
  Program program;
  program.Create(context.startupArgs);
  Settings().CurDate = month;
  if (kind == "v7m") {
    // The month decides the structure: JPK_V7M(3) from February 2026, JPK_V7M(2) before.
    v7m::IXMLJPK doc = NewJpkV7ForPeriod(month);
    InitJpkV7Doc(doc);
    SetJpkV7Header(doc, args.Has("correction"));
    SaveJpkFile(doc, out);
  } else if (kind == "fa") {
    fa::IXMLJPKFA doc = fa::NewJpkFA();
    InitJpkFADoc(doc);
    SetJpkFAHeader(doc);
    SaveJpkFile(doc, out);
  } else if (kind == "mag") {
    mag::IXMLJPKMAG doc = mag::NewJpkMAG();
    InitJpkMAGDoc(doc);
    SetJpkMAGHeader(doc);
    SaveJpkFile(doc, out);
  } else if (kind == "kr") {
    kr::IXMLJPKKR doc = kr::NewJpkKR();
    InitJpkKRDoc(doc);
    SetJpkKRHeader(doc);
    SaveJpkFile(doc, out);
  } else {
    Fail("Nieznany rodzaj pliku: %s (v7m, fa, mag albo kr)", args.positional[0]);
  }
  std::cout << "Zapisano " << out << '\n';
  return 0;
}

// Loads a JPK_V7M(2), JPK_V7M(3) or JPK_FA(4) file with the prefix check and saves it back
// reformatted; a repaired file is already saved by the check (its original is in the backup
// folder). A file of the earlier JPK_V7M(2) publication (07081) is saved in the current one.
int RunReformat(CommandContext& context) {
  if (context.args.positional.size() != 1) Fail("Podaj plik: velkar reformat PLIK");
  std::string file = context.args.positional[0];
  Program program;
  ReadConfigurationIfAny(program, context.startupArgs);
  xml::IXMLDocument document = xml::TXMLDocument::Create();
  document->LoadFromFile(file);
  std::string rootNamespace = document->DocumentElement().NamespaceURI();
  if (rootNamespace == v7m::kTargetNamespace || rootNamespace == v7m::kTargetNamespace3 ||
      rootNamespace == v7m::kTargetNamespace07081) {
    v7m::IXMLJPK doc = v7m::GetJpkV7(document);
    document.reset();
    OpenEarlierV7mPublication(doc);
    if (!CheckJpkV7Prefixes(doc, file)) SaveJpkFile(doc, file);
  } else if (rootNamespace == fa::kTargetNamespace) {
    fa::IXMLJPKFA doc = fa::GetJpkFA(document);
    document.reset();
    if (!CheckJpkFAPrefixes(doc, file)) SaveJpkFile(doc, file);
  } else {
    Fail("Plik %s nie jest plikiem JPK_V7M (2), JPK_V7M (3) ani JPK_FA (4)", file);
  }
  std::cout << "Zapisano " << file << '\n';
  return 0;
}

}  // namespace

std::vector<Command> JpkFileCommands() {
  return {
      {"validate", "velkar validate PLIK... (sprawdzenie plików JPK ze schematami XSD)", {}, {}, RunValidate},
      {"new",
       "velkar new v7m|fa|mag|kr --month RRRR-MM [--correction] -o PLIK (nowy plik z nagłówkiem)",
       {"month", "o"},
       {"correction"},
       RunNew},
      {"reformat",
       "velkar reformat PLIK [--yes|--no] (poprawa prefiksów i formatowanie JPK_V7M, JPK_FA)",
       {},
       {},
       RunReformat},
  };
}

}  // namespace velkar::cli
