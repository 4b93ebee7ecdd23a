// The editor with JPK_V7M(3) documents next to JPK_V7M(2) ones: what the window shows of
// the structure and the KSeF elements, K_360 / P_360 and VAT-7(23), the refund terms of each
// structure, merging refused across structures, files of the earlier JPK_V7M(2) publication
// (07081), and the round trip open - recalculate - save checked against the schemas.
#include <gtest/gtest.h>

#include <algorithm>
#include <regex>

#include "base/Paths.h"
#include "base/Text.h"
#include "jpkfiles/V7mPublication.h"
#include "tests/editor/V7mFixture.h"
#include "tests/support/ErrorOf.h"

using namespace velkar;
using namespace velkar::test;

namespace {

constexpr const char* kGoodKsef = "5265877635-20250826-0100001AF629-AF";

// March 2026: a sale with a KSeF number and K_360, a sale outside KSeF, an internal purchase.
V7mFile March2026() {
  V7mFile file = V7mFile::V3();
  file.sales = {Ksef(Sale(1, {{"K_19", "1000"}, {"K_20", "230"}, {"K_360", "10.40"}}), "NrKSeF", kGoodKsef),
                Ksef(Sale(2, {{"K_19", "100"}, {"K_20", "23"}}), "BFK")};
  file.saleTax = "242.6";
  file.purchases = {Ksef(Purchase(1, {{"K_42", "400"}, {"K_43", "92"}}), "DI")};
  file.purchaseTax = "92";
  return file;
}

// A register whose input tax exceeds the output tax, so a refund can be asked for.
V7mFile Excess(V7mFile file, bool v3) {
  auto mark = [v3](Row row) { return v3 ? Ksef(std::move(row), "BFK") : row; };
  file.sales = {mark(Sale(1, {{"K_19", "100"}, {"K_20", "23"}}))};
  file.saleTax = "23";
  file.purchases = {mark(Purchase(1, {{"K_42", "1000"}, {"K_43", "230"}}))};
  file.purchaseTax = "230";
  return file;
}

// The same document with its own namespace under the prefix tns.
std::string Prefixed(const std::string& xml, const std::string& ns) {
  std::string text = std::regex_replace(xml, std::regex("<(/?)([A-Z][A-Za-z0-9_]*)"), "<$1tns:$2");
  return ReplaceAll(text, "xmlns=\"" + ns + "\"", "xmlns:tns=\"" + ns + "\"");
}

std::vector<std::string> ChildNames(const xml::TXMLNode& node) {
  std::vector<std::string> names;
  for (xml::TXMLNode child : node.ChildNodes()) names.push_back(child.LocalName());
  return names;
}

std::string ElementText(const xml::TXMLNode& parent, std::initializer_list<const char*> path) {
  xml::TXMLNode node = parent;
  for (const char* name : path) node = node ? node.FindChild(name) : xml::TXMLNode();
  return node ? node.Text() : "(brak)";
}

}  // namespace

class V7m3EditorTest : public EditorTest {
 protected:
  V7m3EditorTest() : cd(dir.Path()) {
    Settings().CurDate = DateTime{2026, 3, 15};
    Clock::Freeze(DateTime{2026, 4, 2, 9, 5, 7});
  }
  // The file `name` checked against the schema of its structure: the violations, one a line.
  static std::string FileProblems(const std::string& fileName, const std::string& structure) {
    JpkValidation result = ValidateJpkFile(fileName);
    std::string problems = result.structure == structure ? "" : "struktura: " + result.structure + "\n";
    for (const SchemaViolation& violation : result.violations) problems += DescribeViolation(violation) + "\n";
    return problems;
  }
  // A JPK_V7M(2) register of March 2024, with the program's period and clock set back to it.
  V7mFile JpkV7m2Of2024() {
    Settings().CurDate = DateTime{2024, 3, 15};
    Clock::Freeze(DateTime{2024, 4, 2, 9, 5, 7});
    V7mFile file;
    file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
    file.saleTax = "23";
    file.purchases = {Purchase(1, {{"K_42", "100"}, {"K_43", "23"}})};
    file.purchaseTax = "23";
    return file;
  }
  std::vector<std::string> SaleRowNames(int index) const {
    return ChildNames(dlg.LoadedJpk.Ewidencja().SprzedazWiersz()[index]);
  }
  ChangeDir cd;
};

