// TGenFromTulvoDlg with its background task, driven through the scripted UI port: the
// running and idle states, the save offer, a second start refused, an error shown without
// a save offer, and the task cancelled at program end.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/ScriptedUi.h"
#include "jpkfiles/SchemaValidation.h"
#include "ledger/GenFromTulvoDlg.h"
#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/ledger/LedgerFixture.h"

using namespace velkar;

namespace {

class GenFromTulvoDlgTest : public ::testing::Test {
 protected:
  GenFromTulvoDlgTest() {
    Settings().TulvoDir = work.TulvoDir();
    Settings().SaveDir = work.Path();
    work.Write(2024, test::Ledger2024());
    dlg = std::make_unique<TGenFromTulvoDlg>(session, groups);
  }

  // The modal loop of the dialog: the task's calls and the timer run until the task's
  // final step closes it.
  void RunUntilClosed() {
    for (int i = 0; i < 3000 && dlg->ModalResultValue == mrNone; ++i) ui.ProcessMessages(100);
    ASSERT_EQ(dlg->ModalResultValue, mrOk);
  }

  test::TaxpayerScope taxpayer;
  test::LedgerWorkDir work;
  ScriptedUi ui;
  db::Session session;
  std::vector<std::string> groups = test::AccountGroups();
  std::unique_ptr<TGenFromTulvoDlg> dlg;
};

TEST_F(GenFromTulvoDlgTest, RunsInTheBackgroundAndOffersTheSave) {
  EXPECT_EQ(dlg->Caption, "Generuj dane z programu Tulvo do JPK_KR");
  EXPECT_EQ(dlg->dtp.Date, "2024-03-01");  // the first day of CurDate's month
  EXPECT_EQ(dlg->ProgressBarKR.Max, 5);
  EXPECT_FALSE(dlg->lblProgMsg.Visible);
  EXPECT_FALSE(dlg->tmrProgress.Enabled());

  dlg->FormShow();
  dlg->btnDoItClick();
  // Running: the period group is disabled, the status and the bar show, the timer runs.
  // The task waits for this thread at its first progress hand-over.
  EXPECT_TRUE(dlg->Task != nullptr);
  EXPECT_FALSE(dlg->GroupBox1.Enabled);
  EXPECT_FALSE(dlg->btnDoIt.Enabled);
  EXPECT_TRUE(dlg->lblProgMsg.Visible);
  EXPECT_TRUE(dlg->ProgressBarKR.Visible);
  EXPECT_EQ(dlg->lblProgMsg.Text, "Proszę czekać...");
  EXPECT_EQ(dlg->ProgressBarKR.Position, 0);
  EXPECT_TRUE(dlg->tmrProgress.Enabled());
  EXPECT_EQ(ui.BusyDepth(), 1);
  EXPECT_FALSE(dlg->FormCloseQuery());

  for (int i = 0; i < 3000 && dlg->ModalResultValue == mrNone; ++i) {
    ui.ProcessMessages(100);
    EXPECT_LE(dlg->ProgressBarKR.Position, 4);
  }
  ASSERT_EQ(dlg->ModalResultValue, mrOk);
  EXPECT_EQ(dlg->FTaskCur, 4);  // 1 ZOiS, 2 balances, 3 journal, 4 postings
  EXPECT_TRUE(dlg->Task == nullptr);
  EXPECT_TRUE(dlg->MadeSuccessfully);
  // Idle again.
  EXPECT_TRUE(dlg->GroupBox1.Enabled);
  EXPECT_FALSE(dlg->lblProgMsg.Visible);
  EXPECT_FALSE(dlg->ProgressBarKR.Visible);
  EXPECT_EQ(dlg->lblProgMsg.Text, "");
  EXPECT_FALSE(dlg->tmrProgress.Enabled());
  EXPECT_EQ(ui.BusyDepth(), 0);
  EXPECT_EQ(Settings().CurDate, (DateTime{2024, 3, 1}));

  ui.QueueAnswer(Answer::Yes);
  std::string file = work.Path() + "marzec.xml";
  ui.QueueFileName(file);
  dlg->FormClose();
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text, "Zapisać wygenerowany plik?");
  EXPECT_TRUE(ui.Messages()[0].question);
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_JPK_KR");
  ASSERT_TRUE(std::filesystem::exists(file));
  JpkValidation result = ValidateJpkFile(file, test::SchemaDir());
  for (const SchemaViolation& v : result.violations) ADD_FAILURE() << DescribeViolation(v);
  test::ExpectDocumentAgrees(dlg->JPKKR, test::ComputeExpectedKr(work.YearDir(2024), 12415));
}

