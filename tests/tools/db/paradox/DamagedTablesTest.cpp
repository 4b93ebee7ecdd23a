// Damaged, truncated and password-protected tables: each gives a Polish error naming the
// table, never a crash, an overread or an endless loop.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Error.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/paradox/ReadHelpers.h"
#include "tests/tools/db/paradox/TableBuilder.h"
#include "tools/db/paradox/ParadoxTable.h"

using namespace velkar::test::paradox;
using velkar::db::paradox::ParadoxTable;
using Rows = std::vector<std::string>;

namespace {

// Opens and reads the whole table; the error text, or "" when it reads.
std::string ReadError(const std::string& file, std::optional<std::string> memo = std::nullopt) {
  try {
    auto table = ParadoxTable::OpenBytes("t.db", file, std::move(memo));
    ReadAll(table);
  } catch (const velkar::Error& error) {
    return error.what();
  }
  return "";
}

// Two fields (Long, Alpha 12), 20 records in 2 KiB blocks of 8 records: chain 1 → 2 → 3.
std::string Sample(int version = 12) {
  TableBuilder builder(version);
  builder.Field("Id", 0x04, 4).Field("Name", 0x01, 12).RecordsPerBlock(8);
  for (int i = 1; i <= 20; ++i) builder.Record(Long(i) + Alpha("x", 12));
  return builder.Build();
}

std::size_t Block(int number) { return 0x800 + static_cast<std::size_t>(number - 1) * 0x800; }

}  // namespace

TEST(ParadoxDamagedTables, EachHeaderDamageHasItsOwnMessage) {
  struct Case {
    std::string what;
    std::function<void(std::string&)> damage;
    std::string message;
  };
  const std::string damaged = "Tabela t.db jest uszkodzona: ";
  const Case cases[] = {
      {"short file", [](std::string& f) { f.resize(0x57); }, "Plik t.db nie jest tabelą Paradox (jest krótszy niż nagłówek)"},
      {"version", [](std::string& f) { f[0x39] = 2; }, "Plik t.db nie jest tabelą Paradox (nieznana wersja pliku: 2)"},
      {"version 13", [](std::string& f) { f[0x39] = 13; }, "Plik t.db nie jest tabelą Paradox (nieznana wersja pliku: 13)"},
      {"short late header", [](std::string& f) { f.resize(0x60); }, "Plik t.db nie jest tabelą Paradox (jest krótszy niż nagłówek)"},
      {"index file", [](std::string& f) { f[0x04] = 1; }, "Plik t.db jest plikiem indeksu Paradox, nie tabelą"},
      {"secondary index", [](std::string& f) { f[0x04] = 8; }, "Plik t.db jest plikiem indeksu Paradox, nie tabelą"},
      {"file type", [](std::string& f) { f[0x04] = 9; }, "Plik t.db nie jest tabelą Paradox (nieznany rodzaj pliku: 9)"},
      {"block size 0", [](std::string& f) { f[0x05] = 0; }, damaged + "nieprawidłowy rozmiar bloku (kod 0)"},
      {"block size 33", [](std::string& f) { f[0x05] = 33; }, damaged + "nieprawidłowy rozmiar bloku (kod 33)"},
      {"header size small", [](std::string& f) { PutU16(f, 0x02, 0x70); }, damaged + "nieprawidłowy rozmiar nagłówka (112 bajtów)"},
      {"header size big", [](std::string& f) { PutU16(f, 0x02, 0xF000); }, damaged + "nieprawidłowy rozmiar nagłówka (61440 bajtów)"},
      {"no fields", [](std::string& f) { PutU16(f, 0x21, 0); }, damaged + "nieprawidłowa liczba pól (0)"},
      {"256 fields", [](std::string& f) { PutU16(f, 0x21, 256); }, damaged + "nieprawidłowa liczba pól (256)"},
      {"fields beyond header", [](std::string& f) { PutU16(f, 0x21, 255), PutU16(f, 0x02, 0x700); }, damaged + "nagłówek jest za krótki na opis pól"},
      {"type", [](std::string& f) { f[0x78] = 0x07; }, damaged + "pole nr 1 ma nieznany typ (0x07)"},
      {"fixed size", [](std::string& f) { f[0x79] = 2; }, damaged + "pole nr 1 ma nieprawidłowy rozmiar (2)"},
      {"alpha size", [](std::string& f) { f[0x7B] = 0; }, damaged + "pole nr 2 ma nieprawidłowy rozmiar (0)"},
      {"record size", [](std::string& f) { PutU16(f, 0x00, 17); }, damaged + "rozmiar rekordu (17) nie zgadza się z sumą rozmiarów pól (16)"},
      {"key fields", [](std::string& f) { PutU16(f, 0x23, 3); }, damaged + "nieprawidłowa liczba pól klucza (3)"},
      {"unterminated name", [](std::string& f) { std::fill(f.begin() + 0x18D, f.begin() + 0x800, 'a'); },
       damaged + "nazwa pola nr 1 wychodzi poza nagłówek"},
      {"empty name", [](std::string& f) { f[0x18D] = 0; }, damaged + "pole nr 1 nie ma nazwy"},
      {"file blocks", [](std::string& f) { PutU16(f, 0x0C, 4); },
       "Tabela t.db jest niekompletna: nagłówek podaje 4 bloków, a plik jest krótszy"},
      {"truncated", [](std::string& f) { f.resize(f.size() - 1); },
       "Tabela t.db jest niekompletna: nagłówek podaje 3 bloków, a plik jest krótszy"},
      {"first block", [](std::string& f) { PutU16(f, 0x0E, 4); }, damaged + "nieprawidłowy numer pierwszego bloku (4)"},
      {"first block 0", [](std::string& f) { PutU16(f, 0x0E, 0); }, damaged + "nieprawidłowy numer pierwszego bloku (0)"},
      {"next out of range", [](std::string& f) { PutU16(f, Block(2), 0xFFFF); },
       damaged + "łańcuch bloków wskazuje nieistniejący blok 65535"},
      {"chain loop", [](std::string& f) { PutU16(f, Block(3), 1); }, damaged + "łańcuch bloków zapętla się (blok 1)"},
      {"self loop", [](std::string& f) { PutU16(f, Block(1), 1); }, damaged + "łańcuch bloków zapętla się (blok 1)"},
      {"record offset odd", [](std::string& f) { PutU16(f, Block(2) + 4, 17); }, damaged + "blok 2 ma nieprawidłową liczbę rekordów"},
      {"record offset beyond block", [](std::string& f) { PutU16(f, Block(2) + 4, 128 * 16); },
       damaged + "blok 2 ma nieprawidłową liczbę rekordów"},
      {"record offset negative", [](std::string& f) { PutU16(f, Block(2) + 4, 0xFFFE); },
       damaged + "blok 2 ma nieprawidłową liczbę rekordów"},
  };
  for (const Case& c : cases) {
    std::string file = Sample();
    c.damage(file);
    EXPECT_EQ(ReadError(file), c.message) << c.what;
  }
}

