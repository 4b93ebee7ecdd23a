// Opening, merging, saving and the guarding questions of the editor, with the clean-up of
// line breaks (ClearEnter) on the way in.
#include <gtest/gtest.h>

#include <algorithm>

#include "base/Paths.h"
#include "base/Text.h"
#include "tests/editor/V7mFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {

V7mFile FiveSalesTwoPurchases() {
  V7mFile file;
  for (int i = 1; i <= 5; ++i) file.sales.push_back(Sale(i, {{"K_19", "100"}, {"K_20", "23"}}));
  file.saleTax = "115";
  file.purchases = {Purchase(1, {{"K_42", "10"}, {"K_43", "2.3"}}), Purchase(2, {{"K_42", "20"}, {"K_43", "4.6"}})};
  file.purchaseTax = "6.9";
  return file;
}

V7mFile ThreeSales() {
  V7mFile file;
  for (int i = 1; i <= 3; ++i) {
    file.sales.push_back(Sale(i, {{"K_19", "10"}, {"K_20", "2.3"}}));
    file.sales.back().fields[3].second = "B/" + std::to_string(i);
  }
  file.saleTax = "6.9";
  return file;
}

std::vector<std::string> Names(const xml::TXMLNode& parent) {
  std::vector<std::string> names;
  for (xml::TXMLNode child : parent.ChildNodes()) names.push_back(child.LocalName());
  return names;
}

}  // namespace

class OpenSaveTest : public EditorTest {
 protected:
  OpenSaveTest() : cd(dir.Path()) {}
  ChangeDir cd;
};

TEST_F(OpenSaveTest, OpeningWithoutADocumentAsksNothing) {
  std::string fileName = dir.Write("a.xml", FiveSalesTwoPurchases().Xml());
  ASSERT_TRUE(Open(fileName));
  EXPECT_TRUE(ui.ModalWindows().empty());
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "5");
  EXPECT_EQ(dlg.Caption, fileName + " - Torvik JPK");
  EXPECT_EQ(saveDlg.fileName, fileName);
  EXPECT_EQ(openDlg.initialDir, dir.Path());
  EXPECT_EQ(saveDlg.initialDir, dir.Path());
  EXPECT_FALSE(Modified());
}

TEST_F(OpenSaveTest, OpeningOverAnUnmodifiedDocumentAsksToLinkButNotToSave) {
  std::string a = dir.Write("a.xml", FiveSalesTwoPurchases().Xml());
  std::string b = dir.Write("b.xml", ThreeSales().Xml());
  ASSERT_TRUE(Open(a));
  EXPECT_FALSE(Open(b, mrCancel));  // the link question closed: nothing happens
  EXPECT_EQ(ui.ModalWindows(), (std::vector<std::string>{"TdlgLinkAsk"}));
  EXPECT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "5");

  ASSERT_TRUE(Open(b, mrNo));  // "Nowy plik"
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "3");
  EXPECT_EQ(CurrentJpkFileName(), b);
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(OpenSaveTest, ModifiedDocumentAsksToSaveFirst) {
  std::string a = dir.Write("a.xml", FiveSalesTwoPurchases().Xml());
  ASSERT_TRUE(Open(a));
  dlg.LoadedJpk.OwnerDocument()->SetModified(true);
  ui.QueueAnswer(Answer::Cancel);
  EXPECT_FALSE(dlg.btnOpenJPKClick());
  EXPECT_EQ(ui.LastMessage(), "Zapisać dokonane zmiany?");
  EXPECT_TRUE(ui.ModalWindows().empty());

  // Closing the editor asks too, and closes whatever the answer.
  ui.QueueAnswer(Answer::No);
  EXPECT_TRUE(dlg.FormCloseQuery());
  EXPECT_EQ(ui.Messages().size(), 2u);
}

TEST_F(OpenSaveTest, MergingAppendsTheRowsAndRenumbers) {
  std::string a = dir.Write("a.xml", FiveSalesTwoPurchases().Xml());
  std::string b = dir.Write("b.xml", ThreeSales().Xml());
  ASSERT_TRUE(Open(a));
  ui.QueueAnswer(Answer::No);  // the save question after the merge
  ASSERT_TRUE(Open(b, mrYes));
  EXPECT_EQ(ui.Messages()[0].text, "Pomyślnie połączono pliki JPK:\rnowy plik");
  EXPECT_EQ(ui.LastMessage(), "Zapisać dokonane zmiany?");
  EXPECT_EQ(CurrentJpkFileName(), kNewJpkFileName);
  EXPECT_EQ(saveDlg.fileName, "");
  auto rows = dlg.LoadedJpk.Ewidencja().SprzedazWiersz();
  ASSERT_EQ(rows.Count(), 8);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(rows[i].LpSprzedazy(), i + 1);
  EXPECT_EQ(rows[4].DowodSprzedazy(), "FV/5/2024");
  EXPECT_EQ(rows[5].DowodSprzedazy(), "B/1");
  EXPECT_EQ(rows[7].DowodSprzedazy(), "B/3");
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "8");
  EXPECT_EQ(dlg.edSaleTaxSum.Text, "121.9");
  EXPECT_EQ(dlg.edBuyLinesCount.Text, "2");
  EXPECT_EQ(dlg.Caption, "*nowy plik - Torvik JPK");
  EXPECT_EQ(SchemaProblems(dir.File("m.xml")), "");
}

