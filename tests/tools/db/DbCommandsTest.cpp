// `velkar db dump` and `velkar db query`, run as a bookkeeper runs them: CSV on standard
// output, Polish errors on standard error with exit code 1.
#include <gtest/gtest.h>
#include <shapefil.h>

#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"

using namespace velkar;
using test::PxDate;
using test::PxType;
using test::RunProgram;

namespace {

const std::string kExe = VELKAR_EXE;

class DbCommandsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteParadoxTable(dir.File("REG.db"),
                            {{"Number", PxType::Long}, {"SaleDate", PxType::Date}, {"Name", PxType::Alpha, 30},
                             {"Net", PxType::Currency}, {"Paid", PxType::Logical}},
                            {{1LL, PxDate{"2024-03-01"}, "Kowalski, Jan", 12.5, true},
                             {2LL, PxDate{"2024-04-02"}, "Firma \"Łódź\"", -3.0, false},
                             {3LL, {}, {}, {}, {}}});
  }
  test::TempDir dir;
};

}  // namespace

TEST_F(DbCommandsTest, DumpPrintsTheTableAsCsvWithQuotedFields) {
  auto r = RunProgram(kExe, {"db", "dump", dir.File("REG")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Number,SaleDate,Name,Net,Paid\r\n"
            "1,2024-03-01,\"Kowalski, Jan\",12.5,True\r\n"
            "2,2024-04-02,\"Firma \"\"Łódź\"\"\",-3,False\r\n"
            "3,,,,\r\n");
  EXPECT_EQ(r.err, "");
}

TEST_F(DbCommandsTest, DumpHonoursTheFilterAndTheFieldList) {
  auto r = RunProgram(kExe, {"db", "dump", "REG.db", "--filter", "(SaleDate >= 2024-03-01) and (SaleDate <= 2024-03-31)",
                             "--fields", "name, NUMBER"},
                      dir.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Name,Number\r\n\"Kowalski, Jan\",1\r\n");
}

TEST_F(DbCommandsTest, DumpReadsDbaseTables) {
  DBFHandle dbf = DBFCreateEx(dir.File("B5SPEX24.dbf").c_str(), "LDID/105");
  DBFAddNativeFieldType(dbf, "NA1", 'C', 10, 0);
  DBFAddNativeFieldType(dbf, "NET", 'N', 10, 2);
  DBFAddNativeFieldType(dbf, "DAW", 'D', 8, 0);
  DBFWriteAttributeDirectly(dbf, 0, 0, const_cast<char*>("\x9C\xA2\x64\xA6"));
  DBFWriteAttributeDirectly(dbf, 0, 1, const_cast<char*>("     12.50"));
  DBFWriteAttributeDirectly(dbf, 0, 2, const_cast<char*>("20240315"));
  DBFClose(dbf);
  auto r = RunProgram(kExe, {"db", "dump", dir.File("B5SPEX24.dbf")});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "NA1,NET,DAW\r\nŁódź,12.5,2024-03-15\r\n");
}

TEST_F(DbCommandsTest, DumpTakesTheCodePageOfTablesThatNameNone) {
  test::WriteParadoxTable(dir.File("Stara.db"), {{"Name", PxType::Alpha, 10}}, {{"Łódź"}}, 0);
  auto byDefault = RunProgram(kExe, {"db", "dump", dir.File("Stara")});  // 852: another text
  ASSERT_EQ(byDefault.exitCode, 0) << byDefault.err;
  EXPECT_NE(byDefault.out, "Name\r\nŁódź\r\n");
  auto named = RunProgram(kExe, {"db", "dump", dir.File("Stara"), "--codepage", "1250"});
  ASSERT_EQ(named.exitCode, 0) << named.err;
  EXPECT_EQ(named.out, "Name\r\nŁódź\r\n");
  auto bad = RunProgram(kExe, {"db", "dump", dir.File("Stara"), "--codepage", "x"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.err, "Nieprawidłowa strona kodowa: x\n");
}

TEST_F(DbCommandsTest, DumpErrorsNameTheTableOrField) {
  auto missing = RunProgram(kExe, {"db", "dump", dir.File("Brak")});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "Brak tabeli " + dir.File("Brak.db") + "\n");
  EXPECT_EQ(missing.out, "");

  auto field = RunProgram(kExe, {"db", "dump", dir.File("REG"), "--fields", "Number,Kwota"});
  EXPECT_EQ(field.exitCode, 1);
  EXPECT_EQ(field.err, "Brak pola \"Kwota\" w tabeli " + dir.File("REG") + "\n");

  auto filter = RunProgram(kExe, {"db", "dump", dir.File("REG"), "--filter", "SaleDate >= 2024-13-01"});
  EXPECT_EQ(filter.exitCode, 1);
  EXPECT_EQ(filter.err, "Błąd w filtrze tabeli " + dir.File("REG") +
                            ": niepoprawna data 2024-13-01 na pozycji 13 (filtr: SaleDate >= 2024-13-01)\n");

  dir.Write("Uszkodzona.db", std::string(3000, '\xFF'));
  auto corrupt = RunProgram(kExe, {"db", "dump", dir.File("Uszkodzona")});
  EXPECT_EQ(corrupt.exitCode, 1);
  EXPECT_NE(corrupt.err.find("Uszkodzona"), std::string::npos) << corrupt.err;
}