TEST_F(V7m3EditorTest, WindowShowsTheStructureAndWhatOnlyItHas) {
  V7mFile v2;
  v2.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  Adopt(v2);
  EXPECT_EQ(dlg.edStructure.Text, "JPK_V7M (2)");
  EXPECT_FALSE(dlg.edKsefMissing.Visible);
  EXPECT_FALSE(dlg.edP360.Visible);
  EXPECT_TRUE(dlg.rbZwrot57.Visible);

  Adopt(March2026());
  EXPECT_EQ(dlg.edStructure.Text, "JPK_V7M (3)");
  EXPECT_TRUE(dlg.edKsefMissing.Visible);
  EXPECT_TRUE(dlg.edP360.Visible);
  EXPECT_FALSE(dlg.rbZwrot57.Visible);
  EXPECT_EQ(dlg.edKsefMissing.Text, "0");
  EXPECT_EQ(dlg.edKsefMissing.BackColor, Color::BtnFace);
  EXPECT_EQ(dlg.edKsefMissing.Hint, "");

  dlg.LoadedJpk = v7m::IXMLJPK();
  dlg.RefreshInfo();
  EXPECT_EQ(dlg.edStructure.Text, "");
  EXPECT_FALSE(dlg.edKsefMissing.Visible);
}

TEST_F(V7m3EditorTest, RowsWithoutKsefAreCountedInRedAndTheFirstNamed) {
  V7mFile file = V7mFile::V3();
  file.sales.push_back(Ksef(Sale(1, {{"K_19", "10"}, {"K_20", "2.3"}}), "OFF"));
  for (int i = 2; i <= 7; ++i) file.sales.push_back(Sale(i, {{"K_19", "10"}, {"K_20", "2.3"}}));
  file.purchases = {Purchase(1, {{"K_42", "10"}, {"K_43", "2.3"}}, "ZAKUP/9")};
  Adopt(file);
  EXPECT_EQ(dlg.edKsefMissing.Text, "7");
  EXPECT_EQ(dlg.edKsefMissing.BackColor, Color::Red);
  EXPECT_TRUE(dlg.edKsefMissing.ShowHint);
  EXPECT_EQ(dlg.edKsefMissing.Hint,
            "Bez numeru KSeF ani znacznika OFF, BFK, DI: FV/2/2024, FV/3/2024, FV/4/2024, FV/5/2024, FV/6/2024 "
            "i 2 kolejnych");

  // Only the purchase left: it is named by its own document number.
  V7mFile fewer = V7mFile::V3();
  fewer.sales = {Ksef(Sale(1, {{"K_19", "10"}}), "NrKSeF", kGoodKsef)};
  fewer.purchases = {Purchase(1, {{"K_42", "10"}}, "ZAKUP/9")};
  Adopt(fewer);
  EXPECT_EQ(dlg.edKsefMissing.Text, "1");
  EXPECT_EQ(dlg.edKsefMissing.Hint, "Bez numeru KSeF ani znacznika OFF, BFK, DI: ZAKUP/9");
}

TEST_F(V7m3EditorTest, K360LowersTheOutputTaxAndGivesP360) {
  Adopt(March2026());
  dlg.RecalcJPK(dlg.LoadedJpk);
  EXPECT_EQ(ElementText(dlg.LoadedJpk, {"Ewidencja", "SprzedazCtrl", "PodatekNalezny"}), "242.6");
  EXPECT_FALSE(Modified());  // the file's total already subtracts K_360

  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_360"), "10");
  EXPECT_EQ(Position("P_20"), "253");
  EXPECT_EQ(Position("P_38"), "243");  // 253 - 10
  EXPECT_EQ(Position("P_51"), "151");  // 243 - 92
  EXPECT_EQ(PositionNames(), (std::vector<std::string>{"P_19", "P_20", "P_360", "P_37", "P_38", "P_42", "P_43", "P_48",
                                                       "P_51", "P_53"}));
  xml::TXMLNode naglowek = dlg.LoadedJpk.FindChild("Deklaracja").FindChild("Naglowek");
  EXPECT_EQ(naglowek.FindChild("KodFormularzaDekl").GetAttribute("kodSystemowy"), "VAT-7 (23)");
  EXPECT_EQ(naglowek.FindChild("WariantFormularzaDekl").Text(), "23");
  EXPECT_EQ(dlg.edP360.Text, "10");
  EXPECT_EQ(dlg.edP38.BackColor, Color::BtnFace);  // 243 against 242.60 in the register
  EXPECT_EQ(SchemaProblems(dir.File("m.xml")), "");

  // Halves go away from zero, as every position.
  V7mFile half = March2026();
  half.sales[0].fields[8].second = "10.50";  // K_360
  half.saleTax = "242.5";
  Adopt(half);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_360"), "11");
  EXPECT_EQ(Position("P_38"), "242");
}