TEST_F(OpenSaveTest, MergingPurchasesIntoADocumentWithoutZakupCtrlCreatesIt) {
  V7mFile a;
  a.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  a.saleTax = "23";
  a.purchaseCount = "-";
  V7mFile b;
  b.purchases = {Purchase(1, {{"K_42", "10"}, {"K_43", "2.3"}}), Purchase(2, {{"K_42", "20"}, {"K_43", "4.6"}})};
  Adopt(a);  // as the generation dialog hands over a document: no recalculation yet
  dlg.LinkJPK(b.Load());
  dlg.RefreshInfo();
  xml::TXMLNode ewidencja = dlg.LoadedJpk.FindChild("Ewidencja");
  EXPECT_EQ(Names(ewidencja),
            (std::vector<std::string>{"SprzedazWiersz", "SprzedazCtrl", "ZakupWiersz", "ZakupWiersz", "ZakupCtrl"}));
  EXPECT_EQ(dlg.edBuyLinesCount.Text, "2");
  EXPECT_EQ(dlg.edBuyTaxSum.Text, "6.9");
}

TEST_F(OpenSaveTest, LinkedRowsTakeTheTargetsNamespaceAndOnlyTheirFieldsTexts) {
  Adopt(FiveSalesTwoPurchases());
  // A prefixed source whose second row carries an attribute and a comment.
  std::string source =
      ReplaceAll(ReplaceAll(ThreeSales().Xml(), "<JPK xmlns=", "<tns:JPK xmlns:tns="), "</JPK>", "</tns:JPK>");
  for (const char* tag : {"Naglowek",
                          "KodFormularza",
                          "WariantFormularza",
                          "DataWytworzeniaJPK",
                          "NazwaSystemu",
                          "CelZlozenia",
                          "KodUrzedu",
                          "Rok",
                          "Miesiac",
                          "Podmiot1",
                          "OsobaNiefizyczna",
                          "NIP",
                          "PelnaNazwa",
                          "Email",
                          "Ewidencja",
                          "SprzedazWiersz",
                          "LpSprzedazy",
                          "NrKontrahenta",
                          "NazwaKontrahenta",
                          "DowodSprzedazy",
                          "DataWystawienia",
                          "K_19",
                          "K_20",
                          "SprzedazCtrl",
                          "LiczbaWierszySprzedazy",
                          "PodatekNalezny",
                          "ZakupCtrl",
                          "LiczbaWierszyZakupow",
                          "PodatekNaliczony"}) {
    source = ReplaceAll(source, std::string("<") + tag + ">", std::string("<tns:") + tag + ">");
    source = ReplaceAll(source, std::string("<") + tag + " ", std::string("<tns:") + tag + " ");
    source = ReplaceAll(source, std::string("</") + tag + ">", std::string("</tns:") + tag + ">");
  }
  size_t second = source.find("<tns:SprzedazWiersz>", source.find("<tns:SprzedazWiersz>") + 1);
  source.replace(second, 20, "<tns:SprzedazWiersz id=\"x\"><!-- uwaga -->");
  v7m::IXMLJPK added = v7m::LoadJpkV7FromXML(source);
  dlg.LinkJPK(added);
  std::string merged = dlg.LoadedJpk.OwnerDocument()->SaveToXML();
  EXPECT_EQ(merged.find("tns:"), std::string::npos);
  EXPECT_EQ(merged.find("id="), std::string::npos);
  EXPECT_EQ(merged.find("uwaga"), std::string::npos);
  auto rows = dlg.LoadedJpk.Ewidencja().SprzedazWiersz();
  ASSERT_EQ(rows.Count(), 8);
  EXPECT_EQ(rows[6].DowodSprzedazy(), "B/2");
  EXPECT_EQ(rows[7].LpSprzedazy(), 8);
  EXPECT_EQ(SchemaProblems(dir.File("m.xml")), "");
}

