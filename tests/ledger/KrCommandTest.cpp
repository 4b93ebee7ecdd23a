// `velkar kr generate`, run as a user runs it: a valid file from the ledger, the save
// question answered by --yes / --no, and an error of the task on standard error, exit 1.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/ledger/LedgerFixture.h"
#include "tests/support/RunCommand.h"

using namespace velkar;
using test::RunProgram;

namespace {

const std::string kExe = VELKAR_EXE;

const char* const kIni =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa Sp. z o.o.\nEmail=biuro@firma.pl\nUSCode=1471\n"
    "NazwaSystemu=Velkar\nWojewodztwo=mazowieckie\nPowiat=Warszawa\nGmina=Warszawa\nUlica=Prosta\nNrDomu=1\n"
    "Miasto=Warszawa\nKodPocztowy=00-001\nPoczta=Warszawa\nTulvoDir=Tulvo/\nNetFileDir=Net/\n";

class KrCommand : public ::testing::Test {
 protected:
  KrCommand() {
    work.Write(2024, test::Ledger2024());
    std::filesystem::create_directories(work.Path() + "Net");
    std::ofstream(work.Path() + "firma.ini") << kIni;
    std::string groups;
    for (const std::string& line : test::AccountGroups()) groups += line + "\n";
    std::ofstream(work.Path() + "TulvoAccSet.txt") << groups;
  }
  test::SchemaDirForProgram schemas;
  test::LedgerWorkDir work;
};

TEST_F(KrCommand, WritesAValidFileOfTheMonth) {
  auto result = RunProgram(kExe, {"kr", "generate", "--ini", "firma.ini", "--month", "2024-03", "-o", "kr.xml", "--yes"},
                           work.Path());
  ASSERT_EQ(result.exitCode, 0) << result.err;
  ASSERT_TRUE(std::filesystem::exists(work.Path() + "kr.xml"));
  auto check = RunProgram(kExe, {"validate", "kr.xml"}, work.Path());
  EXPECT_EQ(check.out, "kr.xml: JPK_KR (1): poprawny\n") << check.out << check.err;
  std::string text = test::ReadFile(work.Path() + "kr.xml");
  EXPECT_NE(text.find("<DataOd>2024-03-01</DataOd>"), std::string::npos);
  EXPECT_NE(text.find("<LiczbaWierszyDziennika>5</LiczbaWierszyDziennika>"), std::string::npos);
  EXPECT_TRUE(std::filesystem::exists(work.Path() + "qry.sql"));
}

TEST_F(KrCommand, NoSavesNothing) {
  auto result = RunProgram(kExe, {"kr", "generate", "--ini", "firma.ini", "--month", "2024-03", "-o", "kr.xml", "--no"},
                           work.Path());
  EXPECT_EQ(result.exitCode, 0) << result.err;
  EXPECT_FALSE(std::filesystem::exists(work.Path() + "kr.xml"));
}

TEST_F(KrCommand, AnErrorOfTheTaskIsPrintedAndNothingIsSaved) {
  std::filesystem::remove_all(work.Path() + "Tulvo/2024");
  auto result = RunProgram(kExe, {"kr", "generate", "--ini", "firma.ini", "--month", "2024-03", "-o", "kr.xml", "--yes"},
                           work.Path());
  EXPECT_EQ(result.exitCode, 1);
  EXPECT_NE(result.err.find("Brak tabeli"), std::string::npos) << result.err;
  EXPECT_EQ(result.err.find("Zapisać"), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(work.Path() + "kr.xml"));

  auto month = RunProgram(kExe, {"kr", "generate", "--ini", "firma.ini", "--month", "2024-13"}, work.Path());
  EXPECT_EQ(month.exitCode, 1);
  EXPECT_NE(month.err.find("Niepoprawny miesiąc: 2024-13"), std::string::npos) << month.err;
}

}  // namespace
