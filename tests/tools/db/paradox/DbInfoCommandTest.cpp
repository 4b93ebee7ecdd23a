// `velkar db info`: the header of a table as the command line prints it.
#include <gtest/gtest.h>

#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/paradox/TableBuilder.h"

using namespace velkar::test::paradox;
using velkar::test::RunProgram;

namespace {
const std::string kExe = VELKAR_EXE;
}

TEST(ParadoxDbInfoCommand, PrintsVersionCodePageCountAndEveryField) {
  velkar::test::TempDir dir;
  TableBuilder builder(12);
  builder.CodePage(1250).KeyFields(1).Field("Numer", 0x04, 4).Field("Nazwa kontrahenta \xB3", 0x01, 40)
      .Field("Kwota", 0x17, 2).Field("Uwagi", 0x0C, 30);
  for (int i = 0; i < 3; ++i) builder.Record(Long(i) + Alpha("a", 40) + Bcd("1", 2) + Blank(30));
  dir.Write("Rejestr.DB", builder.Build());
  auto r = RunProgram(kExe, {"db", "info", dir.File("rejestr")});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.err, "");
  EXPECT_EQ(r.out, "Plik: " + dir.File("Rejestr.DB") +
                       "\nWersja pliku: 12 (Paradox 7.x)\nStrona kodowa: 1250\nLiczba rekordów: 3\nKlucz główny: tak, liczba pól klucza: 1\n"
                       "Rozmiar bloku: 2048\nChroniona hasłem: nie\nPola (nazwa, typ, rozmiar):\n  Numer\tLong\t4\n"
                       "  Nazwa kontrahenta ł\tAlpha\t40\n  Kwota\tBCD\t2 miejsc po przecinku\n  Uwagi\tMemo\t30\n");
}

TEST(ParadoxDbInfoCommand, A35TableShowsTheDefaultCodePageAndHeaderDisagreements) {
  velkar::test::TempDir dir;
  TableBuilder builder(4);
  builder.Field("Data", 0x02, 4).Record(Date(2024, 1, 31));
  std::string file = builder.Build();
  PutU32(file, 0x06, 7);
  dir.Write("t.db", file);
  auto r = RunProgram(kExe, {"db", "info", dir.File("t.db"), "--codepage", "437"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Wersja pliku: 4 (Paradox 3.5)\nStrona kodowa: 437 (domyślna; nagłówek jej nie podaje)\n"
                       "Liczba rekordów: 1 (nagłówek podaje 7)\nKlucz główny: brak\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.err.find("Ostrzeżenie: Tabela " + dir.File("t.db") + ": nagłówek podaje rekordów: 7"), std::string::npos) << r.err;
}

TEST(ParadoxDbInfoCommand, MissingAndDamagedTablesExitWithOneAndAPolishMessage) {
  velkar::test::TempDir dir;
  auto missing = RunProgram(kExe, {"db", "info", dir.File("brak")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "Brak tabeli " + dir.File("brak") + "\n");
  dir.Write("zly.db", std::string(0x100, '\x01'));
  auto damaged = RunProgram(kExe, {"db", "info", dir.File("zly")});
  EXPECT_EQ(damaged.exitCode, 1);
  EXPECT_EQ(damaged.err, "Plik " + dir.File("zly.db") + " nie jest tabelą Paradox (nieznana wersja pliku: 1)\n");
  EXPECT_EQ(damaged.out, "");
}
