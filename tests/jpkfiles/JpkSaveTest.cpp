// Saving JPK files: the reformat pass, the schema check after it, save-as with its default
// names, and the failures that must leave the previous file intact.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/MainForm.h"
#include "app/ui/ScriptedUi.h"
#include "base/Error.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "model/xml/XmlErrors.h"
#include "tests/jpkfiles/JpkFixtures.h"

using namespace velkar;

namespace {

size_t FilesIn(const std::string& dir) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

// A main window whose save dialog the save-as functions use.
struct MainWindowScope {
  TMainForm form;
  MainWindowScope() { SetMainForm(&form); }
  ~MainWindowScope() { SetMainForm(nullptr); }
};

v7m::IXMLJPK NewV7() {
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  InitJpkV7Doc(doc);
  SetJpkV7Header(doc, false);
  return doc;
}

std::string SchemaCheck(const std::string& file) {
  JpkValidation result = ValidateJpkFile(file, test::SchemaDir());
  std::string text;
  for (const auto& v : result.violations) text += DescribeViolation(v) + "\n";
  return text;
}

}  // namespace

TEST(JpkSave, EveryKindWithTheLeastContentValidatesAgainstItsSchema) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  ScriptedUi ui;
  for (const ProgramSettings& settings : {test::CompanySettings(), test::PersonSettings()}) {
    test::TaxpayerScope taxpayer(settings);
    v7m::IXMLJPK v7 = NewV7();
    SaveJpkFile(v7, dir.File("v7m.xml"));
    EXPECT_EQ(SchemaCheck(dir.File("v7m.xml")), "");
  }
  test::TaxpayerScope taxpayer;
  fa::IXMLJPKFA fa = fa::NewJpkFA();
  InitJpkFADoc(fa);
  SetJpkFAHeader(fa);
  test::AddLeastInvoiceContent(fa);
  SaveJpkFile(fa, dir.File("fa.xml"));
  EXPECT_EQ(SchemaCheck(dir.File("fa.xml")), "");

  mag::IXMLJPKMAG mag = mag::NewJpkMAG();
  InitJpkMAGDoc(mag);
  SetJpkMAGHeader(mag);
  test::AddLeastWarehouseContent(mag);
  SaveJpkFile(mag, dir.File("mag.xml"));
  EXPECT_EQ(SchemaCheck(dir.File("mag.xml")), "");

  kr::IXMLJPKKR kr = kr::NewJpkKR();
  InitJpkKRDoc(kr);
  SetJpkKRHeader(kr);
  test::AddLeastLedgerContent(kr);
  SaveJpkFile(kr, dir.File("kr.xml"));
  EXPECT_EQ(SchemaCheck(dir.File("kr.xml")), "");

  // The check after each save found nothing to warn about.
  EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();
}

TEST(JpkSave, TheSavedFileIsUtf8OneElementPerLineWithTabsAndTheDocumentIsReadBack) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  test::TaxpayerScope taxpayer;
  ScriptedUi ui;
  v7m::IXMLJPK doc = NewV7();
  auto header = doc.Naglowek();
  SaveJpkFile(doc, dir.File("a.xml"));
  std::string text = test::ReadFile(dir.File("a.xml"));
  EXPECT_TRUE(text.starts_with(
      "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\" "
      "xmlns:etd=\"http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2021/06/08/eD/DefinicjeTypy/\">\n\t<Naglowek>\n"
      "\t\t<KodFormularza kodSystemowy=\"JPK_V7M (2)\" wersjaSchemy=\"1-0E\">JPK_VAT</KodFormularza>\n"
      "\t\t<WariantFormularza>2</WariantFormularza>\n"))
      << text;
  EXPECT_TRUE(
      text.ends_with("\t\t\t<PelnaNazwa>Firma Testowa Sp. z o.o.</PelnaNazwa>\n"
                     "\t\t\t<Email>biuro@firma.pl</Email>\n\t\t</OsobaNiefizyczna>\n\t</Podmiot1>\n</JPK>\n"))
      << text;
  // The caller now holds the document read back from the file; nodes taken before belong
  // to the released one.
  EXPECT_EQ(doc.OwnerDocument()->FileName(), dir.File("a.xml"));
  EXPECT_EQ(doc.Naglowek().KodUrzedu(), "1471");
  EXPECT_FALSE(header.OwnerDocument() == doc.OwnerDocument());
}

