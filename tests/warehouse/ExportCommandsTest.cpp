// `velkar export`, run as a user runs it: the written files, the default names, the
// answers to the save question, and the Polish messages with exit code 1.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Paths.h"
#include "tests/model/SchemaCheck.h"
#include "tests/support/RunCommand.h"
#include "tests/warehouse/GradmoFixture.h"

namespace velkar::test {
namespace {

const std::string kExe = VELKAR_EXE;
const std::string kConfig =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa\nEmail=biuro@firma.pl\nUSCode=1471\nNazwaSystemu=Velkar\n"
    "Miasto=Warszawa\nUlica=Prosta\nNrDomu=1\nKodPocztowy=00-001\nPoczta=Warszawa\nWojewodztwo=mazowieckie\n"
    "Powiat=Warszawa\nGmina=Warszawa\nCurDate=2024-01-15\nQorDataDir=db/\nUserDir=db/\nSaveDir=out\nNameSufix=_test\nNetFileDir=net/\n";

class ExportCommandsTest : public ::testing::Test {
 protected:
  ExportCommandsTest() {
    dir.Write("firma.ini", kConfig);
    std::filesystem::create_directories(dir.File("db"));
    std::filesystem::create_directories(dir.File("out"));
    std::filesystem::create_directories(dir.File("net"));
    GradmoDb db;
    db.customers = {{10, "ŻURAW", "Hurtownia „Żuraw”", "7255260182", "ul. Piotrkowska", "112", "90-006", "Łódź", 10}};
    GDoc invoice;
    invoice.name = "FV 1/03/2024";
    invoice.user = 10;
    invoice.payInfo = 2;
    invoice.payDelay = 14;
    invoice.reg.user = invoice.reg.payer = 10;
    invoice.reg.value = 123;
    invoice.reg.value22 = 100;
    invoice.reg.tax22 = 23;
    invoice.reg.totalTax = 23;
    invoice.reg.costValue = 50;
    invoice.lines = {{"TOW", "T1", 0, 1, 123, 23}};
    db.docs = {invoice};
    db.Write(dir.File("db/"));
  }
  CommandResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), "--ini=firma.ini");
    return RunProgram(kExe, args, dir.Path());
  }
  TempDir dir;
};

TEST_F(ExportCommandsTest, JpkFilesGoToTheDefaultNamesOrToOutput) {
  CommandResult fa = Run({"export", "fa", "--month", "2024-03", "--yes"});
  ASSERT_EQ(fa.exitCode, 0) << fa.err;
  EXPECT_EQ(fa.out, "Zapisano plik out/2024-03_JPK_FA_test.xml\n");
  ASSERT_TRUE(FileExists(dir.File("out/2024-03_JPK_FA_test.xml")));
  if (CanValidate()) {
    EXPECT_EQ(SchemaErrors("fa4/Schemat_JPK_FA(4)_v1-0.xsd", dir.File("out/2024-03_JPK_FA_test.xml")), "");
  }
  CommandResult mag = Run({"export", "mag", "--month", "2024-03", "--yes", "-o", "m.xml"});
  ASSERT_EQ(mag.exitCode, 0) << mag.err;
  EXPECT_EQ(mag.out, "Zapisano plik m.xml\n");
  if (CanValidate()) {
    EXPECT_EQ(SchemaErrors("mag1/Schemat_JPK_MAG(1)_v1-0.xsd", dir.File("m.xml")), "");
  }
  EXPECT_NE(ReadFile(dir.File("m.xml")).find("<NumerWZ>WZ-FV 1/03/2024</NumerWZ>"), std::string::npos);
}

TEST_F(ExportCommandsTest, AnswerNoWritesNothing) {
  CommandResult r = Run({"export", "ramzes", "--month", "2024-03", "--no", "-o", "r.xml"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "");
  EXPECT_FALSE(FileExists(dir.File("r.xml")));
}

TEST_F(ExportCommandsTest, ExchangeFilesAndTheSymfoniaText) {
  CommandResult ramzes = Run({"export", "ramzes", "--month", "2024-03", "--yes"});
  ASSERT_EQ(ramzes.exitCode, 0) << ramzes.err;
  EXPECT_EQ(ramzes.out, "Zapisano plik out/2024-03_Gradmo2Ramzes_test.xml\n");
  EXPECT_NE(ReadFile(dir.File("out/2024-03_Gradmo2Ramzes_test.xml")).find("<dok_Numer>FV 1/03/2024</dok_Numer>"),
            std::string::npos);
  CommandResult magik = Run({"export", "magik", "--month", "2024-03", "--yes", "-o", "w.xml"});
  ASSERT_EQ(magik.exitCode, 0) << magik.err;
  EXPECT_EQ(magik.out, "Wygenerowano plik zawierający dokumentów: 1\nZapisano plik w.xml\n");
  CommandResult sage = Run({"export", "symfonia", "--month", "2024-03"});
  ASSERT_EQ(sage.exitCode, 0) << sage.err;
  EXPECT_EQ(sage.out, "Wygenerowano plik zawierający dokumentów: 1\nZapisano plik Qor2sage.txt\n");
  EXPECT_NE(ReadFile(dir.File("Qor2sage.txt")).find("  forma_platnosci =przelew 14 dni\r\n"), std::string::npos);
  CommandResult other = Run({"export", "symfonia", "--month", "2024-03", "-o", "out/sage.txt"});
  ASSERT_EQ(other.exitCode, 0) << other.err;
  EXPECT_TRUE(FileExists(dir.File("out/sage.txt")));
}

TEST_F(ExportCommandsTest, WrongArgumentsAndMissingTablesFailWithPolishMessages) {
  CommandResult noMonth = Run({"export", "fa"});
  EXPECT_EQ(noMonth.exitCode, 1);
  EXPECT_EQ(noMonth.err, "Użycie: velkar export fa|mag|magik|symfonia|ramzes --month RRRR-MM [-o WYNIK]\n");
  CommandResult format = Run({"export", "kr", "--month", "2024-03"});
  EXPECT_EQ(format.exitCode, 1);
  EXPECT_EQ(format.err, "Nieznany format: kr (dozwolone: fa, mag, magik, symfonia, ramzes)\n");
  CommandResult month = Run({"export", "fa", "--month", "2024-13"});
  EXPECT_EQ(month.exitCode, 1);
  EXPECT_EQ(month.err, "Niepoprawny miesiąc: 2024-13 (oczekiwano RRRR-MM)\n");
  CommandResult missing = Run({"export", "fa", "--month", "2024-04", "--yes"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_NE(missing.err.find("24_04WI"), std::string::npos) << missing.err;
}

}  // namespace
}  // namespace velkar::test
