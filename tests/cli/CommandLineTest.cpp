// The command line: version, settings, start-up failures and the error rule.
#include <gtest/gtest.h>

#include "cli/ArgParser.h"
#include "base/Error.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using test::RunProgram;

namespace {
const std::string kExe = VELKAR_EXE;
const std::string kConfig =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa\nEmail=biuro@firma.pl\nUSCode=1471\nNazwaSystemu=Velkar\n"
    "CurDate=2024-03-15\nQorDataDir=C:\\Dane\nNetFileDir=/n\nAddFaktMarket=1\n";
}  // namespace

TEST(CommandLine, VersionPrintsTheVersionText) {
  auto r = RunProgram(kExe, {"--version"});
  EXPECT_EQ(r.exitCode, 0);
  EXPECT_TRUE(r.out.starts_with("ver 1.")) << r.out;
}

TEST(CommandLine, SettingsPrintsEveryFieldInReadingOrder) {
  test::TempDir dir;
  dir.Write("firma.ini", kConfig);
  dir.Write("TulvoAccSet.txt", "a\n\nb\n");
  for (auto args : {std::vector<std::string>{"settings", "--ini", "firma.ini"},
                    std::vector<std::string>{"--ini=firma.ini", "settings"},
                    std::vector<std::string>{"settings", "/ini=firma"}}) {
    auto r = RunProgram(kExe, args, dir.Path());
    ASSERT_EQ(r.exitCode, 0) << r.err;
    EXPECT_TRUE(r.out.starts_with("NIP = 5250001090\nNazwa = Firma Testowa\nImie = \nEmail = biuro@firma.pl\n")) << r.out;
    EXPECT_NE(r.out.find("CurDate = 2024-03-15 00:00:00\nQorDataDir = C:/Dane/\n"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("UserDir = C:/Dane/\n"), std::string::npos);
    EXPECT_NE(r.out.find("SalesDocumentClasses = 0, 1, 2, 3, 4, 5, 7, 22, 23, 48, 50, 51\n"), std::string::npos);
    EXPECT_NE(r.out.find("RunDir = " + dir.Path() + "\nTulvoAccSet = 2\nCutDict = 0\n"), std::string::npos) << r.out;
  }
}

TEST(CommandLine, StartUpFailuresPrintThePolishMessageAndExitWithOne) {
  test::TempDir dir;
  auto missing = RunProgram(kExe, {"settings", "--ini", "nie-ma"}, dir.Path());
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "Brak pliku " + dir.Path() + "nie-ma.ini\n");
  EXPECT_EQ(missing.out, "");

  dir.Write("a.ini", "[System]\nNIP=1\n");
  auto field = RunProgram(kExe, {"settings", "/ini=a.ini"}, dir.Path());
  EXPECT_EQ(field.exitCode, 1);
  EXPECT_EQ(field.err, "Brak pola: \"Nazwa = \" w pliku konfiguracyjnym w sekcji: System\n");

  dir.Write("b.ini", "[System]\nNIP=1\nNazwa=X\nEmail=e\nUSCode=1\nNazwaSystemu=V\nFennikDir=/f\n");
  auto folder = RunProgram(kExe, {"settings", "--ini", "b.ini"}, dir.Path());
  EXPECT_EQ(folder.exitCode, 1);
  EXPECT_EQ(folder.err, "Brak wpisu NetFileDir w pliku " + dir.Path() + "b.ini\n");
}

TEST(CommandLine, UnknownCommandsAndOptionsAreErrors) {
  auto r = RunProgram(kExe, {"frobnicate"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("Nieznane polecenie: frobnicate"), std::string::npos);
  auto o = RunProgram(kExe, {"settings", "--bogus"});
  EXPECT_EQ(o.exitCode, 1);
  EXPECT_EQ(o.err, "Nieznana opcja: --bogus\n");
}

TEST(ArgParser, ValueOptionsFlagsAndPositionals) {
  auto args = cli::ParseArgs({"in.xml", "--P39", "12.5", "--declaration", "-o", "out.xml", "--zwrot=56"},
                             {"P39", "o", "zwrot"}, {"declaration"});
  EXPECT_EQ(args.positional, (std::vector<std::string>{"in.xml"}));
  EXPECT_EQ(args.GetAmount("P39"), 12.5);
  EXPECT_TRUE(args.Has("declaration"));
  EXPECT_EQ(args.Get("o"), "out.xml");
  EXPECT_EQ(args.Get("zwrot"), "56");
  EXPECT_THROW(cli::ParseArgs({"--P39"}, {"P39"}, {}), Error);
  auto bad = cli::ParseArgs({"--P39", "12,5"}, {"P39"}, {});
  try {
    bad.GetAmount("P39");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Niepoprawna kwota w opcji --P39: 12,5");
  }
}