TEST_F(DbCommandsTest, QueryRunsAnSqlFileOverTheFolderWithParameters) {
  dir.Write("sql/suma.sql",
            "SELECT COUNT(*) AS \"Liczba\", SUM(Net) AS Netto, :Opis AS Opis\n"
            "FROM REG WHERE SaleDate >= :Od AND Number <> :Bez\n");
  auto r = RunProgram(kExe, {"db", "query", "--dir", dir.Path(), "sql/suma.sql", "--param", "Od=2024-01-01",
                             "--param", "Bez=2", "--param", "opis=a,b"},
                      dir.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Liczba,Netto,Opis\r\n1,12.5,\"a,b\"\r\n");

  auto unbound = RunProgram(
      kExe, {"db", "query", "--dir", dir.Path(), "sql/suma.sql", "--param", "Od=2024-01-01", "--param", "Opis=x"},
      dir.Path());
  EXPECT_EQ(unbound.exitCode, 1);
  EXPECT_EQ(unbound.err, "Brak wartości parametru Bez zapytania sql/suma.sql\n");

  auto unknown = RunProgram(kExe, {"db", "query", "--dir", dir.Path(), "sql/suma.sql", "--param", "Do=1"}, dir.Path());
  EXPECT_EQ(unknown.exitCode, 1);
  EXPECT_EQ(unknown.err, "Zapytanie sql/suma.sql nie ma parametru Do\n");

  auto noDir = RunProgram(kExe, {"db", "query", "sql/suma.sql"}, dir.Path());
  EXPECT_EQ(noDir.exitCode, 1);
  EXPECT_EQ(noDir.err, "Brak opcji --dir (folder tabel zapytania)\n");
}

// A long flat chain is no deep nesting for our parser, but SQLite's expression tree
// gets too deep: its English complaint comes out in the same Polish words.
TEST_F(DbCommandsTest, FilterTooDeepForSqliteIsTooComplexInPolish) {
  std::string chain = "Number = 1";
  for (int i = 0; i < 3000; ++i) chain += " or Number = 1";
  auto r = RunProgram(kExe, {"db", "dump", dir.File("REG"), "--filter", chain});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.starts_with("Wyrażenie filtra jest zbyt złożone")) << r.err.substr(0, 200);
}

// An endless recursive query used to run for ever, holding every row in memory.
TEST_F(DbCommandsTest, EndlessQueryStopsAtTheRowLimitAfterPrintingItsRows) {
  dir.Write("bez_konca.sql", "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT x FROM n\n");
  auto r = RunProgram(kExe, {"db", "query", "--dir", dir.Path(), "bez_konca.sql", "--limit", "3"}, dir.Path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "x\r\n1\r\n2\r\n3\r\n");
  EXPECT_EQ(r.err, "Zapytanie bez_konca.sql zwróciło więcej niż 3 wierszy; wypisano pierwsze 3 (opcja --limit)\n");

  auto bad = RunProgram(kExe, {"db", "query", "--dir", dir.Path(), "bez_konca.sql", "--limit", "0"}, dir.Path());
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_TRUE(bad.err.starts_with("Nieprawidłowa wartość opcji --limit: 0")) << bad.err;
}

