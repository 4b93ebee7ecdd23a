// `velkar v7m generate` on the sample databases of the three programs: valid files whose
// row counts and tax totals agree with a computation of their own over the same tables
// (SQL through `velkar db query`), and the exact messages and exit codes of failures.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>

#include "base/Error.h"
#include "base/Text.h"
#include "jpkfiles/SchemaValidation.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using namespace velkar::test;

namespace {

// The sample company's databases, written once for the whole suite.
class GenerateCommandTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    dir_ = new TempDir();
    CommandResult made = RunProgram(VELKAR_SAMPLES_EXE, {"bazy"}, dir_->Path());
    ASSERT_EQ(made.exitCode, 0) << made.err;
    std::string ini = ReadFile(std::string(VELKAR_SOURCE_DIR) + "/samples/demo-db.ini");
    std::ofstream(dir_->File("demo-db.ini")) << ini;
    std::ofstream(dir_->File("stary.ini")) << ReplaceAll(ini, "TulvoDir=bazy/Tulvo/", "TulvoDir=bazy/TulvoStary/");
  }
  static void TearDownTestSuite() {
    delete dir_;
    dir_ = nullptr;
  }

  static CommandResult Velkar(std::vector<std::string> args, const std::string& ini = "demo-db.ini") {
    args.push_back("--ini");
    args.push_back(ini);
    return RunProgram(VELKAR_EXE, args, dir_->Path());
  }

  // The lines "Label: value" the command prints.
  static std::map<std::string, std::string> Printed(const std::string& out) {
    std::map<std::string, std::string> values;
    for (const std::string& line : SplitLines(out)) {
      size_t colon = line.find(": ");
      if (colon != std::string::npos) values[line.substr(0, colon)] = line.substr(colon + 2);
    }
    return values;
  }

  // One row of numbers from an SQL query over a folder's tables, as "%.2f" texts.
  static std::vector<std::string> Query(const std::string& folder, const std::string& sql) {
    std::ofstream(dir_->File("q.sql")) << sql;
    CommandResult r = RunProgram(VELKAR_EXE, {"db", "query", "--dir", folder, "q.sql"}, dir_->Path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    std::vector<std::string> lines = SplitLines(r.out);
    std::vector<std::string> values;
    if (lines.size() < 2) return values;
    size_t start = 0;
    std::string line = lines[1] + ",";
    for (size_t comma; (comma = line.find(',', start)) != std::string::npos; start = comma + 1)
      values.push_back(Format("%.2f", std::stod(line.substr(start, comma - start))));
    return values;
  }

  static std::string Money(const std::string& text) { return Format("%.2f", std::stod(text)); }

  // Generates, checks the file against the schema and compares the printed register with
  // the independent counts and totals {sales, sale tax, purchases, purchase tax}.
  void ExpectGenerated(const std::string& source, const std::string& ini, const std::vector<std::string>& expected) {
    std::string out = dir_->File(source + "-" + ini + ".xml");
    CommandResult r = Velkar({"v7m", "generate", "--from", source, "--month", "2024-03", "--declaration", "--yes",
                              "-o", out}, ini);
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(r.out.find("Zapisano plik " + out + "\n"), std::string::npos) << r.out;
    JpkValidation validation = ValidateJpkFile(out);
    EXPECT_TRUE(validation.violations.empty()) << (validation.violations.empty() ? "" : DescribeViolation(validation.violations[0]));
    std::map<std::string, std::string> printed = Printed(r.out);
    ASSERT_EQ(expected.size(), 4u);
    EXPECT_EQ(Money(printed["Liczba wierszy sprzedaży"]), expected[0]);
    EXPECT_EQ(Money(printed["Suma podatku należnego"]), expected[1]);
    EXPECT_EQ(Money(printed["Liczba wierszy zakupów"]), expected[2]);
    EXPECT_EQ(Money(printed["Suma podatku naliczonego"]), expected[3]);
    EXPECT_NE(ReadFile(out).find("<Deklaracja>"), std::string::npos);
  }

  static TempDir* dir_;
};