TEST_F(OpenSaveTest, FirstSaveProposesThePeriodAndTheSuffix) {
  Settings().NameSufix = "_a";
  Settings().SaveDir = dir.Path();
  V7mFile file = FiveSalesTwoPurchases();
  Adopt(file);
  ui.QueueFileName(dir.File("zapis.xml"));
  ASSERT_TRUE(dlg.btnSaveJPKClick());
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_JPK_V7M_a");
  EXPECT_EQ(ui.FileDialogs()[0].initialDir, dir.Path());
  EXPECT_EQ(CurrentJpkFileName(), dir.File("zapis.xml"));
  EXPECT_EQ(saveDlg.fileName, dir.File("zapis.xml"));
  EXPECT_EQ(dlg.Caption, dir.File("zapis.xml") + " - Torvik JPK");
  EXPECT_EQ(dlg.edGenDate.Text, "2024-04-02T09:05:07");
  std::string saved = ReadFile(dir.File("zapis.xml"));
  EXPECT_TRUE(saved.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK")) << saved.substr(0, 80);
  EXPECT_NE(saved.find("\n\t<Naglowek>\n\t\t<KodFormularza"), std::string::npos);
  EXPECT_TRUE(ValidateJpkFile(dir.File("zapis.xml")).Valid());
  EXPECT_EQ(ui.BusyDepth(), 0);

  // A second save proposes the name the document now lives under; a cancel writes nothing.
  ui.QueueFileName("");
  EXPECT_FALSE(dlg.btnSaveJPKClick());
  EXPECT_EQ(ui.FileDialogs()[1].fileName, dir.File("zapis.xml"));
}

TEST_F(OpenSaveTest, SavingAnInactiveDocumentIsRefused) {
  Adopt(V7mFile{});
  dlg.LoadedJpk.OwnerDocument()->SetActive(false);
  try {
    dlg.btnSaveJPKClick();
    FAIL();
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Brak aktywnego pliku JPK");
  }
}

TEST_F(OpenSaveTest, FileOfAnotherStructureIsRejected) {
  std::string fa = dir.Write("fa.xml",
                             "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                             "<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2022/02/17/02171/\"><Naglowek/></JPK>\n");
  std::string other = dir.Write("x.xml", "<?xml version=\"1.0\"?><Faktura/>");
  EXPECT_FALSE(Open(fa));
  EXPECT_EQ(ui.LastMessage(), "Zła struktura pliku. Brak zgodności z JPK_V7M (2)");
  EXPECT_EQ(ui.Messages().back().kind, MessageKind::Error);
  EXPECT_FALSE(dlg.LoadedJpk);
  EXPECT_EQ(CurrentJpkFileName(), kNewJpkFileName);  // a rejected file leaves the editor as it was
  EXPECT_FALSE(Open(other));
  EXPECT_EQ(ui.Messages().size(), 2u);
}

TEST_F(OpenSaveTest, MissingRolaIsAddedAndReported) {
  V7mFile file;
  file.podmiot =
      "<Podmiot1><OsobaNiefizyczna><NIP>5250001090</NIP><PelnaNazwa>F</PelnaNazwa>"
      "<Email>a@b.pl</Email></OsobaNiefizyczna></Podmiot1>";
  ASSERT_TRUE(Open(dir.Write("a.xml", file.Xml())));
  EXPECT_EQ(ui.LastMessage(), "Dodano brakujący atrybut: \"Rola\" w węźle XML:\r<Podmiot1 rola=\"Podatnik\">");
  EXPECT_EQ(dlg.LoadedJpk.FindChild("Podmiot1").GetAttribute("rola"), "Podatnik");
  EXPECT_TRUE(dlg.Caption.starts_with("*"));
}

TEST_F(OpenSaveTest, OneLineFileIsReindentedAndKeptAsBackup) {
  Settings().ClearEnter = true;
  std::string oneLine = FiveSalesTwoPurchases().Xml();
  oneLine.erase(std::remove(oneLine.begin(), oneLine.end(), '\n'), oneLine.end());
  std::string fileName = dir.Write("a.xml", oneLine);
  ASSERT_TRUE(Open(fileName));
  EXPECT_EQ(ReadFile(dir.File("backup/_a.xml")), oneLine);
  std::string now = ReadFile(fileName);
  EXPECT_NE(now, oneLine);
  EXPECT_NE(now.find("\n\t<Naglowek>\n"), std::string::npos);
  EXPECT_FALSE(FileExists(dir.File("_tmp_V7M.xml")));
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "5");
  EXPECT_FALSE(Modified());

  // Opened again, the re-indented file comes out the same size: it is left as it is.
  ASSERT_TRUE(Open(fileName, mrNo));
  EXPECT_EQ(ReadFile(fileName), now);
  EXPECT_EQ(ReadFile(dir.File("backup/_a.xml")), now);
  EXPECT_FALSE(FileExists(dir.File("_tmp_V7M.xml")));
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "5");
}

