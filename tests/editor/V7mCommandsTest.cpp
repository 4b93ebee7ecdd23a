// The velkar v7m commands, run as a user runs them: what they print, what they write,
// their exit codes and their Polish messages; and the shipped sample register.
#include <gtest/gtest.h>

#include <filesystem>
#include <future>

#include "app/ui/ScriptedUi.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "cli/Program.h"
#include "jpkfiles/SchemaValidation.h"
#include "tests/editor/V7mFixture.h"
#include "tests/support/RunCommand.h"

using namespace velkar;
using namespace velkar::test;

namespace {

const std::string kExe = VELKAR_EXE;
const std::string kSampleExe = VELKAR_SAMPLE_EXE;
const std::string kConfig =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa\nEmail=biuro@firma.pl\nUSCode=1471\nNazwaSystemu=Velkar\n"
    "CurDate=2024-03-15\n";

V7mFile Register() {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "1000"}, {"K_20", "230"}}), Sale(2, {{"K_19", "100"}, {"K_20", "23"}})};
  file.saleTax = "253";
  file.purchases = {Purchase(1, {{"K_42", "2000"}, {"K_43", "460"}})};
  file.purchaseTax = "460";
  return file;
}

class V7mCommandsTest : public ::testing::Test {
 protected:
  V7mCommandsTest() { dir.Write("firma.ini", kConfig); }
  CommandResult Run(std::vector<std::string> args) {
    args.insert(args.begin(), "--ini=firma.ini");
    return RunProgram(kExe, args, dir.Path());
  }
  TempDir dir;
};

}  // namespace