TempDir* GenerateCommandTest::dir_ = nullptr;

TEST_F(GenerateCommandTest, FennikAgreesWithItsRegister) {
  std::vector<std::string> sales = Query("bazy/Fennik/2024",
                                         "SELECT COUNT(*), TOTAL(CASE WHEN TypDokumentu = 'FP' THEN 0 ELSE "
                                         "Vat3 + Vat7 + Vat22 END) FROM Register WHERE VATMonth = 3 AND RegId < 128");
  std::vector<std::string> purchases = Query(
      "bazy/Fennik/2024", "SELECT COUNT(*), TOTAL(Vat3 + Vat7 + Vat22) FROM Register WHERE VATMonth = 3 AND RegId >= 128");
  ASSERT_EQ(sales.size(), 2u);
  ASSERT_EQ(purchases.size(), 2u);
  ExpectGenerated("fennik", "demo-db.ini", {sales[0], sales[1], purchases[0], purchases[1]});
}

TEST_F(GenerateCommandTest, TulvoNewerLayoutAgreesWithItsRegister) {
  const std::string where = " FROM Register WHERE VatPeriod = 3 AND RegType = ";
  std::vector<std::string> sales = Query(
      "bazy/Tulvo/2024",
      "SELECT COUNT(*), TOTAL(CASE WHEN TypDokumentu = 'FP' THEN 0 ELSE VatA + VatB + VatD END)" + where + "0");
  std::vector<std::string> purchases = Query("bazy/Tulvo/2024", "SELECT COUNT(*), TOTAL(VatA + VatB + VatD)" + where + "128");
  ASSERT_EQ(sales.size(), 2u);
  ExpectGenerated("tulvo", "demo-db.ini", {sales[0], sales[1], purchases[0], purchases[1]});
}

TEST_F(GenerateCommandTest, TulvoOlderLayoutAgreesWithItsNineTables) {
  auto all = [](std::vector<const char*> tables, const std::string& tax) {
    std::string sql;
    for (const char* table : tables)
      sql += std::string(sql.empty() ? "" : " UNION ALL ") + "SELECT TypDokumentu, " + tax + " AS Tax FROM " + table +
             " WHERE \"Period Id\" = 12415";
    return "SELECT COUNT(*), TOTAL(CASE WHEN TypDokumentu = 'FP' THEN 0 ELSE Tax END) FROM (" + sql + ")";
  };
  std::vector<std::string> sales =
      Query("bazy/TulvoStary/2024", all({"REGS", "REGSKOR", "REGSU"}, "\"VAT 3\" + \"VAT 7\" + \"VAT 22\""));
  std::vector<std::string> purchases =
      Query("bazy/TulvoStary/2024", all({"REGB1", "REGB", "REGB2", "REGBKOR", "REGBA", "REGBP"}, "VAT"));
  ASSERT_EQ(sales.size(), 2u);
  ExpectGenerated("tulvo", "stary.ini", {sales[0], sales[1], purchases[0], purchases[1]});
}

TEST_F(GenerateCommandTest, GradmoAgreesWithItsRegister) {
  // Sales: the sales classes without flag 8, and cancelled receipts (class 6, flag 8) as
  // negative rows; exports and EU supplies carry no tax element; invoices to receipts (FP)
  // count nothing. Purchases: classes 128 and 129 without flags 2 and 8, half with flag 64.
  const std::string march = " AND Date >= '2024-03-01' AND Date <= '2024-03-31'";
  std::vector<std::string> sales = Query(
      "bazy/Gradmo",
      "SELECT COUNT(*), TOTAL(CASE WHEN Class IN (2, 3, 22, 23, 4, 5) OR (Flags & 16) <> 0 THEN 0 "
      "WHEN Class = 6 THEN -(Tax3 + Tax7 + Tax22) ELSE Tax3 + Tax7 + Tax22 END) FROM \"24_03REG\" WHERE "
      "((Class IN (0, 1, 2, 3, 4, 5, 7, 22, 23, 50, 51) AND (Flags & 8) = 0) OR (Class = 6 AND (Flags & 8) <> 0))" +
          march);
  std::vector<std::string> purchases =
      Query("bazy/Gradmo",
            "SELECT COUNT(*), TOTAL(CASE WHEN (Flags & 64) <> 0 THEN ROUND(TotalTax / 2 + 0.0000001, 2) ELSE TotalTax "
            "END) FROM \"24_03REG\" WHERE Class IN (128, 129) AND (Flags & 10) = 0" + march);
  ASSERT_EQ(sales.size(), 2u);
  ExpectGenerated("gradmo", "demo-db.ini", {sales[0], sales[1], purchases[0], purchases[1]});
}