TEST_F(V7m3EditorTest, DeclarationWithoutK360HasNoP360AndAJpkV7m2OneStaysVat7_22) {
  V7mFile file = Excess(V7mFile::V3(), true);
  Adopt(file);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_360"), "(brak)");
  EXPECT_EQ(dlg.edP360.Text, "");

  Adopt(Excess(V7mFile{}, false));
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  xml::TXMLNode naglowek = dlg.LoadedJpk.FindChild("Deklaracja").FindChild("Naglowek");
  EXPECT_EQ(naglowek.FindChild("KodFormularzaDekl").GetAttribute("kodSystemowy"), "VAT-7 (22)");
  EXPECT_EQ(naglowek.FindChild("WariantFormularzaDekl").Text(), "22");
  EXPECT_EQ(SchemaProblems(dir.File("v2.xml")), "");
}

TEST_F(V7m3EditorTest, NegativeP360IsRefusedAndTheDocumentStaysAsItWas) {
  V7mFile file = March2026();
  file.sales[0].fields[8].second = "-4";  // K_360
  file.saleTax = "257";
  Adopt(file);
  EXPECT_EQ(ErrorOf([&] { dlg.btnRecalcDeclarationClick(); }),
            "Pozycja P_360: suma K_360 wierszy sprzedaży (-4) jest ujemna, a pozycja nie może być ujemna");
  EXPECT_FALSE(dlg.LoadedJpk.FindChild("Deklaracja"));
  EXPECT_FALSE(Modified());
}

TEST_F(V7m3EditorTest, JpkV7m3OffersEveryRefundTermButSixtyDays) {
  Adopt(Excess(V7mFile::V3(), true));
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  ASSERT_EQ(Position("P_53"), "207");
  ASSERT_TRUE(dlg.gbNadwyzkaPodatku.Enabled);
  dlg.edP54.Text = "200";
  dlg.edP54Change();
  for (TRadioButton* button : {&dlg.rbZwrot540, &dlg.rbZwrot55, &dlg.rbZwrot56, &dlg.rbZwrot560, &dlg.rbZwrot58})
    EXPECT_TRUE(button->Enabled) << button->Name;
  EXPECT_FALSE(dlg.rbZwrot57.Enabled);
  EXPECT_FALSE(dlg.rbZwrot57.Visible);

  // A 60-day term left checked (by a script) does not count: the refund has no term.
  dlg.rbZwrotClick(dlg.rbZwrot57);
  EXPECT_FALSE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(ui.LastMessage(), "Wpisano kwotę do zwrotu (P_54) ale nie wybrano\rw jakiej formie go dokonać.");
  EXPECT_EQ(Position("P_57"), "(brak)");

  // The 40-day term is the basic one now: written, read back, valid.
  dlg.rbZwrotClick(dlg.rbZwrot560);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_54"), "200");
  EXPECT_EQ(Position("P_560"), "1");
  EXPECT_EQ(Position("P_57"), "(brak)");
  EXPECT_EQ(Position("P_62"), "7");
  EXPECT_TRUE(dlg.rbZwrot560.Checked);
  EXPECT_EQ(SchemaProblems(dir.File("zwrot560.xml")), "");

  dlg.rbZwrotClick(dlg.rbZwrot540);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_540"), "1");
  EXPECT_EQ(Position("P_560"), "(brak)");
  EXPECT_TRUE(dlg.rbZwrot540.Checked);
  EXPECT_FALSE(dlg.rbZwrot560.Checked);
  EXPECT_EQ(SchemaProblems(dir.File("zwrot540.xml")), "");
}

