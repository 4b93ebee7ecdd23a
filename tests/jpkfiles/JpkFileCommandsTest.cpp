// The commands of the JPK file services, run as the user runs them.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using test::RunProgram;

namespace {
const std::string kExe = VELKAR_EXE;

const std::string kValidV7 =
    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
    "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\">\n<Naglowek>\n"
    "<KodFormularza kodSystemowy=\"JPK_V7M (2)\" wersjaSchemy=\"1-0E\">JPK_VAT</KodFormularza>\n"
    "<WariantFormularza>2</WariantFormularza>\n<DataWytworzeniaJPK>2024-04-02T09:05:07</DataWytworzeniaJPK>\n"
    "<CelZlozenia poz=\"P_7\">1</CelZlozenia>\n<KodUrzedu>1471</KodUrzedu>\n<Rok>2024</Rok>\n<Miesiac>3</Miesiac>\n"
    "</Naglowek>\n<Podmiot1 rola=\"Podatnik\"><OsobaNiefizyczna><NIP>5250001090</NIP><PelnaNazwa>F</PelnaNazwa>"
    "<Email>a@b.pl</Email></OsobaNiefizyczna></Podmiot1>\n</JPK>\n";
}  // namespace

TEST(ValidateCommand, PrintsTheStructureAndTheVerdictOfEachFile) {
  test::SchemaDirForProgram schemas;
  test::TempDir dir;
  dir.Write("dobry.xml", kValidV7);
  std::string broken = kValidV7;
  broken.replace(broken.find("<KodUrzedu>1471"), 15, "<KodUrzedu>ABC");
  broken.replace(broken.find("<Rok>2024</Rok>\n"), 16, "");
  dir.Write("zly.xml", broken);

  auto good = RunProgram(kExe, {"validate", "dobry.xml"}, dir.Path());
  EXPECT_EQ(good.exitCode, 0) << good.err;
  EXPECT_EQ(good.out, "dobry.xml: JPK_V7M (2): poprawny\n");

  auto bad = RunProgram(kExe, {"validate", "dobry.xml", "zly.xml"}, dir.Path());
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.out,
            "dobry.xml: JPK_V7M (2): poprawny\n"
            "zly.xml: JPK_V7M (2): niepoprawny, naruszeń: 2\n"
            "  wiersz 8 (KodUrzedu): Element 'KodUrzedu': [facet 'enumeration'] The value 'ABC' is not an element "
            "of the set {'0202', '0203', '0204', ...}.\n"
            "  wiersz 9 (Miesiac): Element 'Miesiac': This element is not expected. Expected is ( Rok ).\n");
}

TEST(ValidateCommand, UnreadableAndForeignFilesFailTheRun) {
  test::SchemaDirForProgram schemas;
  test::TempDir dir;
  dir.Write("inny.xml", "<Baza/>\n");
  dir.Write("uciety.xml", "<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2022/02/17/02171/\">\n<Naglowek>\n");
  auto r = RunProgram(kExe, {"validate", "brak.xml", "inny.xml", "uciety.xml"}, dir.Path());
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.out,
            "brak.xml: błąd: Brak pliku brak.xml\n"
            "inny.xml: nieznana struktura: niepoprawny, naruszeń: 1\n"
            "  wiersz 1 (Baza): Nieznana struktura pliku: przestrzeń nazw \"\"\n"
            "uciety.xml: nieznana struktura: niepoprawny, naruszeń: 1\n"
            "  wiersz 3: Premature end of data in tag Naglowek line 2\n");

  auto none = RunProgram(kExe, {"validate"}, dir.Path());
  EXPECT_EQ(none.exitCode, 1);
  EXPECT_EQ(none.err, "Podaj pliki do sprawdzenia: velkar validate PLIK...\n");
}

namespace {
const std::string kConfig =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa\nEmail=biuro@firma.pl\nUSCode=1471\nNazwaSystemu=Velkar\n"
    "Wojewodztwo=mazowieckie\nPowiat=Warszawa\nGmina=Warszawa\nNrDomu=1\nMiasto=Warszawa\nKodPocztowy=00-001\n"
    "Poczta=Warszawa\n";
}  // namespace

