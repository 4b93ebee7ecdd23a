// Start-up of the main window: configuration file location, side lists, buttons, close.
#include <gtest/gtest.h>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "base/Error.h"
#include "tests/support/TempDir.h"
#include "tools/Version.h"

using namespace velkar;

namespace {
const std::string kConfig =
    "[System]\nNIP=5250001090\nNazwa=Firma Testowa\nEmail=biuro@firma.pl\nUSCode=1471\nNazwaSystemu=Velkar\n";
}

TEST(FindConfigFile, IniParameterNamesTheFileWithItsExtensionMadeIni) {
  auto location = FindConfigFile({"/opt/prog", "/ini=/etc/firma/a.cfg"}, "/opt/prog", "/home/u");
  EXPECT_EQ(location.fileName, "/etc/firma/a.ini");
  EXPECT_EQ(location.runDir, "/etc/firma/");
}

TEST(FindConfigFile, NameWithoutFolderIsTakenFromTheWorkingDirectory) {
  auto location = FindConfigFile({"/opt/prog", "/ini=b"}, "/opt/prog", "/home/u");
  EXPECT_EQ(location.fileName, "/home/u/b.ini");
  EXPECT_EQ(location.runDir, "/home/u/");
}

TEST(FindConfigFile, LaterParameterWinsAndMisplacedOnesAreIgnored) {
  auto location = FindConfigFile({"/opt/prog", "/ini=/a/x.ini", "x/ini=/b/y", "/ini=/c/z.ini"}, "/opt/prog", "/w");
  EXPECT_EQ(location.fileName, "/c/z.ini");
  auto ignored = FindConfigFile({"/opt/prog", " /ini=/a/x.ini", "/INI=/b/y"}, "/opt/prog", "/w");
  EXPECT_EQ(ignored.fileName, "/w/prog.ini");
}

TEST(FindConfigFile, WithoutParameterTheProgramNameIsLookedUpInTheWorkingDirectory) {
  auto location = FindConfigFile({"/opt/bin/velkar"}, "/opt/bin/velkar", "/srv/work");
  EXPECT_EQ(location.fileName, "/srv/work/velkar.ini");
  EXPECT_EQ(location.runDir, "/srv/work/");
  EXPECT_EQ(FindConfigFile({"p", "/ini=c.INI"}, "p", "/w").fileName, "/w/c.ini");
}

TEST(SideList, BlankLinesAreDroppedAndOrderKept) {
  test::TempDir dir;
  std::string file = dir.Write("TulvoAccSet.txt", "201\n\n202-1\r\n\r\n\n300\n");
  EXPECT_EQ(LoadSideList(file), (std::vector<std::string>{"201", "202-1", "300"}));
  EXPECT_TRUE(LoadSideList(dir.File("none.txt")).empty());
}

class MainFormTest : public ::testing::Test {
 protected:
  test::TempDir dir;
  ScriptedUi ui;
};

TEST_F(MainFormTest, StartUpReadsSettingsSideListsAndSetsCaption) {
  std::string ini = dir.Write("firma.ini", kConfig + "TulvoDir=/t\nNetFileDir=" + dir.Path() + "\n");
  dir.Write("CutDict.txt", "Przedsiębiorstwo\n\nSpółka\n");
  test::ChangeDir cd(dir.Path());
  TMainForm form;
  form.FormCreate({"velkar", "/ini=" + ini});
  EXPECT_EQ(form.RunDir, dir.Path());
  EXPECT_EQ(form.labFirmName.Text, "Firma Testowa");
  EXPECT_EQ(form.Caption, "Torvik JPK - " + FileVersionText(RunningExecutablePath()));
  EXPECT_EQ(form.CutDict.size(), 2u);
  EXPECT_TRUE(form.TulvoAccSet.empty());
  EXPECT_TRUE(form.Session.Active());
  EXPECT_EQ(form.Session.ParadoxCodePage(), 852);
  EXPECT_EQ(ui.BusyDepth(), 0);
  form.FormDestroy();
  EXPECT_FALSE(form.Session.Active());
}