TEST_F(V7m3EditorTest, JpkV7m2WiresTheFifteenAndFortyDayTermsToo) {
  Adopt(Excess(V7mFile{}, false));
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_FALSE(dlg.rbZwrot540.Enabled);  // no refund amount yet
  dlg.edP54.Text = "100";
  dlg.edP54Change();
  for (TRadioButton* button : dlg.ZwrotButtons()) EXPECT_TRUE(button->Enabled) << button->Name;

  const std::pair<TRadioButton*, const char*> terms[] = {{&dlg.rbZwrot540, "P_540"}, {&dlg.rbZwrot560, "P_560"}};
  for (auto [button, position] : terms) {
    dlg.rbZwrotClick(*button);
    ASSERT_TRUE(dlg.btnRecalcDeclarationClick()) << position;
    EXPECT_EQ(Position(position), "1");
    EXPECT_TRUE(button->Checked) << position;  // RefreshInfo checked it again from the file
    std::vector<std::string> names = PositionNames();
    auto at = std::find(names.begin(), names.end(), position);
    ASSERT_NE(at, names.end());
    EXPECT_EQ(*(at - 1), "P_54");
    EXPECT_EQ(*(at + 1), "P_62");
    EXPECT_EQ(SchemaProblems(dir.File(std::string(position) + ".xml")), "") << position;
  }

  // Emptying the amount unchecks every term.
  dlg.edP54.Text.clear();
  dlg.edP54Change();
  for (TRadioButton* button : dlg.ZwrotButtons()) {
    EXPECT_FALSE(button->Checked) << button->Name;
    EXPECT_FALSE(button->Enabled) << button->Name;
  }
}

TEST_F(V7m3EditorTest, FilesOfDifferentStructuresAreNotLinked) {
  V7mFile v2;
  v2.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  v2.saleTax = "23";
  std::string a = dir.Write("a.xml", v2.Xml());
  std::string b = dir.Write("b.xml", March2026().Xml());
  ASSERT_TRUE(Open(a));
  EXPECT_EQ(ErrorOf([&] { Open(b, mrYes); }),
            "Nie można połączyć plików o różnych strukturach: JPK_V7M (2) i JPK_V7M (3)");
  EXPECT_EQ(dlg.edStructure.Text, "JPK_V7M (2)");
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "1");
  EXPECT_EQ(CurrentJpkFileName(), a);
  EXPECT_EQ(saveDlg.fileName, a);
  EXPECT_FALSE(Modified());
  EXPECT_EQ(ReadFile(b), March2026().Xml());

  // The other way round, and straight through LinkJPK (as the generation dialog links).
  ASSERT_TRUE(Open(b, mrNo));
  v7m::IXMLJPK other = v2.Load();
  EXPECT_EQ(ErrorOf([&] { dlg.LinkJPK(other); }),
            "Nie można połączyć plików o różnych strukturach: JPK_V7M (3) i JPK_V7M (2)");
  EXPECT_EQ(dlg.LoadedJpk.Ewidencja().SprzedazWiersz().Count(), 2);
  EXPECT_EQ(other.Ewidencja().SprzedazWiersz().Count(), 1);
  EXPECT_FALSE(Modified());
}

TEST_F(V7m3EditorTest, LinkingTwoJpkV7m3FilesKeepsTheirKsefElements) {
  V7mFile second = V7mFile::V3();
  second.sales = {Ksef(Sale(1, {{"K_19", "50"}, {"K_20", "11.5"}}), "DI")};
  second.saleTax = "11.5";
  second.purchases = {Ksef(Purchase(1, {{"K_42", "10"}, {"K_43", "2.3"}}), "NrKSeF", kGoodKsef)};
  second.purchaseTax = "2.3";
  ASSERT_TRUE(Open(dir.Write("a.xml", March2026().Xml())));
  ASSERT_TRUE(Open(dir.Write("b.xml", second.Xml()), mrYes));
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "3");
  EXPECT_EQ(dlg.edBuyLinesCount.Text, "2");
  EXPECT_EQ(dlg.edKsefMissing.Text, "0");
  EXPECT_EQ(SaleRowNames(2), (std::vector<std::string>{"LpSprzedazy", "NrKontrahenta", "NazwaKontrahenta",
                                                       "DowodSprzedazy", "DataWystawienia", "DI", "K_19", "K_20"}));
  xml::TXMLNode purchase = dlg.LoadedJpk.Ewidencja().ZakupWiersz()[1];
  EXPECT_EQ(ElementText(purchase, {"NrKSeF"}), kGoodKsef);
  EXPECT_EQ(ElementText(dlg.LoadedJpk, {"Ewidencja", "SprzedazCtrl", "PodatekNalezny"}), "254.1");
  EXPECT_EQ(SchemaProblems(dir.File("linked.xml")), "");
}

