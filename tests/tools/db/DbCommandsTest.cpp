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
