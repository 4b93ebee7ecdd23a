// TExchFormatDlg: its controls and defaults, the two right buttons, the checks before
// loading with their messages, the refusal of JPK_FA to Buchalter, and a file of another
// structure than the chosen input format.
#include "tests/exchange/ExchangeFixture.h"

namespace velkar::test {
namespace {

using ExchFormatDlgTest = ExchangeTest;

TEST_F(ExchFormatDlgTest, ControlsAndDefaultsWhenShown) {
  EXPECT_EQ(dlg.Caption, "Konwersja danych");
  EXPECT_EQ(dlg.cbInputFormat.Items, (std::vector<std::string>{"JPK_FA (4)", "JPK_V7M (2)"}));
  EXPECT_EQ(dlg.cbOutputFormat.Items, (std::vector<std::string>{"JPK_V7M (2)", "Buchalter", "Ramzes"}));
  EXPECT_EQ(dlg.labInputFormat.Text, "Format danych źródłowych");
  EXPECT_EQ(dlg.labInputFile.Text, "Plik z danymi źródłowymi");
  EXPECT_EQ(dlg.labOutputFormat.Text, "Format danych wynikowych");
  EXPECT_EQ(dlg.labOutputFolder.Text, "Folder zapisu danych");
  EXPECT_EQ(dlg.btnMakeIt.Text, "&Konwertuj");
  EXPECT_EQ(dlg.edInputFile.RightButton.Hint, "Wybierz plik");
  EXPECT_EQ(dlg.edOutputFolder.RightButton.Hint, "Wybierz folder");
  ASSERT_NE(dlg.Images, nullptr);
  ASSERT_EQ(dlg.Images->Images.size(), 1u);
  EXPECT_EQ(dlg.Images->Images[0].Name, "FolderOpen");
  EXPECT_EQ(dlg.edInputFile.RightButtonImageIndex, 0);
  EXPECT_EQ(dlg.edOutputFolder.RightButtonImageIndex, 0);
  EXPECT_EQ(dlg.OpenDlg.title, "Wybierz plik");
  EXPECT_EQ(dlg.OpenDlg.filter, "Plik JPK_VAT|*.xml");
  EXPECT_EQ(dlg.OpenDlg.defaultExt, "xml");

  dlg.cbInputFormat.Text = "JPK_V7M (2)";
  dlg.cbOutputFormat.Text = "Ramzes";
  dlg.FormShow();
  EXPECT_EQ(dlg.cbInputFormat.Text, "JPK_FA (4)");
  EXPECT_EQ(dlg.cbOutputFormat.Text, "JPK_V7M (2)");
  EXPECT_EQ(dlg.edOutputFolder.Text, mainForm.RunDir);  // SaveDir empty
  Settings().SaveDir = "/dane/jpk/";
  dlg.FormShow();
  EXPECT_EQ(dlg.edOutputFolder.Text, "/dane/jpk/");
}

TEST_F(ExchFormatDlgTest, TheRightButtonsChooseAFileAndAFolder) {
  dlg.FormShow();
  dlg.edOutputFolder.Text = "/dane/wyniki/";
  dlg.edInputFile.Text = "/dane/stary.xml";
  ui.QueueFileName("/dane/jpk/faktury.xml");
  dlg.edInputFileRightButtonClick();
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].initialDir, "/dane/wyniki/");
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "/dane/stary.xml");
  EXPECT_EQ(ui.FileDialogs()[0].title, "Wybierz plik");
  EXPECT_EQ(dlg.edInputFile.Text, "/dane/jpk/faktury.xml");
  EXPECT_EQ(dlg.OpenDlg.initialDir, "/dane/jpk/");

  ui.QueueFileName("");  // cancelled: nothing changes
  dlg.edInputFileRightButtonClick();
  EXPECT_EQ(dlg.edInputFile.Text, "/dane/jpk/faktury.xml");

  ui.QueueFileName("/dane/inny");
  dlg.edOutputFolderRightButtonClick();
  EXPECT_EQ(dlg.edOutputFolder.Text, "/dane/inny");
  EXPECT_EQ(dlg.FolderRoot, mainForm.RunDir);
}

TEST_F(ExchFormatDlgTest, TheChecksBeforeLoadingStopWithTheirMessages) {
  std::string v7 = dir.Write("rejestr.xml", V7mFile{}.Xml());
  Choose("JPK_V7M (2)", "JPK_V7M (2)", v7, dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(), "Taki sam format danych źródłowych i wynikowych: JPK_V7M (2)");
  EXPECT_EQ(ui.Messages().back().kind, MessageKind::Error);

  Choose("JPK_FA (4)", "Buchalter", v7, dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(), "Konwersja do formatu Buchalter wymaga pliku JPK_V7M (2)");
  Choose("JPK_FA (4)", "Ramzes", v7, dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(), "Konwersja do formatu Ramzes wymaga pliku JPK_V7M (2)");

  Choose("JPK_V7M (2)", "Buchalter", "", dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(), "Nie wybrano pliku do konwersji");
  Choose("JPK_V7M (2)", "Buchalter", dir.File("brak.xml"), dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(), "Nie znaleziono pliku");
  // None of these touched the output folder (the folder is left as typed).
  EXPECT_EQ(dlg.edOutputFolder.Text, dir.Path());
  EXPECT_FALSE(FileExists(dir.File("B5SPEX24.dbf")));
}

TEST_F(ExchFormatDlgTest, AFileOfAnotherStructureIsReportedWithTheChosenFormat) {
  std::string v7 = dir.Write("rejestr.xml", V7mFile{}.Xml());
  Choose("JPK_FA (4)", "JPK_V7M (2)", v7, dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(),
            "Interfejs nie jest obsługiwany: węzeł \"JPK\" nie jest IXMLJPKFA\rZła struktura pliku. Brak zgodności z "
            "JPK_FA (4)");

  FaFile fa;
  std::string faFile = dir.Write("faktury.xml", fa.Xml());
  Choose("JPK_V7M (2)", "Buchalter", faFile, dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(),
            "Interfejs nie jest obsługiwany: węzeł \"JPK\" nie jest IXMLJPK\rZła struktura pliku. Brak zgodności z "
            "JPK_V7M (2)");

  std::string broken = dir.Write("zepsuty.xml", "<JPK><Naglowek>");
  dlg.edInputFile.Text = broken;
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.Messages().back().kind, MessageKind::Error);
  EXPECT_NE(ui.LastMessage().find("zepsuty.xml"), std::string::npos) << ui.LastMessage();
  EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST_F(ExchFormatDlgTest, APrefixedRegisterIsRepairedWhenTheUserAgrees) {
  V7mFile v7;
  v7.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  std::string file = dir.Write("rejestr.xml", Prefixed(v7.Xml()));
  Choose("JPK_V7M (2)", "Ramzes", file, dir.Path());
  ui.QueueAnswer(Answer::Yes);
  EXPECT_TRUE(dlg.btnMakeItClick()) << ui.LastMessage();
  EXPECT_TRUE(ui.WasShown("Prefixy przestrzeni nazw niezgodne ze specyfikacją\rPoprawić?"));
  EXPECT_EQ(ui.LastMessage(), "Zakończono konwersję\rSprawdź wygenerowane dane");
  EXPECT_EQ(ReadFile(file).find("tns:"), std::string::npos);
}

}  // namespace
}  // namespace velkar::test
