// The KSeF commands of JPK_V7M files: `velkar v7m ksef` sets KSeF numbers from a list on
// a JPK_V7M(3) register, `velkar v7m upgrade` turns a JPK_V7M(2) file of a period from
// February 2026 into JPK_V7M(3). Both check the result against the schema before saving.
#include <iostream>

#include "base/Error.h"
#include "base/Paths.h"
#include "cli/Commands.h"
#include "cli/Program.h"
#include "jpkfiles/Backup.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/SchemaValidation.h"
#include "ksef/KsefList.h"
#include "ksef/KsefRows.h"
#include "ksef/V7mUpgrade.h"

namespace velkar::cli {

namespace {

constexpr const char* kKsefUsage = "velkar v7m ksef PLIK --numbers LISTA.csv [-o WYNIK]";
constexpr const char* kUpgradeUsage =
    "velkar v7m upgrade PLIK [-o WYNIK] [--ksef LISTA.csv] [--zwrot 540|55|56|560|58]";

v7m::IXMLJPK LoadRegister(const std::string& fileName) {
  if (!FileExists(fileName)) Fail("Nie znaleziono pliku %s", fileName);
  return v7m::LoadJpkV7(fileName);
}

void PrintDefaultMarked(const char* title, const std::vector<KsefRowInfo>& rows) {
  std::cout << title << ": " << rows.size() << '\n';
  for (const KsefRowInfo& row : rows) std::cout << "  " << DescribeKsefRow(row) << '\n';
}

// Checks `doc` against its schema and only then saves it to `output` (through a temporary
// file, with the reformat pass); writing over the input keeps the input's copy in the
// backup folder first. An invalid result is not written.
void SaveChecked(v7m::IXMLJPK& doc, const std::string& input, const std::string& output) {
  JpkValidation check = ValidateJpkDocument(doc.OwnerDocument()->DOMDocument());
  if (!check.Valid())
    Fail("Nie zapisano pliku %s: wynik jest niezgodny ze schematem %s\r%s", output, check.structure,
         DescribeViolation(check.violations.front()));
  if (ExpandFileName(output) == ExpandFileName(input)) CopyToBackup(input, kEditorBackupPrefix, ReadWholeFile(input));
  SaveJpkFile(doc, output);
  std::cout << "Zapisano plik " << output << '\n';
}

int RunKsef(CommandContext& context) {
  const ParsedArgs& args = context.args;
  if (args.positional.size() != 1 || !args.Has("numbers")) Fail("Użycie: %s", kKsefUsage);
  const std::string& file = args.positional[0];
  Program program;
  program.Create(context.startupArgs);
  KsefNumberList list = KsefNumberList::Read(args.Get("numbers"));
  v7m::IXMLJPK doc = LoadRegister(file);
  std::optional<v7m::V7Structure> structure = v7m::StructureOfJpkV7(doc);
  // The earlier publication of JPK_V7M(2) (07081) is no JPK_V7M(3) either.
  if (!structure && doc.NamespaceURI() == v7m::kTargetNamespace07081) structure = v7m::V7Structure::V2;
  if (!structure) Fail("Plik %s nie jest plikiem JPK_V7M", file);
  if (*structure != v7m::V7Structure::V3)
    Fail("Plik %s ma strukturę JPK_V7M (2), która nie ma numerów KSeF; najpierw velkar v7m upgrade", file);
  InitJpkV7Doc(doc);
  std::cout << "Wiersze z numerem KSeF z listy: " << ApplyKsefNumbers(doc, list) << '\n';
  PrintDefaultMarked("Wiersze faktur nadal ze znacznikiem domyślnym (BFK/OFF)", RowsWithDefaultMarker(doc));
  WarnAboutKsefIssuers(doc);
  SaveChecked(doc, file, args.Get("o", file));
  return 0;
}

int RunUpgrade(CommandContext& context) {
  const ParsedArgs& args = context.args;
  if (args.positional.size() != 1) Fail("Użycie: %s", kUpgradeUsage);
  const std::string& file = args.positional[0];
  const std::string refund = args.Get("zwrot", "");
  if (args.Has("zwrot") && !IsV7m3RefundChoice(refund))
    Fail("Niepoprawna wartość opcji --zwrot: %s (dozwolone: 540, 55, 56, 560, 58)", refund);
  Program program;
  program.Create(context.startupArgs);
  std::optional<KsefNumberList> list;
  if (args.Has("ksef")) list = KsefNumberList::Read(args.Get("ksef"));
  v7m::IXMLJPK doc = LoadRegister(file);
  V7mUpgradeResult result = UpgradeJpkV7(doc, list ? &*list : nullptr, refund);
  std::cout << "Przekształcono plik " << file << " do struktury JPK_V7M (3)\n";
  if (!result.refund.empty()) std::cout << "Zwrot z P_57 przeniesiono do " << result.refund << '\n';
  if (args.Has("zwrot") && result.refund.empty()) std::cout << "Plik nie ma P_57: opcji --zwrot nie użyto\n";
  if (list) std::cout << "Wiersze z numerem KSeF z listy: " << result.numbered << '\n';
  PrintDefaultMarked("Wiersze faktur ze znacznikiem domyślnym (BFK/OFF), do sprawdzenia", result.defaultMarked);
  WarnAboutKsefIssuers(doc);
  SaveChecked(doc, file, args.Get("o", file));
  return 0;
}

}  // namespace

std::vector<Command> KsefCommands() {
  return {
      {"v7m ksef",
       std::string(kKsefUsage) + " (numery KSeF z listy CSV w pliku JPK_V7M (3))",
       {"numbers", "o"},
       {},
       RunKsef},
      {"v7m upgrade",
       std::string(kUpgradeUsage) + " (JPK_V7M (2) od lutego 2026 do JPK_V7M (3))",
       {"o", "ksef", "zwrot"},
       {},
       RunUpgrade},
  };
}

}  // namespace velkar::cli
