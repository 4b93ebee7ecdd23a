// `velkar db info TABLE`: what the header of a Paradox table says, for a bookkeeper or a
// support call looking into a client's data folder.
#include <iostream>

#include "base/Error.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "tools/db/paradox/ParadoxTable.h"

namespace velkar::cli {

namespace {

namespace px = velkar::db::paradox;

std::string VersionName(int fileVersion) {
  if (fileVersion == 3) return "Paradox 3.0";
  if (fileVersion == 4) return "Paradox 3.5";
  if (fileVersion <= 9) return "Paradox 4.x";
  if (fileVersion <= 11) return "Paradox 5.x";
  return "Paradox 7.x";
}

int RunDbInfo(CommandContext& context) {
  if (context.args.positional.size() != 1) Fail("Użycie: velkar db info TABELA [--codepage N]");
  px::ReadOptions options;
  if (context.args.Has("codepage")) {
    long long codePage = 0;
    if (!TryParseInt(context.args.Get("codepage"), codePage) || codePage <= 0 || codePage > 65535)
      Fail("Nieprawidłowa strona kodowa: %s", context.args.Get("codepage"));
    options.defaultCodePage = static_cast<int>(codePage);
  }
  options.warn = [](const std::string& text) { std::cerr << "Ostrzeżenie: " << text << '\n'; };
  px::ParadoxTable table = px::ParadoxTable::Open(context.args.positional[0], options);
  const px::TableHeader& h = table.Header();

  std::cout << "Plik: " << h.fileName << '\n';
  std::cout << "Wersja pliku: " << h.fileVersion << " (" << VersionName(h.fileVersion) << ")\n";
  std::cout << "Strona kodowa: " << h.codePage;
  if (h.headerCodePage == 0)
    std::cout << " (domyślna; nagłówek jej nie podaje)";
  else if (h.headerCodePage != h.codePage)
    std::cout << " (nagłówek podaje " << h.headerCodePage << ")";
  std::cout << '\n';
  std::cout << "Liczba rekordów: " << h.recordCount;
  if (h.recordCount != h.headerRecordCount) std::cout << " (nagłówek podaje " << h.headerRecordCount << ")";
  std::cout << '\n';
  std::cout << "Klucz główny: " << (h.keyed ? Format("tak, liczba pól klucza: %d", h.keyFieldCount) : std::string("brak")) << '\n';
  std::cout << "Rozmiar bloku: " << h.blockSize << '\n';
  std::cout << "Chroniona hasłem: " << (h.encrypted ? "tak" : "nie") << '\n';
  std::cout << "Pola (nazwa, typ, rozmiar):\n";
  for (const px::FieldDef& field : h.fields) {
    std::cout << "  " << field.name << '\t' << px::FieldTypeName(field.type) << '\t' << field.size;
    if (field.type == px::FieldType::Bcd) std::cout << " miejsc po przecinku";
    std::cout << '\n';
  }
  return 0;
}

}  // namespace

std::vector<Command> ParadoxCommands() {
  return {{"db info", "velkar db info TABELA [--codepage N]", {"codepage"}, {}, RunDbInfo}};
}

}  // namespace velkar::cli