TEST_F(V7mCommandsTest, ShowPrintsWhatTheWindowShows) {
  V7mFile file = Register();
  file.positions = {{"P_19", "1100"}, {"P_20", "254"}, {"P_37", "1100"}, {"P_38", "254"}, {"P_42", "2000"},
                    {"P_43", "460"},  {"P_48", "460"}, {"P_51", "0"},    {"P_53", "206"}, {"P_62", "206"}};
  dir.Write("a.xml", file.Xml());
  CommandResult r = Run({"v7m", "show", "a.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_TRUE(
      r.out.starts_with("NIP: 5250001090\nWygenerowano: 2024-04-02T09:05:07\nRok i miesiąc: 2024-03\n"
                        "Struktura: JPK_V7M (2)\nSuma podatku należnego: 253\nSuma podatku naliczonego: 460\n"
                        "Liczba wierszy sprzedaży: 2\nLiczba wierszy zakupów: 1\nDeklaracja\n"))
      << r.out;
  EXPECT_NE(r.out.find("Podatek należny (P_38): 254\n  kolor: czerwony\n  podpowiedź: podatek w deklaracji: 254, "
                       "podatek w ewidencji: 253.00 (różnica: 1.00)\n"),
            std::string::npos)
      << r.out;
  EXPECT_NE(r.out.find("Podatek naliczony (P_48): 460\n  kolor: zwykły\n"), std::string::npos);
  EXPECT_NE(r.out.find("Nadwyżka podatku naliczonego nad należnym (P_53): 206\n"), std::string::npos);
  EXPECT_NE(r.out.find("Przyczyny złożenia korekty:\n"), std::string::npos);
  EXPECT_EQ(r.err, "");
}

TEST_F(V7mCommandsTest, ShowOfAFileOfAnotherStructureFails) {
  dir.Write("fa.xml", "<?xml version=\"1.0\"?><JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2022/02/17/02171/\"/>");
  CommandResult r = Run({"v7m", "show", "fa.xml"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Zła struktura pliku. Brak zgodności z JPK_V7M (2) ani JPK_V7M (3)\n");
  EXPECT_EQ(r.out, "");
  CommandResult missing = Run({"v7m", "show"});
  EXPECT_EQ(missing.exitCode, 1);
  EXPECT_EQ(missing.err, "Użycie: velkar v7m show PLIK\n");
}

TEST_F(V7mCommandsTest, RecalcWritesAValidDeclarationFromTheOptions) {
  dir.Write("a.xml", Register().Xml());
  CommandResult r = Run({"v7m", "recalc", "a.xml", "--declaration", "--P39", "4", "--P54", "100", "--zwrot", "56",
                         "--ordzu", "Korekta", "-o", "b.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Zapisano plik b.xml\n");
  JpkValidation check = ValidateJpkFile(dir.File("b.xml"));
  EXPECT_TRUE(check.Valid()) << (check.violations.empty() ? "" : check.violations[0].message);
  CommandResult shown = Run({"v7m", "show", "b.xml"});
  EXPECT_NE(shown.out.find("(P_48): 464\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("(P_53): 211\n"), std::string::npos);
  EXPECT_NE(shown.out.find("(P_54): 100\nZwrot: 25 dni (art.87 ust.6)\n"), std::string::npos);
  EXPECT_NE(shown.out.find("(P_62): 111\n"), std::string::npos);
  EXPECT_NE(shown.out.find("Przyczyny złożenia korekty: Korekta\n"), std::string::npos);
  // The input was cleaned up on opening (ClearEnter) and kept in the backup folder.
  EXPECT_TRUE(FileExists(dir.File("backup/_a.xml")));
}

TEST_F(V7mCommandsTest, RecalcWithoutOptionsSavesOverTheFile) {
  V7mFile file = Register();
  file.saleTax = "1";
  dir.Write("a.xml", file.Xml());
  CommandResult r = Run({"v7m", "recalc", "a.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(ReadFile(dir.File("a.xml")).find("<PodatekNalezny>253</PodatekNalezny>"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("a.xml")).find("Deklaracja"), std::string::npos);
}

TEST_F(V7mCommandsTest, RecalcRefusalsAndBadValues) {
  dir.Write("a.xml", Register().Xml());
  CommandResult term = Run({"v7m", "recalc", "a.xml", "--declaration", "--zwrot", "55"});
  EXPECT_EQ(term.exitCode, 1);
  EXPECT_EQ(term.err, "Nie wpisano kwoty do zwrotu (P_54)\na wybrano w jakiej formie go dokonać.\n");
  CommandResult bad = Run({"v7m", "recalc", "a.xml", "--declaration", "--P39", "1,5"});
  EXPECT_EQ(bad.exitCode, 1);
  EXPECT_EQ(bad.err, "Pole P_39: '1,5' nie jest poprawną liczbą całkowitą\n");
  CommandResult huge = Run({"v7m", "recalc", "a.xml", "--declaration", "--P39", "9223372036854775807"});
  EXPECT_EQ(huge.exitCode, 1);
  EXPECT_EQ(huge.err, "Pole P_39: '9223372036854775807' jest poza zakresem (najwyżej 14 cyfr)\n");
  CommandResult grouped = Run({"v7m", "recalc", "a.xml", "--declaration", "--P39", "1 000", "-o", "g.xml"});
  EXPECT_EQ(grouped.exitCode, 0) << grouped.err;
  EXPECT_NE(ReadFile(dir.File("g.xml")).find("<P_39>1000</P_39>"), std::string::npos);
  CommandResult loose = Run({"v7m", "recalc", "a.xml", "--P39", "5"});
  EXPECT_EQ(loose.exitCode, 1);
  EXPECT_EQ(loose.err, "Opcja --P39 działa tylko z --declaration\n");
  CommandResult wrongTerm = Run({"v7m", "recalc", "a.xml", "--declaration", "--P54", "5", "--zwrot", "60"});
  EXPECT_EQ(wrongTerm.exitCode, 1);
  EXPECT_EQ(wrongTerm.err, "Niepoprawna wartość opcji --zwrot: 60 (dozwolone: 540, 55, 56, 560, 57, 58)\n");
}

TEST_F(V7mCommandsTest, GroupNameAloneListsItsCommands) {
  CommandResult r = Run({"v7m"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_TRUE(r.out.starts_with("Polecenia velkar v7m:\n  velkar v7m show PLIK")) << r.out;
  EXPECT_NE(r.out.find("  velkar v7m clear-declaration PLIK\n"), std::string::npos);
  CommandResult unknown = Run({"v7m", "frob"});
  EXPECT_EQ(unknown.err, "Nieznane polecenie: v7m frob (velkar --help podaje listę poleceń)\n");
}

TEST_F(V7mCommandsTest, MergeLinksTheFilesIntoANewOne) {
  V7mFile more;
  more.sales = {Sale(1, {{"K_19", "10"}, {"K_20", "2.3"}})};
  more.saleTax = "2.3";
  dir.Write("a.xml", Register().Xml());
  dir.Write("b.xml", more.Xml());
  dir.Write("c.xml", more.Xml());
  CommandResult r = Run({"v7m", "merge", "a.xml", "b.xml", "c.xml", "-o", "m.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Pomyślnie połączono pliki JPK:\nnowy plik\nPomyślnie połączono pliki JPK:\nnowy plik\n"
            "Zapisano plik m.xml\n");
  std::string merged = ReadFile(dir.File("m.xml"));
  EXPECT_NE(merged.find("<LpSprzedazy>4</LpSprzedazy>"), std::string::npos);
  EXPECT_NE(merged.find("<LiczbaWierszySprzedazy>4</LiczbaWierszySprzedazy>"), std::string::npos);
  EXPECT_NE(merged.find("<PodatekNalezny>257.6</PodatekNalezny>"), std::string::npos);
  EXPECT_TRUE(ValidateJpkFile(dir.File("m.xml")).Valid());
  CommandResult usage = Run({"v7m", "merge", "a.xml", "b.xml"});
  EXPECT_EQ(usage.exitCode, 1);
}

TEST_F(V7mCommandsTest, ParagonAsksBeforeCreatingAndChecksTheAmounts) {
  dir.Write("a.xml", Register().Xml());
  // Without --yes and without a terminal the question counts as closed: nothing is saved.
  CommandResult declined = Run({"v7m", "paragon", "a.xml", "--net23", "1000", "--tax23", "230"});
  EXPECT_EQ(declined.exitCode, 1);
  EXPECT_EQ(declined.err,
            "Brak wpisu ze sprzedażą paragonową.\nUtworzyć taką pozycję?\nNie zapisano sprzedaży paragonowej\n");

  CommandResult missingTax = Run({"--yes", "v7m", "paragon", "a.xml", "--net23", "1000"});
  EXPECT_EQ(missingTax.exitCode, 1);
  EXPECT_EQ(missingTax.err, "Brak wartości podatku w stawce 23%\n");

  CommandResult created = Run({"--yes", "v7m", "paragon", "a.xml", "--net23", "1000", "--tax23", "230", "--zero", "50",
                               "--dowod", "RF 03/2024", "-o", "p.xml"});
  ASSERT_EQ(created.exitCode, 0) << created.err;
  std::string saved = ReadFile(dir.File("p.xml"));
  EXPECT_NE(saved.find("<NrKontrahenta>BRAK</NrKontrahenta>\n\t\t\t<NazwaKontrahenta>BRAK</NazwaKontrahenta>\n\t\t\t"
                       "<DowodSprzedazy>RF 03/2024</DowodSprzedazy>\n\t\t\t<DataWystawienia>2024-03-31"),
            std::string::npos)
      << saved;
  EXPECT_NE(saved.find("<LiczbaWierszySprzedazy>3</LiczbaWierszySprzedazy>"), std::string::npos);
  EXPECT_TRUE(ValidateJpkFile(dir.File("p.xml")).Valid());

  // The row is found the second time: no question, and an emptied field goes away.
  CommandResult again = Run({"v7m", "paragon", "p.xml", "--zero", ""});
  ASSERT_EQ(again.exitCode, 0) << again.err;
  EXPECT_EQ(ReadFile(dir.File("p.xml")).find("<K_13>"), std::string::npos);
}

TEST_F(V7mCommandsTest, ClearDeclarationSavesTheRegisterOnly) {
  V7mFile file = Register();
  file.positions = {{"P_38", "253"}, {"P_51", "0"}};
  dir.Write("a.xml", file.Xml());
  CommandResult r = Run({"v7m", "clear-declaration", "a.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out, "Zapisano JPK bez części deklaracyjnej do pliku:\na.xml\n");
  EXPECT_EQ(ReadFile(dir.File("a.xml")).find("Deklaracja"), std::string::npos);
  CommandResult again = Run({"v7m", "clear-declaration", "a.xml"});
  EXPECT_EQ(again.exitCode, 1);
  EXPECT_EQ(again.err, "Plik a.xml nie ma części deklaracyjnej\n");
}

// The editor's clean-up worked on one scratch file of a fixed name in the working folder:
// two commands at once swapped their files' contents or left a file only in the backup.
TEST_F(V7mCommandsTest, TwoCommandsAtOnceInOneFolderKeepTheirOwnFiles) {
  V7mFile one = Register();
  V7mFile two = Register();
  two.sales.push_back(Sale(3, {{"K_19", "10"}, {"K_20", "2.3"}}));
  two.saleTax = "255.3";
  auto oneLine = [](std::string text) { return ReplaceAll(text, "\n", ""); };
  for (int round = 0; round < 4; ++round) {
    dir.Write("a.xml", oneLine(one.Xml()));
    dir.Write("b.xml", oneLine(two.Xml()));
    auto a = std::async(std::launch::async, [&] { return Run({"v7m", "show", "a.xml"}); });
    auto b = std::async(std::launch::async, [&] { return Run({"v7m", "show", "b.xml"}); });
    CommandResult ra = a.get(), rb = b.get();
    ASSERT_EQ(ra.exitCode, 0) << ra.err;
    ASSERT_EQ(rb.exitCode, 0) << rb.err;
    EXPECT_NE(ra.out.find("Liczba wierszy sprzedaży: 2\n"), std::string::npos) << ra.out;
    EXPECT_NE(rb.out.find("Liczba wierszy sprzedaży: 3\n"), std::string::npos) << rb.out;
    EXPECT_EQ(ReadFile(dir.File("backup/_a.xml")), oneLine(one.Xml()));
    EXPECT_EQ(ReadFile(dir.File("backup/_b.xml")), oneLine(two.Xml()));
    EXPECT_NE(ReadFile(dir.File("a.xml")).find("<LpSprzedazy>2</LpSprzedazy>"), std::string::npos);
    EXPECT_NE(ReadFile(dir.File("b.xml")).find("<LpSprzedazy>3</LpSprzedazy>"), std::string::npos);
  }
}

TEST_F(V7mCommandsTest, ShowOfAMissingFileNamesItAndMakesNoBackup) {
  CommandResult r = Run({"v7m", "show", "brak.xml"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Brak pliku brak.xml\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("backup")));
}

// Clearing the declaration rebuilt the file from Naglowek, Podmiot1 and the first
// Ewidencja only: everything else was dropped without a word.
TEST_F(V7mCommandsTest, ClearDeclarationKeepsWhatItDoesNotKnow) {
  V7mFile file = Register();
  file.positions = {{"P_19", "1100"}, {"P_20", "254"}};
  std::string text = file.Xml();
  text = ReplaceAll(text, "<JPK xmlns=", "<JPK xmlns:x=\"urn:x\" x:znacznik=\"7\" xmlns=");
  size_t ewidencja = text.find("<Ewidencja>");
  size_t end = text.find("</Ewidencja>") + std::string("</Ewidencja>").size();
  std::string second = text.substr(ewidencja, end - ewidencja);
  text.insert(end, "<!-- uwaga biura -->" + second + "<Dodatek>tekst</Dodatek>");
  dir.Write("a.xml", text);
  CommandResult r = Run({"v7m", "clear-declaration", "a.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::string now = ReadFile(dir.File("a.xml"));
  EXPECT_EQ(now.find("Deklaracja"), std::string::npos);
  EXPECT_NE(now.find("<!-- uwaga biura -->"), std::string::npos) << now;
  EXPECT_NE(now.find("<Dodatek>tekst</Dodatek>"), std::string::npos) << now;
  EXPECT_NE(now.find("x:znacznik=\"7\""), std::string::npos) << now;
  size_t first = now.find("<Ewidencja>");
  ASSERT_NE(first, std::string::npos);
  EXPECT_NE(now.find("<Ewidencja>", first + 1), std::string::npos) << now;
  EXPECT_LT(now.find("<Naglowek>"), now.find("<Podmiot1"));
  EXPECT_LT(now.find("<Podmiot1"), first);
}

TEST(SampleRegister, ShippedSampleIsWhatTheBuilderWrites) {
  TempDir dir;
  std::string demoIni = SourceDir() + "/samples/demo.ini";
  CommandResult r = RunProgram(kSampleExe, {"--ini", demoIni, "-o", dir.File("s.xml")}, dir.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadFile(dir.File("s.xml")), ReadFile(SourceDir() + "/samples/2024-03_JPK_V7M_wrzos.xml"));
  EXPECT_TRUE(ValidateJpkFile(dir.File("s.xml")).Valid());
}

TEST(ProgramWindows, TheMainWindowButtonOpensTheEditor) {
  TempDir dir;
  dir.Write("firma.ini", kConfig);
  ChangeDir cd(dir.Path());
  ScriptedUi ui;
  Program program;
  program.Create({"velkar", "/ini=firma.ini"});
  ASSERT_NE(program.JpkVatDlg, nullptr);
  EXPECT_EQ(program.MainForm.ToolWindows.JpkVatDlg, program.JpkVatDlg.get());
  program.MainForm.btnJPK_V7MClick();
  EXPECT_EQ(ui.ModalWindows(), (std::vector<std::string>{"TJpkVatDlg"}));
  EXPECT_EQ(program.JpkVatDlg->Caption, "JPK_V7 v.2");
}

namespace {

// March 2026 in JPK_V7M(3): one sale still without its KSeF element.
V7mFile Register2026() {
  V7mFile file = V7mFile::V3();
  file.sales = {Ksef(Sale(1, {{"K_19", "1000"}, {"K_20", "230"}}), "BFK"), Sale(2, {{"K_19", "100"}, {"K_20", "23"}})};
  file.saleTax = "253";
  file.purchases = {Ksef(Purchase(1, {{"K_42", "2000"}, {"K_43", "460"}}), "DI")};
  file.purchaseTax = "460";
  return file;
}

std::string Violations(const std::string& fileName) {
  JpkValidation check = ValidateJpkFile(fileName);
  std::string text = check.structure + "\n";
  for (const SchemaViolation& violation : check.violations) text += DescribeViolation(violation) + "\n";
  return text;
}

}  // namespace

TEST_F(V7mCommandsTest, NewV7mFollowsTheMonth) {
  CommandResult january = Run({"new", "v7m", "--month", "2026-01", "-o", "styczen.xml"});
  ASSERT_EQ(january.exitCode, 0) << january.err;
  EXPECT_EQ(Violations(dir.File("styczen.xml")), "JPK_V7M (2)\n");
  CommandResult february = Run({"new", "v7m", "--month", "2026-02", "-o", "luty.xml"});
  ASSERT_EQ(february.exitCode, 0) << february.err;
  EXPECT_EQ(Violations(dir.File("luty.xml")), "JPK_V7M (3)\n");
  std::string luty = ReadFile(dir.File("luty.xml"));
  EXPECT_NE(luty.find("kodSystemowy=\"JPK_V7M (3)\""), std::string::npos) << luty;
  EXPECT_NE(luty.find("<Miesiac>2</Miesiac>"), std::string::npos);
}

TEST_F(V7mCommandsTest, JpkV7m3FileIsShownRecalculatedAndMergedWithItsOwnStructureOnly) {
  dir.Write("a3.xml", Register2026().Xml());
  CommandResult shown = Run({"v7m", "show", "a3.xml"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_NE(shown.out.find("Struktura: JPK_V7M (3)\n"), std::string::npos) << shown.out;
  EXPECT_NE(shown.out.find("Wiersze bez numeru KSeF lub znacznika: 1\n  kolor: czerwony\n"
                           "  podpowiedź: Bez numeru KSeF ani znacznika OFF, BFK, DI: FV/2/2024\n"),
            std::string::npos)
      << shown.out;

  // No 60-day refund in JPK_V7M(3); the 40-day one is written and the file is valid.
  V7mFile marked = Register2026();
  marked.sales[1] = Ksef(marked.sales[1], "OFF");
  dir.Write("c3.xml", marked.Xml());
  CommandResult sixty = Run({"v7m", "recalc", "c3.xml", "--declaration", "--P54", "100", "--zwrot", "57"});
  EXPECT_EQ(sixty.exitCode, 1);
  EXPECT_EQ(sixty.err, "Niepoprawna wartość opcji --zwrot: 57 (dozwolone: 540, 55, 56, 560, 58)\n");
  CommandResult forty =
      Run({"v7m", "recalc", "c3.xml", "--declaration", "--P54", "100", "--zwrot", "560", "-o", "b3.xml"});
  ASSERT_EQ(forty.exitCode, 0) << forty.err;
  std::string b3 = ReadFile(dir.File("b3.xml"));
  EXPECT_NE(b3.find("<P_54>100</P_54>\n\t\t\t<P_560>1</P_560>"), std::string::npos) << b3;
  EXPECT_NE(b3.find("kodSystemowy=\"VAT-7 (23)\""), std::string::npos);
  EXPECT_EQ(Violations(dir.File("b3.xml")), "JPK_V7M (3)\n");

  dir.Write("a2.xml", Register().Xml());
  CommandResult merged = Run({"v7m", "merge", "a2.xml", "a3.xml", "-o", "m.xml"});
  EXPECT_EQ(merged.exitCode, 1);
  EXPECT_EQ(merged.err, "Nie można połączyć plików o różnych strukturach: JPK_V7M (2) i JPK_V7M (3)\n");
  EXPECT_FALSE(FileExists(dir.File("m.xml")));
}

TEST_F(V7mCommandsTest, EarlierPublicationIsReformattedIntoTheCurrentOne) {
  std::string earlier = ReplaceAll(Register().Xml(), v7m::kTargetNamespace, v7m::kTargetNamespace07081);
  dir.Write("e.xml", earlier);
  CommandResult r = RunProgram(kExe, {"reformat", "e.xml"}, dir.Path());
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Plik zapisano we wcześniejszej publikacji struktury JPK_V7M (2) (07081). Zostanie zapisany w "
            "obowiązującej publikacji (11148).\nZapisano e.xml\n");
  EXPECT_EQ(ReadFile(dir.File("e.xml")).find("07081"), std::string::npos);
  EXPECT_EQ(Violations(dir.File("e.xml")), "JPK_V7M (2)\n");

  // The editor's commands open it the same way.
  dir.Write("e2.xml", earlier);
  CommandResult shown = Run({"v7m", "show", "e2.xml"});
  ASSERT_EQ(shown.exitCode, 0) << shown.err;
  EXPECT_TRUE(shown.out.starts_with("Plik zapisano we wcześniejszej publikacji struktury JPK_V7M (2) (07081)."))
      << shown.out;
  EXPECT_NE(shown.out.find("Struktura: JPK_V7M (2)\n"), std::string::npos);
}
