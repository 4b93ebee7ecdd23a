// The export dialog: its controls, the format choice, the message without a format, the
// table names of the period and the Buchalter target.
#include <gtest/gtest.h>

#include "tests/support/ErrorOf.h"
#include "tests/warehouse/ExportFixture.h"

namespace velkar::test {
namespace {

TEST(ExportTarget, FirstMatchOfTheFormatTextWins) {
  const std::pair<const char*, ExportTarget> cases[] = {
      {"JPK_FA", ExportTarget::JpkFa},          {"JPK_MAG", ExportTarget::JpkMag},
      {"Wapro (Magik)", ExportTarget::Wapro},   {"wapro", ExportTarget::Wapro},
      {"do WAPRO i Sage", ExportTarget::Wapro}, {"Sage (Symfonia)", ExportTarget::Symfonia},
      {"sAgE", ExportTarget::Symfonia},         {"Ramzes", ExportTarget::Ramzes},
      {"Buchalter", ExportTarget::Buchalter},   {"Ramzes ", ExportTarget::None},
      {"jpk_fa", ExportTarget::None},           {"JPK_MAG ", ExportTarget::None},
      {"", ExportTarget::None},                 {"do formatu", ExportTarget::None},
  };
  for (auto [text, target] : cases) EXPECT_EQ(TargetOfFormat(text), target) << text;
}

using DialogTest = ExportTest;

TEST_F(DialogTest, ControlsAsDesigned) {
  EXPECT_EQ(dlg.Caption, "Generuj dane z Gradmo...");
  EXPECT_EQ(dlg.labPeriod.Text, "Za okres:");
  EXPECT_EQ(dlg.cbToFormat.Text, "do formatu");
  EXPECT_EQ(dlg.cbToFormat.Items, (std::vector<std::string>{"JPK_FA", "JPK_MAG", "Wapro (Magik)", "Sage (Symfonia)",
                                                            "Ramzes", "Buchalter"}));
  EXPECT_EQ(dlg.btnDoIt.Text, "&Generuj");
  EXPECT_FALSE(dlg.ProgressBar1.Visible);
  EXPECT_EQ(dlg.dtp.Date, "2024-01-01");  // the first day of the working month
}

TEST_F(DialogTest, WithoutFormatTheMessageShowsAndTheWindowStaysOpen) {
  dlg.FormShow();
  dlg.dtp.Date = "2024-03-01";
  dlg.btnDoItClick();
  EXPECT_EQ(ui.LastMessage(), "Nie wybrano formatu w jakim mają być wygenerowane dane");
  EXPECT_EQ(dlg.ActiveControl, "cbToFormat");
  EXPECT_EQ(dlg.ModalResultValue, mrNone);
  EXPECT_EQ(Settings().CurDate, (DateTime{2024, 1, 10}));  // nothing ran
}

TEST_F(DialogTest, BuchalterOnlyShowsThatItIsInPreparation) {
  db.Write(dir.Path());
  dlg.dtp.Date = "2024-03-01";
  dlg.cbToFormat.Text = "Buchalter";
  dlg.btnDoItClick();
  EXPECT_EQ(ui.LastMessage(), "w trakcie realizacji");
  EXPECT_EQ(dlg.ModalResultValue, mrOk);
  EXPECT_FALSE(ui.WasShown("Zapisać wygenerowany plik?"));
}

TEST_F(DialogTest, UnknownFormatProducesNothingButStillClosesWithOk) {
  db.Write(dir.Path());
  Run("Ramzes ", true, dir.File("r.xml"));
  EXPECT_EQ(dlg.ModalResultValue, mrOk);
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_FALSE(FileExists(dir.File("r.xml")));
  EXPECT_EQ(Settings().CurDate, (DateTime{2024, 3, 1}));
}

TEST_F(DialogTest, YearlyDocumentTablesWithMonthlyContractorTables) {
  Settings().YearQorTbl = true;
  Settings().YearUsrTbl = false;
  Settings().CurDate = {2017, 11, 3};
  dlg.dtp.Date = "2017-11-01";
  db.customers = {Customer(10)};
  GDoc doc;
  doc.year = 2017;
  doc.name = "FV 1/11/2017";
  doc.date = doc.saleDate = "2017-11-30";
  doc.user = 10;
  doc.reg = SaleReg(10, 123, 100, 23);
  GDoc december = doc;
  december.number = 2;
  december.name = "FV 1/12/2017";
  december.date = december.saleDate = "2017-12-01";
  db.docs = {doc, december};
  db.Write(dir.Path(), "2017", "17_11");
  dlg.SetTableNames(Settings());
  EXPECT_EQ(dlg.tblWI.TableName, "2017WI");
  EXPECT_EQ(dlg.tblMaster.TableName, "2017WI");
  EXPECT_EQ(dlg.tblReg.TableName, "2017REG");
  EXPECT_EQ(dlg.tblUR.TableName, "17_11UR");
  EXPECT_EQ(dlg.tblUC.TableName, "17_11UC");
  EXPECT_FALSE(UsersIsSingle);

  dlg.cbToFormat.Text = "JPK_FA";
  ui.QueueAnswer(Answer::Yes);
  ui.QueueFileName(dir.File("fa.xml"));
  dlg.btnDoItClick();
  XNode jpk = ReadXml(dir.File("fa.xml"));
  ASSERT_EQ(jpk.All("Faktura").size(), 1u);  // the December document is outside the filter
  EXPECT_EQ(jpk.All("Faktura")[0]->Text("P_2A"), "FV 1/11/2017");
  EXPECT_EQ(jpk.Child("Naglowek")->Text("DataOd"), "2017-11-01");
  EXPECT_EQ(jpk.Child("Naglowek")->Text("DataDo"), "2017-11-30");
}

TEST_F(DialogTest, UsersTableIsUsedWhenItExists) {
  db.withUsers = true;
  db.Write(dir.Path());
  dlg.SetTableNames(Settings());
  EXPECT_TRUE(UsersIsSingle);
  EXPECT_EQ(dlg.tblUsers.DatabaseName + dlg.tblUsers.TableName, dir.File("Users"));
}

TEST_F(DialogTest, MissingTableFailsAtOpeningAndLeavesEveryTableClosed) {
  db.Write(dir.Path());
  std::remove(dir.File("24_03WS.db").c_str());
  EXPECT_NE(ErrorOf([&] { Run("JPK_MAG", true, dir.File("m.xml")); }), "(no error)");
  EXPECT_EQ(dlg.ModalResultValue, mrOk);
  EXPECT_EQ(ui.BusyDepth(), 0);
  for (const db::TTable* t : {&dlg.tblWI, &dlg.tblMaster, &dlg.tblWT, &dlg.tblW, &dlg.tblWS, &dlg.tblReg, &dlg.tblUR,
                              &dlg.tblUC, &dlg.tblUsers})
    EXPECT_FALSE(t->Active()) << t->TableName;
}

}  // namespace
}  // namespace velkar::test

namespace velkar::test {
namespace {

TEST_F(DialogTest, MainWindowButtonsOpenTheDialogWithTheirFormat) {
  mainForm.ToolWindows.GenFromGradmoDlg = &dlg;
  mainForm.ToolWindows.SetExportTarget = [this](const std::string& text) { dlg.cbToFormat.Text = text; };
  dlg.cbToFormat.Text = "Ramzes";
  mainForm.btnGradmoGenClick();
  EXPECT_EQ(dlg.cbToFormat.Text, "Ramzes");  // left as it was
  mainForm.btnJPK_FAClick();
  EXPECT_EQ(dlg.cbToFormat.Text, "JPK_FA");
  mainForm.btnJPK_MAGClick();
  EXPECT_EQ(dlg.cbToFormat.Text, "JPK_MAG");
  EXPECT_EQ(ui.ModalWindows(), (std::vector<std::string>{"TGenFromGradmoDlg", "TGenFromGradmoDlg", "TGenFromGradmoDlg"}));
}

}  // namespace
}  // namespace velkar::test
