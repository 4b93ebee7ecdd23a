// Offline validation against the official schemas, and where the schemas are found.
#include <gtest/gtest.h>

#include <cstdlib>

#include "app/ui/ScriptedUi.h"
#include "base/Error.h"
#include "jpkfiles/SchemaValidation.h"
#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/support/TempDir.h"

using namespace velkar;

namespace {

// A JPK_V7M(2) header as the program writes it, with `kodUrzedu` and `miesiac` lines.
std::string V7Header(const std::string& kodUrzedu = "<KodUrzedu>1471</KodUrzedu>",
                     const std::string& miesiac = "<Miesiac>3</Miesiac>") {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
         "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\" "
         "xmlns:etd=\"http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2021/06/08/eD/DefinicjeTypy/\">\n"
         "<Naglowek>\n"
         "<KodFormularza kodSystemowy=\"JPK_V7M (2)\" wersjaSchemy=\"1-0E\">JPK_VAT</KodFormularza>\n"
         "<WariantFormularza>2</WariantFormularza>\n"
         "<DataWytworzeniaJPK>2024-04-02T09:05:07</DataWytworzeniaJPK>\n"
         "<NazwaSystemu>Velkar</NazwaSystemu>\n"
         "<CelZlozenia poz=\"P_7\">1</CelZlozenia>\n" +
         kodUrzedu + "\n<Rok>2024</Rok>\n" + miesiac +
         "\n</Naglowek>\n"
         "<Podmiot1 rola=\"Podatnik\"><OsobaNiefizyczna><NIP>5250001090</NIP><PelnaNazwa>Firma</PelnaNazwa>"
         "<Email>biuro@firma.pl</Email></OsobaNiefizyczna></Podmiot1>\n</JPK>\n";
}

}  // namespace

TEST(SchemaValidation, AValidFileHasItsStructureAndNoViolations) {
  test::TempDir dir;
  auto result = ValidateJpkFile(dir.Write("a.xml", V7Header()), test::SchemaDir());
  EXPECT_EQ(result.structure, "JPK_V7M (2)");
  EXPECT_TRUE(result.Valid()) << (result.violations.empty() ? "" : DescribeViolation(result.violations[0]));
}

TEST(SchemaValidation, ViolationsNameTheirLineAndElement) {
  test::TempDir dir;
  auto badValue = ValidateJpkFile(dir.Write("a.xml", V7Header("<KodUrzedu>ABC</KodUrzedu>")), test::SchemaDir());
  ASSERT_EQ(badValue.violations.size(), 1u);
  EXPECT_EQ(badValue.violations[0].line, 9);
  EXPECT_EQ(badValue.violations[0].element, "KodUrzedu");
  EXPECT_TRUE(badValue.violations[0].message.starts_with("Element 'KodUrzedu': [facet 'enumeration'] The value 'ABC'"))
      << badValue.violations[0].message;

  auto missing = ValidateJpkFile(dir.Write("b.xml", V7Header("<KodUrzedu>1471</KodUrzedu>", "")), test::SchemaDir());
  ASSERT_EQ(missing.violations.size(), 1u);
  EXPECT_EQ(DescribeViolation(missing.violations[0]),
            "wiersz 3 (Naglowek): Element 'Naglowek': Missing child element(s). Expected is ( Miesiac ).");
}

TEST(SchemaValidation, SyntaxErrorsAndUnknownNamespacesAreViolations) {
  test::TempDir dir;
  auto broken = ValidateJpkFile(
      dir.Write("a.xml", "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\">\n<A>\n</JPK>"), test::SchemaDir());
  ASSERT_FALSE(broken.Valid());
  EXPECT_EQ(broken.violations[0].line, 3);
  EXPECT_EQ(broken.violations[0].element, "");

  auto old = ValidateJpkFile(dir.Write("b.xml", "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/07/08/07081/\"/>"),
                             test::SchemaDir());
  EXPECT_EQ(old.structure, "");
  ASSERT_EQ(old.violations.size(), 1u);
  EXPECT_EQ(DescribeViolation(old.violations[0]),
            "wiersz 1 (JPK): Nieznana struktura pliku: przestrzeń nazw \"http://crd.gov.pl/wzor/2021/07/08/07081/\"");

  auto empty = ValidateJpkFile(dir.Write("c.xml", ""), test::SchemaDir());
  EXPECT_FALSE(empty.Valid());
  EXPECT_THROW(ValidateJpkFile(dir.File("none.xml"), test::SchemaDir()), Error);
}