TEST_F(OpenSaveTest, ReindentedTextOfTheSameSizeBringsTheOriginalBack) {
  Settings().ClearEnter = true;
  // Written as the program writes files, but with one attribute in single quotes: the
  // re-indented text has the same length and other bytes, so the file stays as it was.
  std::string fileName = dir.Write("a.xml", FiveSalesTwoPurchases().Xml());
  ASSERT_TRUE(Open(fileName));
  ui.QueueFileName(fileName);
  ASSERT_TRUE(dlg.btnSaveJPKClick());
  std::string canonical = ReadFile(fileName);
  std::string quoted = ReplaceAll(canonical, "rola=\"Podatnik\"", "rola='Podatnik'");
  ASSERT_NE(quoted, canonical);
  dir.Write("a.xml", quoted);
  ASSERT_TRUE(Open(fileName, mrNo));
  EXPECT_EQ(ReadFile(fileName), quoted);
  EXPECT_EQ(dlg.LoadedJpk.FindChild("Podmiot1").GetAttribute("rola"), "Podatnik");
  EXPECT_FALSE(Modified());

  // Blank lines after the document make the re-indented text shorter: it replaces the file.
  dir.Write("a.xml", canonical + "\n\n");
  ASSERT_TRUE(Open(fileName, mrNo));
  EXPECT_EQ(ReadFile(fileName), canonical);
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "5");
}

TEST_F(OpenSaveTest, LineBreaksInsideTextJoinWithABlankOnlyAfterACarriageReturn) {
  Settings().ClearEnter = true;
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}}, "5260250274", "Firma\r\nHandlowa"),
                Sale(2, {{"K_19", "100"}, {"K_20", "23"}}, "5260250274", "Sklep\nOgrodniczy")};
  file.sales[1].fields[3].second = "FV>\r\n2";
  file.saleTax = "46";
  std::string text = file.Xml();
  text = ReplaceAll(text, "><", ">\r\n<");
  ASSERT_TRUE(Open(dir.Write("a.xml", text)));
  auto rows = dlg.LoadedJpk.Ewidencja().SprzedazWiersz();
  EXPECT_EQ(rows[0].NazwaKontrahenta(), "Firma Handlowa");
  EXPECT_EQ(rows[1].NazwaKontrahenta(), "SklepOgrodniczy");
  EXPECT_EQ(rows[1].DowodSprzedazy(), "FV>2");
  EXPECT_FALSE(Modified());
}

TEST_F(OpenSaveTest, EmptyFileStaysWhereItWas) {
  Settings().ClearEnter = true;
  std::string fileName = dir.Write("pusty.xml", "");
  EXPECT_FALSE(Open(fileName));
  EXPECT_EQ(ui.LastMessage(), "Brak danych do odczytu");
  EXPECT_TRUE(FileExists(fileName));
  EXPECT_TRUE(FileExists(dir.File("backup/_pusty.xml")));
  EXPECT_FALSE(FileExists(dir.File("_tmp_V7M.xml")));
  EXPECT_FALSE(dlg.LoadedJpk);
}

TEST_F(OpenSaveTest, BrokenXmlIsReportedAndTheFileKept) {
  Settings().ClearEnter = true;
  std::string fileName = dir.Write("zly.xml", "<JPK><Naglowek>\r\n</JPK>");
  try {
    Open(fileName);
    FAIL();
  } catch (const Error& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("Błąd w pliku XML " + fileName + ", wiersz 1: ")) << error.what();
  }
  EXPECT_EQ(ReadFile(fileName), "<JPK><Naglowek>\r\n</JPK>");
  EXPECT_FALSE(FileExists(dir.File("_tmp_V7M.xml")));
}

namespace {
// Stands in for the new-JPK_V7M dialog: hands a document to the editor and ends with OK.
class GeneratorStandIn : public Window {
 public:
  explicit GeneratorStandIn(TJpkVatDlg& editor) : Window("TGenJpkVatDlg", "Nowy JPK_V7M"), editor_(editor) {}
  void FormShow() override {
    editor_.LoadedJpk = V7mFile{}.Load();
    editor_.RecalcJPK(editor_.LoadedJpk);
  }

 private:
  TJpkVatDlg& editor_;
};
}  // namespace

TEST_F(OpenSaveTest, GenerationAsksToSaveTheNewFile) {
  dlg.btnMakeJPKClick();  // no generation dialog: nothing
  EXPECT_TRUE(ui.ModalWindows().empty());
  GeneratorStandIn generator(dlg);
  dlg.GenJpkVatDlg = &generator;
  ui.QueueModal([](Window&) { return mrOk; });
  ui.QueueAnswer(Answer::No);
  dlg.btnMakeJPKClick();
  EXPECT_EQ(ui.ModalWindows(), (std::vector<std::string>{"TGenJpkVatDlg"}));
  EXPECT_EQ(ui.LastMessage(), "Zapisać wygenerowany plik?");
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "0");
}