TEST_F(GenerateCommandTest, RowsGoIntoTheFileOfInto) {
  std::string base = dir_->File("baza.xml");
  ASSERT_EQ(Velkar({"v7m", "generate", "--from", "fennik", "--month", "2024-03", "--no-purchases", "--yes", "-o", base}).exitCode, 0);
  std::string merged = dir_->File("razem.xml");
  CommandResult r = Velkar({"v7m", "generate", "--from", "fennik", "--month", "2024-03", "--no-sales", "--yes", "--into", base,
                            "-o", merged});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::map<std::string, std::string> printed = Printed(r.out);
  EXPECT_NE(printed["Liczba wierszy sprzedaży"], "0");
  EXPECT_NE(printed["Liczba wierszy zakupów"], "0");
  EXPECT_TRUE(ValidateJpkFile(merged).violations.empty());
}

TEST_F(GenerateCommandTest, WithoutOutputTheProposedNameIsUsed) {
  std::filesystem::create_directories(dir_->File("out"));
  CommandResult r = Velkar({"v7m", "generate", "--from", "fennik", "--month", "2024-02", "--correction", "--yes"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Zapisano plik out/2024-02_JPK_V7M_wrzos.xml\n"), std::string::npos) << r.out;
  std::string written = ReadFile(dir_->File("out/2024-02_JPK_V7M_wrzos.xml"));
  EXPECT_NE(written.find("<CelZlozenia poz=\"P_7\">2</CelZlozenia>"), std::string::npos);
}

TEST_F(GenerateCommandTest, ARefusedNipQuestionEndsWithoutAFile) {
  std::string out = dir_->File("odmowa.xml");
  CommandResult r = Velkar({"v7m", "generate", "--from", "gradmo", "--month", "2024-03", "-o", out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.err.ends_with("\nKontynuować?\nWczytywanie przerwano\n")) << r.err;
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(GenerateCommandTest, AMissingRegisterEndsWithTheEnginesMessage) {
  std::string out = dir_->File("brak.xml");
  CommandResult r = Velkar({"v7m", "generate", "--from", "fennik", "--month", "2022-03", "-o", out});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Brak tabeli bazy/Fennik/2022/Register.db\n");
  EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(GenerateCommandTest, WrongOptionsAreRefused) {
  CommandResult from = Velkar({"v7m", "generate", "--from", "excel", "--month", "2024-03"});
  EXPECT_EQ(from.exitCode, 1);
  EXPECT_EQ(from.err, "Niepoprawna wartość opcji --from: excel (dozwolone: gradmo, tulvo, fennik)\n");
  CommandResult month = Velkar({"v7m", "generate", "--from", "gradmo", "--month", "2024-13"});
  EXPECT_EQ(month.exitCode, 1);
  EXPECT_EQ(month.err, "Niepoprawny miesiąc: 2024-13 (oczekiwano RRRR-MM)\n");
  CommandResult none = Velkar({"v7m", "generate", "--month", "2024-03"});
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_TRUE(none.err.starts_with("Użycie: velkar v7m generate --from gradmo|tulvo|fennik")) << none.err;
}

}  // namespace