TEST(JpkSave, ASavedFileThatBreaksItsSchemaStaysSavedWithOneWarning) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  ProgramSettings s = test::CompanySettings();
  s.USCode = "9999";
  test::TaxpayerScope taxpayer(s);
  ScriptedUi ui;
  fa::IXMLJPKFA doc = fa::NewJpkFA();
  InitJpkFADoc(doc);
  SetJpkFAHeader(doc);
  SaveJpkFile(doc, dir.File("fa.xml"));
  EXPECT_TRUE(std::filesystem::exists(dir.File("fa.xml")));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Warning);
  EXPECT_TRUE(ui.LastMessage().starts_with("Plik " + dir.File("fa.xml") +
                                           " nie jest zgodny ze schematem JPK_FA (4).\rPlik został zapisany. "
                                           "Naruszenia:\rwiersz 10 (KodUrzedu): "))
      << ui.LastMessage();
  EXPECT_NE(ui.LastMessage().find("(JPK): Element 'JPK': Missing child element(s). Expected is ( Faktura )."),
            std::string::npos)
      << ui.LastMessage();
}

TEST(JpkSave, ReformatNeedsADocumentAndAFileName) {
  fa::IXMLJPKFA fa;
  try {
    ReformatJpkFAFile(fa, "a.xml");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Błąd formatowania pliku JPK_FA");
  }
  mag::IXMLJPKMAG mag = mag::NewJpkMAG();
  EXPECT_THROW(ReformatJpkMAGFile(mag, ""), Error);
  kr::IXMLJPKKR kr;
  try {
    ReformatJpkKRFile(kr, "a.xml");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Błąd formatowania pliku JPK_KR");
  }
}

TEST(JpkSave, AReformatThatCannotParseStillReloadsAndRaises) {
  test::TempDir dir;
  std::string file = dir.Write("a.xml", "<JPK><A></JPK>");
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  EXPECT_THROW(ReformatJpkV7File(doc, file), xml::EXMLDocError);
  EXPECT_TRUE(doc.IsNull());  // nothing could be read back either
  EXPECT_EQ(test::ReadFile(file), "<JPK><A></JPK>");
}

TEST(JpkSave, AFolderThatCannotBeWrittenLeavesNothingBehind) {
  test::TempDir dir;
  test::TaxpayerScope taxpayer;
  dir.Write("plik", "x");
  v7m::IXMLJPK doc = NewV7();
  try {
    SaveJpkFile(doc, dir.File("plik/a.xml"));
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Nie można zapisać pliku " + dir.File("plik/a.xml"))) << e.what();
  }
  EXPECT_EQ(test::ReadFile(dir.File("plik")), "x");
  EXPECT_EQ(FilesIn(dir.Path()), 1u);
  EXPECT_FALSE(doc.IsNull());  // the document was not saved, so it stays the caller's
}

TEST(JpkSave, AWriteFailureHalfwayKeepsTheOldFile) {
  test::TempDir dir;
  test::TaxpayerScope taxpayer;
  std::string target = dir.Write("a.xml", "<JPK>stary</JPK>");
  v7m::IXMLJPK doc = NewV7();
  for (int i = 0; i < 200; ++i) doc.Ewidencja().SprzedazWiersz().Add().Set_LpSprzedazy(i + 1);
  {
    test::FileSizeLimit limit(2048);
    EXPECT_THROW(SaveJpkFile(doc, target), Error);
  }
  EXPECT_EQ(test::ReadFile(target), "<JPK>stary</JPK>");
  EXPECT_EQ(FilesIn(dir.Path()), 1u);  // no temporary file left
}

