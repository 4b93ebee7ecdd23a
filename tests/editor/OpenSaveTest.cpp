// Opening, merging, saving and the guarding questions of the editor, with the clean-up of
// line breaks (ClearEnter) on the way in.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

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
  EXPECT_EQ(ui.LastMessage(), "Zła struktura pliku. Brak zgodności z JPK_V7M (2) ani JPK_V7M (3)");
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

TEST_F(OpenSaveTest, LineBreaksInsideTextJoinWithABlank) {
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
  // A line feed that no carriage return precedes breaks the line as well: it must not join
  // two words into one.
  EXPECT_EQ(rows[1].NazwaKontrahenta(), "Sklep Ogrodniczy");
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

TEST_F(OpenSaveTest, BrokenXmlIsReportedWithTheLineAsTheUserHasItAndTheFileKept) {
  Settings().ClearEnter = true;
  const std::string text = "<JPK>\r\n<Naglowek>\r\n</JPK>";
  std::string fileName = dir.Write("zly.xml", text);
  try {
    Open(fileName);
    FAIL();
  } catch (const Error& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("Błąd w pliku XML " + fileName + ", wiersz 3: ")) << error.what();
  }
  EXPECT_EQ(ReadFile(fileName), text);
  EXPECT_FALSE(FileExists(dir.File("backup/_zly.xml")));
  EXPECT_FALSE(FileExists(dir.File("_tmp_V7M.xml")));
}

TEST_F(OpenSaveTest, FileWithLfLineEndsKeepsTheWordsOfABrokenTextApart) {
  Settings().ClearEnter = true;
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}}, "5260250274", "Bar Mleczny\nPod Lipą")};
  file.saleTax = "23";
  std::string fileName = dir.Write("a.xml", ReplaceAll(file.Xml(), "><", ">\n<"));
  ASSERT_TRUE(Open(fileName));
  EXPECT_EQ(dlg.LoadedJpk.Ewidencja().SprzedazWiersz()[0].NazwaKontrahenta(), "Bar Mleczny Pod Lipą");
}

namespace {
// UTF-16LE with a byte-order mark, from UTF-8 text of the basic plane.
std::string Utf16Le(const std::string& utf8) {
  std::string out = "\xFF\xFE";
  for (size_t i = 0; i < utf8.size();) {
    unsigned char c = static_cast<unsigned char>(utf8[i]);
    unsigned code = c;
    int extra = c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra) code = c & (extra == 2 ? 0x0F : 0x1F);
    for (int k = 1; k <= extra; ++k) code = (code << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += 1 + extra;
    out += static_cast<char>(code & 0xFF);
    out += static_cast<char>(code >> 8);
  }
  return out;
}
}  // namespace

TEST_F(OpenSaveTest, Utf16FileIsCleanedAsTextNotAsBytes) {
  Settings().ClearEnter = true;
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}}, "5260250274", "Zakład Łączności")};
  file.saleTax = "23";
  std::string utf8 = ReplaceAll(file.Xml(), "encoding=\"UTF-8\"", "encoding=\"UTF-16\"");
  std::string original = Utf16Le(ReplaceAll(utf8, "><", ">\r\n<"));
  std::string fileName = dir.Write("a.xml", original);
  ASSERT_TRUE(Open(fileName));
  EXPECT_EQ(dlg.LoadedJpk.Ewidencja().SprzedazWiersz()[0].NazwaKontrahenta(), "Zakład Łączności");
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "1");
  // The file is now the program's UTF-8 form; the backup holds it as it was.
  EXPECT_EQ(ReadFile(dir.File("backup/_a.xml")), original);
  std::string now = ReadFile(fileName);
  EXPECT_TRUE(now.starts_with("<?xml version=\"1.0\" encoding=\"UTF-8\"?>")) << now.substr(0, 60);
  EXPECT_NE(now.find("Zakład Łączności"), std::string::npos);
}