TEST_F(V7m3EditorTest, EarlierPublicationIsOpenedAsJpkV7m2AndSavedInTheCurrentOne) {
  std::string earlier = ReplaceAll(JpkV7m2Of2024().Xml(), v7m::kTargetNamespace, v7m::kTargetNamespace07081);
  // A row that binds the namespace again, under a prefix of its own, is renamed too.
  earlier = ReplaceAll(earlier, "<SprzedazWiersz>",
                       std::string("<x:SprzedazWiersz xmlns:x=\"") + v7m::kTargetNamespace07081 + "\">");
  earlier = ReplaceAll(earlier, "</SprzedazWiersz>", "</x:SprzedazWiersz>");
  std::string fileName = dir.Write("07081.xml", earlier);
  ASSERT_TRUE(Open(fileName));
  EXPECT_TRUE(ui.WasShown(kEarlierV7mPublicationMessage));
  EXPECT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(dlg.LoadedJpk.NamespaceURI(), v7m::kTargetNamespace);
  EXPECT_EQ(dlg.LoadedJpk.FindChild("Ewidencja").NamespaceURI(), v7m::kTargetNamespace);
  EXPECT_EQ(dlg.edStructure.Text, "JPK_V7M (2)");
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "1");
  EXPECT_TRUE(Modified());  // what is held differs from the file
  EXPECT_EQ(ReadFile(fileName), earlier);

  ui.QueueFileName(dir.File("11148.xml"));
  ASSERT_TRUE(dlg.btnSaveJPKClick());
  std::string saved = ReadFile(dir.File("11148.xml"));
  EXPECT_EQ(saved.find("07081"), std::string::npos);
  EXPECT_NE(saved.find(std::string("<JPK xmlns=\"") + v7m::kTargetNamespace + "\""), std::string::npos);
  EXPECT_EQ(FileProblems(dir.File("11148.xml"), "JPK_V7M (2)"), "");
}

TEST_F(V7m3EditorTest, EarlierPublicationUnderAPrefixIsRenamedAndRepaired) {
  std::string prefixed = ReplaceAll(Prefixed(JpkV7m2Of2024().Xml(), v7m::kTargetNamespace), v7m::kTargetNamespace,
                                    v7m::kTargetNamespace07081);
  ASSERT_NE(prefixed.find("<tns:ZakupWiersz>"), std::string::npos);
  std::string fileName = dir.Write("p.xml", prefixed);
  ui.QueueAnswer(Answer::Yes);  // repair the prefixes
  ASSERT_TRUE(Open(fileName));
  EXPECT_TRUE(ui.WasShown(kEarlierV7mPublicationMessage));
  EXPECT_TRUE(ui.WasShown(kPrefixQuestion));
  EXPECT_EQ(dlg.edBuyLinesCount.Text, "1");
  // The repair saved the file in the current publication, without the prefix.
  std::string repaired = ReadFile(fileName);
  EXPECT_EQ(repaired.find("07081"), std::string::npos);
  EXPECT_EQ(repaired.find("tns:"), std::string::npos);
  EXPECT_EQ(FileProblems(fileName, "JPK_V7M (2)"), "");
  EXPECT_EQ(ReadFile(dir.File("backup/~p.xml")), prefixed);
}