TEST(SchemaValidation, ASchemaThatNeedsTheNetworkIsRefused) {
  // A folder whose catalog maps only the main schema: its imports would have to be
  // fetched from the ministry's server, which the program never does.
  test::TempDir dir;
  dir.Write("catalog.xml", "<catalog xmlns=\"urn:oasis:names:tc:entity:xmlns:xml:catalog\"/>");
  dir.Write("v7m2/Schemat_JPK_V7M(2)_v1-0E.xsd",
            test::ReadFile(test::SchemaDir() + "v7m2/Schemat_JPK_V7M(2)_v1-0E.xsd"));
  std::string file = dir.Write("a.xml", V7Header());
  try {
    ValidateJpkFile(file, dir.Path());
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()),
              "Nie można wczytać schematu " + dir.File("v7m2/Schemat_JPK_V7M(2)_v1-0E.xsd") +
                  ": adres http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2021/06/08/eD/DefinicjeTypy/"
                  "StrukturyDanych_v8-0E.xsd nie jest w katalogu schematów, a sieć nie jest używana");
  }
}

TEST(SchemaValidation, TheSchemaFolderIsFoundInItsOrder) {
  test::TempDir dir;
  for (auto folder : {"env/", "setting/", "run/xsd/", "checkout/shared/xsd/"})
    dir.Write(std::string(folder) + "catalog.xml", "<catalog/>");
  dir.Write("empty/readme", "");
  SchemaDirCandidates all{dir.File("env"), dir.File("setting"), dir.File("run"), {dir.File("checkout/src/build")}};
  EXPECT_EQ(FindSchemaDir(all), dir.File("env/"));
  all.environment = dir.File("empty");  // a folder without a catalog does not count
  EXPECT_EQ(FindSchemaDir(all), dir.File("setting/"));
  all.setting.clear();
  EXPECT_EQ(FindSchemaDir(all), dir.File("run/xsd/"));
  all.runDir = dir.File("empty/");
  EXPECT_EQ(FindSchemaDir(all), dir.File("checkout/shared/xsd/"));
  all.anchors = {dir.File("empty")};
  EXPECT_EQ(FindSchemaDir(all), "");
}

TEST(SchemaValidation, AfterASaveViolationsAreOneWarning) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  ScriptedUi ui;
  EXPECT_TRUE(WarnIfJpkFileInvalid(dir.Write("a.xml", V7Header())));
  EXPECT_TRUE(ui.Messages().empty());

  std::string bad = dir.Write("b.xml", V7Header("<KodUrzedu>ABC</KodUrzedu>", ""));
  EXPECT_FALSE(WarnIfJpkFileInvalid(bad));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Warning);
  EXPECT_TRUE(ui.LastMessage().starts_with("Plik " + bad +
                                           " nie jest zgodny ze schematem JPK_V7M (2).\r"
                                           "Plik został zapisany. Naruszenia:\rwiersz 9 (KodUrzedu): "))
      << ui.LastMessage();
  EXPECT_NE(ui.LastMessage().find("\rwiersz 3 (Naglowek): "), std::string::npos);

  EXPECT_FALSE(WarnIfJpkFileInvalid(dir.File("none.xml")));
  EXPECT_EQ(ui.LastMessage(),
            "Nie sprawdzono pliku " + dir.File("none.xml") + " ze schematem XSD:\rBrak pliku " + dir.File("none.xml"));
}

TEST(SchemaValidation, EntitiesAreNeitherLoadedNorExpanded) {
  test::TempDir dir;
  dir.Write("tajne.txt", "TAJNE");
  std::string file =
      dir.Write("a.xml", "<!DOCTYPE JPK [<!ENTITY s SYSTEM \"" + dir.File("tajne.txt") +
                             "\"><!ENTITY n SYSTEM \"http://127.0.0.1:9/x\">]>\n" +
                             V7Header("<KodUrzedu>&s;&n;</KodUrzedu>").substr(V7Header().find('\n') + 1));
  auto result = ValidateJpkFile(file, test::SchemaDir());
  ASSERT_FALSE(result.Valid());
  for (const auto& violation : result.violations)
    EXPECT_EQ(violation.message.find("TAJNE"), std::string::npos) << violation.message;
}
