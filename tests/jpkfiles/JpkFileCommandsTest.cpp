// The commands of the JPK file services, run as the user runs them.
#include <gtest/gtest.h>

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