TEST_F(DbCommandsTest, EndlessQueryWithoutRowsStopsAtTheTimeLimit) {
  dir.Write("liczy.sql",
            "WITH RECURSIVE n(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM n) SELECT count(*) AS ile FROM n\n");
  auto r = RunProgram(kExe, {"db", "query", "--dir", dir.Path(), "liczy.sql", "--timeout", "1"}, dir.Path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out, "ile\r\n");
  EXPECT_EQ(r.err, "Zapytanie liczy.sql trwało dłużej niż 1 s i zostało przerwane (opcja --timeout)\n");
}

// "NaN" was bound as NULL, "inf" as an infinity and "+-5" as -5.
TEST_F(DbCommandsTest, OnlyPlainDecimalParametersAreBoundAsNumbers) {
  dir.Write("typ.sql", "SELECT typeof(:v) AS t, :v AS v\n");
  auto run = [&](const std::string& value) {
    auto r = RunProgram(kExe, {"db", "query", "--dir", dir.Path(), "typ.sql", "--param", "v=" + value}, dir.Path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    return r.out.substr(std::string("t,v\r\n").size());
  };
  EXPECT_EQ(run("Nan"), "text,Nan\r\n");
  EXPECT_EQ(run("inf"), "text,inf\r\n");
  EXPECT_EQ(run("+-5"), "text,+-5\r\n");
  EXPECT_EQ(run("1e3"), "text,1e3\r\n");
  EXPECT_EQ(run("-12"), "integer,-12\r\n");
  EXPECT_EQ(run("2.50"), "real,2.5\r\n");
  EXPECT_EQ(run("99999999999999999999"), "text,99999999999999999999\r\n");
}

TEST_F(DbCommandsTest, SqliteErrorsComeInPolishWithTheirDetail) {
  dir.Write("funkcja.sql", "SELECT brak_takiej(1) AS x\n");
  auto function = RunProgram(kExe, {"db", "query", "--dir", dir.Path(), "funkcja.sql"}, dir.Path());
  EXPECT_EQ(function.exitCode, 1);
  EXPECT_NE(function.err.find(": nieznana funkcja (no such function: brak_takiej)"), std::string::npos) << function.err;
  dir.Write("duzy.sql", "SELECT zeroblob(2000000000) AS x\n");
  auto big = RunProgram(kExe, {"db", "query", "--dir", dir.Path(), "duzy.sql"}, dir.Path());
  EXPECT_EQ(big.exitCode, 1);
  EXPECT_NE(big.err.find(": tekst lub dane są za duże (string or blob too big)"), std::string::npos) << big.err;
}

// Visual FoxPro types were printed as garbage text.
TEST_F(DbCommandsTest, DbaseFieldTypesNotDecodedAreReportedAsSuch) {
  DBFHandle dbf = DBFCreateEx(dir.File("FOX.dbf").c_str(), "LDID/105");
  DBFAddNativeFieldType(dbf, "NA1", 'C', 10, 0);
  DBFAddNativeFieldType(dbf, "KWOTA", 'Y', 8, 4);
  DBFWriteAttributeDirectly(dbf, 0, 0, const_cast<char*>("abc"));
  DBFWriteAttributeDirectly(dbf, 0, 1, const_cast<char*>("\x01\x02\x03\x04\x05\x06\x07\x08"));
  DBFClose(dbf);
  auto r = RunProgram(kExe, {"db", "dump", dir.File("FOX.dbf")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Tabela " + dir.File("FOX.dbf") + ": pole KWOTA: typ Y nieobsługiwany\n");
  EXPECT_EQ(r.out, "");
}

// shapelib's "fread(70) failed on DBF file." reached the terminal on its own.
TEST_F(DbCommandsTest, TruncatedDbaseTableIsReportedInPolishOnly) {
  DBFHandle dbf = DBFCreateEx(dir.File("CIETA.dbf").c_str(), "LDID/105");
  DBFAddNativeFieldType(dbf, "NA1", 'C', 10, 0);
  DBFClose(dbf);
  std::string whole = test::ReadFile(dir.File("CIETA.dbf"));
  dir.Write("CIETA.dbf", whole.substr(0, 40));
  auto r = RunProgram(kExe, {"db", "dump", dir.File("CIETA.dbf")});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.starts_with("Nie można odczytać tabeli dBASE " + dir.File("CIETA.dbf"))) << r.err;
  EXPECT_EQ(r.err.find("\n"), r.err.size() - 1) << r.err;  // one line: nothing printed beside it
}