TEST_F(MainFormTest, MissingFileFailsWithItsFullNameAndStillSetsTheCaption) {
  test::ChangeDir cd(dir.Path());
  TMainForm form;
  try {
    form.FormCreate({"velkar", "/ini=brak"});
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Brak pliku " + dir.Path() + "brak.ini");
  }
  EXPECT_TRUE(form.Caption.starts_with("Torvik JPK - "));
  EXPECT_EQ(form.labFirmName.Text, "");
  EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST_F(MainFormTest, ButtonsNeedTheirDataFolders) {
  std::string ini = dir.Write("a.ini", kConfig + "TulvoDir=/t\nNetFileDir=/n\nSaveDir=/out\nParadoxCodePage=1250\n");
  TMainForm form;
  form.FormCreate({"velkar", "/ini=" + ini});
  EXPECT_EQ(form.Session.ParadoxCodePage(), 1250);
  form.FormShow();
  EXPECT_TRUE(form.btnJPK_V7M.Enabled);
  EXPECT_FALSE(form.btnJPK_FA.Enabled);
  EXPECT_FALSE(form.btnJPK_MAG.Enabled);
  EXPECT_FALSE(form.btnGenFromGradmo.Enabled);
  EXPECT_TRUE(form.btnJPK_KR.Enabled);
  EXPECT_TRUE(form.btnExchangeFormat.Enabled);
  EXPECT_EQ(form.OpenDlg.initialDir, "/out/");
  EXPECT_EQ(form.SaveDlg.filter, "Plik JPK|*.xml");
}

TEST_F(MainFormTest, ClosingAsksAndCancelKeepsTheProgramRunning) {
  TMainForm form;
  EXPECT_FALSE(form.FormCloseQuery());
  EXPECT_EQ(ui.LastMessage(), "Zakończyć program?");
  ui.QueueAnswer(Answer::Ok);
  EXPECT_TRUE(form.FormCloseQuery());
}

TEST_F(MainFormTest, AppExceptionShowsTheMessageAndTheProgramGoesOn) {
  TMainForm form;
  form.AppException(Error("'1000,50' nie jest poprawną liczbą całkowitą"));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Error);
  EXPECT_EQ(ui.Messages()[0].text, "'1000,50' nie jest poprawną liczbą całkowitą");
  // Still running: the window answers the next event.
  EXPECT_FALSE(form.FormCloseQuery());
  // What is not the program's own error gets a Polish sentence around it.
  form.AppException(std::runtime_error("stoi"));
  EXPECT_EQ(ui.LastMessage(), "Nieoczekiwany błąd programu (stoi)");
  form.AppException(std::bad_alloc());
  EXPECT_EQ(ui.LastMessage(), "Za mało pamięci do wykonania operacji");
}

TEST_F(MainFormTest, ToolButtonsShowTheirWindowsAndSetTheExportTarget) {
  TMainForm form;
  Window export_("TGenFromGradmoDlg", "Generuj dane z Gradmo...");
  std::string target;
  form.ToolWindows.GenFromGradmoDlg = &export_;
  form.ToolWindows.SetExportTarget = [&](const std::string& t) { target = t; };
  form.btnJPK_MAGClick();
  EXPECT_EQ(target, "JPK_MAG");
  form.btnJPK_V7MClick();  // not built yet: opens nothing
  EXPECT_EQ(ui.ModalWindows(), (std::vector<std::string>{"TGenFromGradmoDlg"}));
}

TEST_F(MainFormTest, ImageListHoldsTheFolderGlyphAndAMissingNameKeepsNothing) {
  TMainForm form;
  TImageList* list = form.MakeImageList({"FolderOpen"}, 0);
  ASSERT_EQ(list->Images.size(), 1u);
  EXPECT_EQ(list->Images[0].Name, "FolderOpen");
  EXPECT_EQ(list->Images[0].Width, 16);
  EXPECT_EQ(list->Images[0].Height, 16);
  EXPECT_TRUE(list->Images[0].Transparent);
  try {
    form.MakeImageList({"FolderOpen", "NoSuchGlyph"}, 1);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Brak zasobu NoSuchGlyph w programie");
  }
  EXPECT_EQ(form.ImageLists.size(), 1u);
}