TEST_F(OpenSaveTest, MissingFileIsNamedAndNoBackupIsMade) {
  for (bool clearEnter : {true, false}) {
    Settings().ClearEnter = clearEnter;
    try {
      Open(dir.File("brak.xml"));
      FAIL() << "opened";
    } catch (const Error& error) {
      EXPECT_EQ(std::string(error.what()), "Brak pliku " + dir.File("brak.xml"));
    }
    EXPECT_FALSE(FileExists(dir.File("backup/_brak.xml")));
  }
}

TEST_F(OpenSaveTest, FolderGivenAsTheFileIsRefusedAndNotMovedIntoTheBackup) {
  Settings().ClearEnter = true;
  dir.Write("teczka.xml/plik.txt", "x");
  try {
    Open(dir.File("teczka.xml"));
    FAIL() << "opened";
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), dir.File("teczka.xml") + " nie jest zwykłym plikiem");
  }
  EXPECT_EQ(ReadFile(dir.File("teczka.xml/plik.txt")), "x");
  EXPECT_FALSE(std::filesystem::exists(dir.File("backup/_teczka.xml")));
}

TEST_F(OpenSaveTest, SymbolicLinkIsFollowedAndTheFileItPointsToIsCleaned) {
  Settings().ClearEnter = true;
  std::string oneLine = FiveSalesTwoPurchases().Xml();
  oneLine.erase(std::remove(oneLine.begin(), oneLine.end(), '\n'), oneLine.end());
  std::string real = dir.Write("dane/a.xml", oneLine);
  std::filesystem::create_symlink(real, dir.File("link.xml"));
  ASSERT_TRUE(Open(dir.File("link.xml")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.xml")));
  EXPECT_NE(ReadFile(real).find("\n\t<Naglowek>\n"), std::string::npos);
  EXPECT_EQ(ReadFile(dir.File("dane/backup/_a.xml")), oneLine);
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "5");
}

// A file of the scratch name of older versions, and a folder of that name, are no longer
// in the way: the clean-up writes nothing into the working folder.
TEST_F(OpenSaveTest, FileOrFolderNamedLikeTheOldScratchFileIsLeftAlone) {
  Settings().ClearEnter = true;
  std::string oneLine = FiveSalesTwoPurchases().Xml();
  oneLine.erase(std::remove(oneLine.begin(), oneLine.end(), '\n'), oneLine.end());
  std::string fileName = dir.Write("_tmp_V7M.xml", oneLine);
  ASSERT_TRUE(Open(fileName));
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "5");
  EXPECT_EQ(ReadFile(dir.File("backup/__tmp_V7M.xml")), oneLine);

  TempDir other;
  ChangeDir there(other.Path());
  other.Write("_tmp_V7M.xml/x", "x");
  std::string second = other.Write("b.xml", oneLine);
  ASSERT_TRUE(Open(second, mrNo));
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "5");
  EXPECT_EQ(ReadFile(other.File("backup/_b.xml")), oneLine);
}

// The backup cannot be written (a folder stands where it goes, and "backup" is a plain
// file, as in a folder where nothing can be created): the file stays as it was, not only
// in the backup.
TEST_F(OpenSaveTest, BackupThatCannotBeMadeLeavesTheFileWhereItWas) {
  Settings().ClearEnter = true;
  std::string oneLine = FiveSalesTwoPurchases().Xml();
  oneLine.erase(std::remove(oneLine.begin(), oneLine.end(), '\n'), oneLine.end());
  std::string fileName = dir.Write("a.xml", oneLine);
  dir.Write("backup", "not a folder");
  dir.Write("_a.xml/x", "a folder in the way");
  try {
    Open(fileName);
    FAIL() << "opened";
  } catch (const Error& error) {
    EXPECT_TRUE(std::string(error.what()).starts_with("Nie można utworzyć kopii zapasowej:\r" + dir.File("_a.xml")))
        << error.what();
  }
  EXPECT_EQ(ReadFile(fileName), oneLine);
  EXPECT_FALSE(dlg.LoadedJpk);
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