TEST(JpkSaveAs, ProposesThePeriodNameAndSavesUnderTheWaitMessage) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  ProgramSettings s = test::CompanySettings();
  s.SaveDir = dir.Path();
  s.NameSufix = "_firma";
  test::TaxpayerScope taxpayer(s);
  MainWindowScope main;
  ScriptedUi ui;
  fa::IXMLJPKFA doc = fa::NewJpkFA();
  InitJpkFADoc(doc);
  SetJpkFAHeader(doc);
  test::AddLeastInvoiceContent(doc);
  fa::IXMLJPKFA before = doc;
  ui.QueueFileName(dir.File("faktury.xml"));
  SaveJpkFAAs(doc);

  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_JPK_FA_firma");
  EXPECT_EQ(ui.FileDialogs()[0].initialDir, dir.Path());
  EXPECT_EQ(ui.WaitHints(), std::vector<std::string>{"Proszę czekać. Trwa zapisywanie pliku..."});
  EXPECT_FALSE(ui.WaitHintVisible());
  EXPECT_EQ(ui.BusyDepth(), 0);
  EXPECT_EQ(CurrentJpkFileName(), dir.File("faktury.xml"));
  EXPECT_EQ(SchemaCheck(dir.File("faktury.xml")), "");
  EXPECT_FALSE(doc.OwnerDocument() == before.OwnerDocument());  // a new instance read from the file

  // The next JPK_FA save proposes the name the dialog last held.
  ui.QueueFileName("");
  SaveJpkFAAs(doc);
  EXPECT_EQ(ui.FileDialogs()[1].fileName, dir.File("faktury.xml"));
}

TEST(JpkSaveAs, KRProposesThePeriodNameAgainOnEverySave) {
  test::TempDir dir;
  test::SchemaDirForProgram schemas;
  ProgramSettings s = test::CompanySettings();
  s.SaveDir = dir.Path();
  test::TaxpayerScope taxpayer(s);
  MainWindowScope main;
  ScriptedUi ui;
  kr::IXMLJPKKR doc = kr::NewJpkKR();
  InitJpkKRDoc(doc);
  SetJpkKRHeader(doc);
  test::AddLeastLedgerContent(doc);
  ui.QueueFileName(dir.File("ksiegi.xml"));
  SaveJpkKRAs(doc);
  ui.QueueFileName(dir.File("ksiegi2.xml"));
  SaveJpkKRAs(doc);
  ASSERT_EQ(ui.FileDialogs().size(), 2u);
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_JPK_KR");
  EXPECT_EQ(ui.FileDialogs()[1].fileName, "2024-03_JPK_KR");
  EXPECT_EQ(SchemaCheck(dir.File("ksiegi2.xml")), "");
  EXPECT_TRUE(ui.Messages().empty()) << ui.LastMessage();
}

TEST(JpkSaveAs, CancelShowsNoWaitMessageAndWritesNothing) {
  test::TempDir dir;
  ProgramSettings s = test::CompanySettings();
  s.SaveDir = dir.Path();
  test::TaxpayerScope taxpayer(s);
  MainWindowScope main;
  ScriptedUi ui;
  CurrentJpkFileName() = "poprzedni.xml";
  mag::IXMLJPKMAG doc = mag::NewJpkMAG();
  InitJpkMAGDoc(doc);
  SetJpkMAGHeader(doc);
  mag::IXMLJPKMAG before = doc;
  SaveJpkMAGAs(doc);  // no name queued: the dialog is cancelled
  EXPECT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_JPK_MAG");
  EXPECT_TRUE(ui.WaitHints().empty());
  EXPECT_EQ(FilesIn(dir.Path()), 0u);
  EXPECT_EQ(CurrentJpkFileName(), "poprzedni.xml");
  EXPECT_TRUE(doc == before);
}

TEST(JpkSaveAs, AnInactiveDocumentAndAFailedSaveAreReported) {
  test::TempDir dir;
  test::TaxpayerScope taxpayer;
  MainWindowScope main;
  ScriptedUi ui;
  mag::IXMLJPKMAG doc = mag::NewJpkMAG();
  doc.OwnerDocument()->SetActive(false);
  mag::IXMLJPKMAG inactive = mag::NewJpkMAG();
  inactive.OwnerDocument()->SetActive(false);
  try {
    SaveJpkMAGAs(inactive);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Brak aktywnego pliku JPK_MAG");
  }
  EXPECT_TRUE(ui.FileDialogs().empty());

  fa::IXMLJPKFA fa = fa::NewJpkFA();
  dir.Write("plik", "x");
  ui.QueueFileName(dir.File("plik/fa.xml"));
  EXPECT_THROW(SaveJpkFAAs(fa), Error);
  EXPECT_FALSE(ui.WaitHintVisible());  // removed although the save failed
  EXPECT_EQ(ui.BusyDepth(), 0);
  EXPECT_EQ(ui.WaitHints().size(), 1u);
}