TEST_F(GenFromTulvoDlgTest, NoAnswerSavesNothing) {
  dlg->FormShow();
  dlg->btnDoItClick();
  RunUntilClosed();
  dlg->FormClose();  // no answer queued: the box is closed without one
  EXPECT_TRUE(ui.WasShown("Zapisać wygenerowany plik?"));
  EXPECT_TRUE(ui.FileDialogs().empty());
}

TEST_F(GenFromTulvoDlgTest, ASecondStartIsRefusedWhileTheTaskRuns) {
  dlg->FormShow();
  dlg->btnDoItClick();
  // The task cannot finish before this thread serves its progress hand-over. The refused
  // start leaves the working date the running task reads alone.
  dlg->dtp.Date = "2024-01-01";
  dlg->btnDoItClick();
  EXPECT_EQ(ui.LastMessage(), "Task is already running.");
  EXPECT_EQ(Settings().CurDate, (DateTime{2024, 3, 1}));
  RunUntilClosed();
  EXPECT_TRUE(dlg->MadeSuccessfully);
  EXPECT_EQ(dlg->JPKKR.Naglowek().DataOd(), "2024-03-01");
  // Once idle, a new run starts.
  dlg->FormShow();
  dlg->btnDoItClick();
  EXPECT_TRUE(dlg->Task != nullptr);
  RunUntilClosed();
  EXPECT_TRUE(dlg->MadeSuccessfully);
}

TEST_F(GenFromTulvoDlgTest, AnErrorOfTheTaskIsShownAndNoSaveIsOffered) {
  std::filesystem::remove(work.Path() + "SQL/zois.sql");
  dlg->FormShow();
  dlg->btnDoItClick();
  RunUntilClosed();
  EXPECT_FALSE(dlg->MadeSuccessfully);
  ui.QueueAnswer(Answer::Yes);
  dlg->FormClose();
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_FALSE(ui.Messages()[0].question);
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Error);
  EXPECT_NE(ui.Messages()[0].text.find("zois.sql"), std::string::npos) << ui.Messages()[0].text;
  EXPECT_TRUE(ui.FileDialogs().empty());
  // The message is shown once; the dialog is ready for the next run.
  ui.Clear();
  dlg->FormClose();
  EXPECT_TRUE(ui.Messages().empty());
  EXPECT_TRUE(dlg->GroupBox1.Enabled);
}

TEST_F(GenFromTulvoDlgTest, ProgramEndCancelsARunningTaskAndWaitsForIt) {
  dlg->FormShow();
  dlg->btnDoItClick();
  ASSERT_TRUE(dlg->Task != nullptr);
  dlg->FormDestroy();  // serves the task's calls until its final step
  EXPECT_TRUE(dlg->Task == nullptr);
  EXPECT_FALSE(dlg->MadeSuccessfully);
  EXPECT_EQ(dlg->TaskError, "");  // a cancellation is no error to show
  EXPECT_EQ(ui.BusyDepth(), 0);
  EXPECT_TRUE(ui.Messages().empty());
  dlg.reset();
}

TEST_F(GenFromTulvoDlgTest, TheTimerShowsTheCounterAndTheMessageOfTheTask) {
  dlg->FormShow();
  dlg->SetInProgresState(true, "Proszę czekać...", 5);
  dlg->FProgCur = 3;
  dlg->FProgMsg.Set("Generowanie dziennika");
  dlg->ShowProgress();
  EXPECT_EQ(dlg->ProgressBarKR.Position, 3);
  EXPECT_EQ(dlg->lblProgMsg.Text, "Generowanie dziennika");
  // An empty message keeps the text shown.
  dlg->FProgMsg.Set("");
  dlg->ShowProgress();
  EXPECT_EQ(dlg->lblProgMsg.Text, "Generowanie dziennika");
  dlg->SetInProgresState(false, "", 100);
  EXPECT_EQ(ui.BusyDepth(), 0);
}

}  // namespace