TEST(ParadoxDamagedTables, RecordAndBlockSizesMustFitTogether) {
  TableBuilder builder;
  builder.BlockSizeKiB(1).Field("A", 0x01, 255).Field("B", 0x01, 255).Field("C", 0x01, 255).Field("D", 0x01, 255)
      .Field("E", 0x01, 5);
  EXPECT_EQ(ReadError(builder.Build()), "Tabela t.db jest uszkodzona: rekord (1025 bajtów) nie mieści się w bloku (1024 bajtów)");
}

TEST(ParadoxDamagedTables, EveryTruncationOfATableWithMemosIsAnErrorOrAShorterRead) {
  MemoBuilder memo;
  const std::string note = "notatka dluzsza niz jej miejsce w rekordzie";
  std::uint32_t pointer = memo.AddSmall(note);
  TableBuilder builder(4);
  builder.BlockSizeKiB(1).Field("Id", 0x03, 2).Field("Opis", 0x0C, 15).Field("Kwota", 0x17, 2);
  for (int i = 0; i < 200; ++i) builder.Record(Short(i) + BlobField("notat", 5, pointer, static_cast<std::uint32_t>(note.size())) + Bcd("1.25", 2));
  std::string file = builder.Build();
  for (std::size_t size = 0; size < file.size(); size += size < 0x200 ? 1 : 97) {
    std::string cut = file.substr(0, size);
    EXPECT_NE(ReadError(cut, memo.Bytes()), "") << size;
  }
  for (std::size_t size = 0; size < memo.Bytes().size(); size += 61) {
    EXPECT_NE(ReadError(file, memo.Bytes().substr(0, size)), "") << size;
  }
  EXPECT_EQ(ReadError(file, memo.Bytes()), "");
}

TEST(ParadoxDamagedTables, EveryByteOfTheHeaderMayBeDamagedWithoutACrash) {
  // Each header byte set to each of a few values: the table opens and reads, or gives an error.
  const std::string file = Sample(9);
  for (std::size_t at = 0; at < 0x200; ++at) {
    for (int value : {0x00, 0x01, 0x7F, 0x80, 0xFF}) {
      std::string damaged = file;
      damaged[at] = static_cast<char>(value);
      std::string error = ReadError(damaged);
      if (!error.empty()) {
        EXPECT_NE(error.find("t.db"), std::string::npos) << error;
      }
    }
  }
}

TEST(ParadoxDamagedTables, PasswordProtectedTablesOpenButRefuseTheirRecords) {
  for (int version : {4, 12}) {
    TableBuilder builder(version);
    builder.Field("Id", 0x04, 4).Record(Long(1)).Encrypted();
    std::string file = builder.Build();
    auto table = ParadoxTable::OpenBytes("t.db", file, std::nullopt);
    EXPECT_TRUE(table.Header().encrypted);
    EXPECT_EQ(table.Header().fields.at(0).name, "Id");
    EXPECT_EQ(ReadError(file), "Tabela t.db jest chroniona hasłem; usuń hasło w programie, do którego należy tabela");
  }
}

TEST(ParadoxDamagedTables, AMismatchedBackPointerIsReportedButTheChainIsRead) {
  std::string file = Sample();
  PutU16(file, Block(3) + 2, 1);
  Collected collected;
  auto table = ParadoxTable::OpenBytes("t.db", file, std::nullopt, collected.Options());
  EXPECT_EQ(ReadAll(table).size(), 20u);
  ASSERT_FALSE(collected.warnings.empty());
  EXPECT_EQ(collected.warnings[0], "Tabela t.db: blok 3 nie wskazuje wstecz na blok 2; odczyt idzie dalej za łańcuchem");
}

TEST(ParadoxDamagedTables, ATableFileCutShortAfterOpeningGivesAnErrorOnReading) {
  velkar::test::TempDir dir;
  std::string path = dir.Write("t.db", Sample());
  auto table = ParadoxTable::Open(path);
  std::filesystem::resize_file(path, 0x800 + 0x900);
  try {
    ReadAll(table);
    FAIL() << "no error";
  } catch (const velkar::Error& error) {
    EXPECT_EQ(std::string(error.what()), "Tabela " + path + " jest niekompletna: blok 2 wychodzi poza koniec pliku");
  }
}