TEST(NewCommand, WritesAHeaderedDocumentOfEachKindAndChecksIt) {
  test::SchemaDirForProgram schemas;
  test::TempDir dir;
  dir.Write("firma.ini", kConfig);
  auto v7 = RunProgram(
      kExe, {"new", "v7m", "--month", "2024-02", "--correction", "-o", "v7m.xml", "--ini", "firma.ini"}, dir.Path());
  EXPECT_EQ(v7.exitCode, 0) << v7.err;
  EXPECT_EQ(v7.out, "Zapisano v7m.xml\n");
  EXPECT_EQ(v7.err, "");  // valid: no warning
  std::string text = test::ReadFile(dir.File("v7m.xml"));
  EXPECT_NE(text.find("\t\t<CelZlozenia poz=\"P_7\">2</CelZlozenia>\n"), std::string::npos) << text;
  EXPECT_NE(text.find("\t\t<Rok>2024</Rok>\n\t\t<Miesiac>2</Miesiac>\n"), std::string::npos) << text;

  // An empty JPK_FA is saved, and the missing invoices are reported on stderr.
  auto fa = RunProgram(kExe, {"new", "fa", "--month=2024-02", "-o", "fa.xml", "/ini=firma.ini"}, dir.Path());
  EXPECT_EQ(fa.exitCode, 0) << fa.err;
  EXPECT_NE(test::ReadFile(dir.File("fa.xml")).find("\t\t<DataDo>2024-02-29</DataDo>\n"), std::string::npos);
  EXPECT_EQ(fa.err,
            "Plik fa.xml nie jest zgodny ze schematem JPK_FA (4).\nPlik został zapisany. Naruszenia:\n"
            "wiersz 2 (JPK): Element 'JPK': Missing child element(s). Expected is ( Faktura ).\n");

  for (std::string kind : {"mag", "kr"}) {
    auto r =
        RunProgram(kExe, {"new", kind, "--month", "2023-12", "-o", kind + ".xml", "--ini", "firma.ini"}, dir.Path());
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_NE(test::ReadFile(dir.File(kind + ".xml")).find("\t\t<DataOd>2023-12-01</DataOd>\n"), std::string::npos);
  }
}

TEST(NewCommand, WrongOptionsAreRefused) {
  test::TempDir dir;
  dir.Write("firma.ini", kConfig);
  struct Case {
    std::vector<std::string> args;
    std::string err;
  } cases[] = {
      {{"new", "fa", "--month", "2024-02", "--correction", "-o", "a.xml"},
       "Opcja --correction dotyczy tylko pliku JPK_V7M\n"},
      {{"new", "v7m", "--month", "2024-2", "-o", "a.xml"}, "Niepoprawny miesiąc: 2024-2 (oczekiwano RRRR-MM)\n"},
      {{"new", "v7m", "--month", "2024-13", "-o", "a.xml"}, "Niepoprawny miesiąc: 2024-13 (oczekiwano RRRR-MM)\n"},
      {{"new", "vat", "--month", "2024-02", "-o", "a.xml"}, "Nieznany rodzaj pliku: vat (v7m, fa, mag albo kr)\n"},
      {{"new", "v7m", "--month", "2024-02"}, "Brak opcji -o PLIK\n"},
      {{"new", "v7m", "-o", "a.xml"}, "Brak opcji --month RRRR-MM\n"},
  };
  for (auto& c : cases) {
    c.args.insert(c.args.end(), {"--ini", "firma.ini"});
    auto r = RunProgram(kExe, c.args, dir.Path());
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, c.err);
  }
  EXPECT_FALSE(std::filesystem::exists(dir.File("a.xml")));
}

TEST(ReformatCommand, RepairsAPrefixedFileOnYesAndOnlyReformatsOnNo) {
  test::SchemaDirForProgram schemas;
  test::TempDir dir;
  dir.Write("firma.ini", kConfig);
  ASSERT_EQ(RunProgram(kExe, {"new", "v7m", "--month", "2024-02", "-o", "own.xml", "--ini", "firma.ini"}, dir.Path())
                .exitCode,
            0);
  std::string own = test::ReadFile(dir.File("own.xml"));
  // Written by another program: own namespace under "tns", everything on one line.
  std::string foreign = std::regex_replace(own, std::regex("<(/?)(?!etd:|\\?)([A-Z])"), "<$1tns:$2");
  foreign = std::regex_replace(foreign, std::regex(" xmlns=\""), " xmlns:tns=\"");
  foreign = std::regex_replace(foreign, std::regex("[\t\n]"), "");
  dir.Write("a.xml", foreign);
  dir.Write("b.xml", foreign);

  auto yes = RunProgram(kExe, {"reformat", "a.xml", "--yes"}, dir.Path());
  EXPECT_EQ(yes.exitCode, 0) << yes.err;
  EXPECT_EQ(yes.out, "Zapisano a.xml\n");
  EXPECT_EQ(test::ReadFile(dir.File("a.xml")), own);
  EXPECT_EQ(test::ReadFile(dir.File("backup/~a.xml")), foreign);

  auto no = RunProgram(kExe, {"reformat", "b.xml", "--no"}, dir.Path());
  EXPECT_EQ(no.exitCode, 0) << no.err;
  std::string kept = test::ReadFile(dir.File("b.xml"));
  EXPECT_NE(kept.find("\n\t<tns:Naglowek>\n\t\t<tns:KodFormularza"), std::string::npos) << kept;
  EXPECT_FALSE(std::filesystem::exists(dir.File("backup/~b.xml")));

  dir.Write("inny.xml", "<Baza/>");
  auto other = RunProgram(kExe, {"reformat", "inny.xml"}, dir.Path());
  EXPECT_EQ(other.exitCode, 1);
  EXPECT_EQ(other.err, "Plik inny.xml nie jest plikiem JPK_V7M (2), JPK_V7M (3) ani JPK_FA (4)\n");
  EXPECT_EQ(test::ReadFile(dir.File("inny.xml")), "<Baza/>");
}