TEST_F(V7m3EditorTest, JpkV7m3FileIsCleanedOpenedRecalculatedAndSavedValid) {
  Settings().ClearEnter = true;
  V7mFile file = March2026();
  file.saleTax = "999";  // wrong: the recalculation mends it
  std::string oneLine = file.Xml();
  oneLine.erase(std::remove(oneLine.begin(), oneLine.end(), '\n'), oneLine.end());
  std::string fileName = dir.Write("marzec.xml", oneLine);
  ASSERT_TRUE(Open(fileName));
  EXPECT_EQ(ReadFile(dir.File("backup/_marzec.xml")), oneLine);
  EXPECT_EQ(dlg.edStructure.Text, "JPK_V7M (3)");
  EXPECT_EQ(dlg.edSaleTaxSum.Text, "242.6");
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());

  ui.QueueFileName(dir.File("zapis.xml"));
  ASSERT_TRUE(dlg.btnSaveJPKClick());
  EXPECT_EQ(FileProblems(dir.File("zapis.xml"), "JPK_V7M (3)"), "");
  // The creation stamp of JPK_V7M(3) is an instant in UTC (09:05:07 in Warsaw, summer time).
  EXPECT_EQ(ElementText(dlg.LoadedJpk, {"Naglowek", "DataWytworzeniaJPK"}), "2026-04-02T07:05:07Z");
  EXPECT_EQ(dlg.edStructure.Text, "JPK_V7M (3)");
  EXPECT_EQ(ChildNames(dlg.LoadedJpk.Ewidencja().ZakupWiersz()[0]).at(5), "DI");
  EXPECT_FALSE(Modified());
}

TEST_F(V7m3EditorTest, PrefixRepairKeepsAJpkV7m3File) {
  std::string prefixed = Prefixed(March2026().Xml(), v7m::kTargetNamespace3);
  std::string fileName = dir.Write("p3.xml", prefixed);
  ui.QueueAnswer(Answer::Yes);
  ASSERT_TRUE(Open(fileName));
  EXPECT_TRUE(ui.WasShown(kPrefixQuestion));
  EXPECT_FALSE(ui.WasShown(kEarlierV7mPublicationMessage));
  EXPECT_EQ(dlg.LoadedJpk.NamespaceURI(), v7m::kTargetNamespace3);
  EXPECT_EQ(dlg.edKsefMissing.Text, "0");
  EXPECT_EQ(ReadFile(fileName).find("tns:"), std::string::npos);
  EXPECT_EQ(FileProblems(fileName, "JPK_V7M (3)"), "");
}

TEST_F(V7m3EditorTest, ReceiptRowOfAJpkV7m3DocumentIsMarkedDi) {
  Adopt(March2026());
  ui.QueueAnswer(Answer::Yes);  // create the receipt row
  ui.QueueModal([this](Window&) {
    paragon.edNet23.Text = "100";
    paragon.edTax23.Text = "23";
    return mrOk;
  });
  dlg.btnAddParagonSaleClick();
  EXPECT_EQ(SaleRowNames(0),
            (std::vector<std::string>{"LpSprzedazy", "NrKontrahenta", "NazwaKontrahenta", "DowodSprzedazy",
                                      "DataWystawienia", "DI", "TypDokumentu", "K_19", "K_20"}));
  EXPECT_EQ(dlg.edKsefMissing.Text, "0");
  EXPECT_EQ(SchemaProblems(dir.File("paragon.xml")), "");
}

TEST_F(V7m3EditorTest, ClearingTheDeclarationKeepsTheStructure) {
  V7mFile file = March2026();
  file.positions = {{"P_19", "1100"}, {"P_20", "253"}, {"P_360", "10"}, {"P_37", "1100"}, {"P_38", "243"},
                    {"P_42", "400"},  {"P_43", "92"},  {"P_48", "92"},  {"P_51", "151"}};
  std::string fileName = dir.Write("d.xml", file.Xml());
  ASSERT_TRUE(Open(fileName));
  EXPECT_EQ(dlg.edP360.Text, "10");
  dlg.btnClearDeclarationClick();
  EXPECT_FALSE(dlg.LoadedJpk.FindChild("Deklaracja"));
  EXPECT_EQ(dlg.LoadedJpk.NamespaceURI(), v7m::kTargetNamespace3);
  EXPECT_EQ(dlg.edStructure.Text, "JPK_V7M (3)");
  EXPECT_EQ(FileProblems(fileName, "JPK_V7M (3)"), "");
}
