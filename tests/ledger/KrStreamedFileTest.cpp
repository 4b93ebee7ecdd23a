// The JPK_KR written record by record to a temporary file while the task runs: the file is
// byte for byte the one the whole-document save writes for the same ledger, it validates
// when read as a stream, and the temporary file goes when the save is refused or the task
// fails, and becomes the chosen file on Yes.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/ScriptedUi.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/SchemaValidation.h"
#include "ledger/GenFromTulvoDlg.h"
#include "samples/SampleTables.h"
#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/ledger/LedgerFixture.h"

using namespace velkar;

namespace {

class KrStreamedFile : public ::testing::Test {
 protected:
  KrStreamedFile() {
    Settings().TulvoDir = work.TulvoDir();
    Settings().SaveDir = work.Path();
  }

  // Runs the task's body for the month of `date` on this thread with `batch` records per
  // write, then its final step.
  void Generate(DateTime date, size_t batch) {
    Settings().CurDate = date;
    dlg.PrepareRun();
    dlg.JPKKR = kr::NewJpkKR();
    dlg.StreamBatch = batch;
    dlg.GenerateKR();
    ui.ProcessMessages(0);
    ASSERT_TRUE(dlg.MadeSuccessfully) << dlg.TaskError;
  }

  // The streamed file of a run writing every record at once, and the file the old way
  // (the whole document, then SaveJpkFile) writes for the same month.
  void ExpectSameFileBothWays(DateTime date, const std::string& name) {
    SCOPED_TRACE(name);
    Generate(date, 1);
    ASSERT_TRUE(dlg.Generated);
    EXPECT_TRUE(dlg.Generated->Released());
    std::string streamed = test::ReadFile(dlg.Generated->TempPath());
    JpkValidation result = ValidateJpkFileStreamed(dlg.Generated->TempPath(), test::SchemaDir());
    EXPECT_EQ(result.structure, "JPK_KR (1)");
    for (const SchemaViolation& v : result.violations) ADD_FAILURE() << DescribeViolation(v);

    Generate(date, 1u << 30);
    EXPECT_FALSE(dlg.Generated->Released());
    std::string reference = work.Path() + name;
    SaveJpkFile(dlg.JPKKR, reference);
    EXPECT_EQ(streamed, test::ReadFile(reference));
    EXPECT_GT(streamed.size(), 1000u);
  }

  // Temporary files of generated JPK files left in the save folder.
  int TemporaryFiles() const {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(work.Path()))
      if (entry.path().filename().string().rfind(".velkar-jpk-", 0) == 0) ++count;
    return count;
  }

  test::TaxpayerScope taxpayer;
  test::LedgerWorkDir work;
  ScriptedUi ui;
  db::Session session;
  std::vector<std::string> groups = test::AccountGroups();
  TGenFromTulvoDlg dlg{session, groups};
};

TEST_F(KrStreamedFile, IsByteForByteTheWholeDocumentSave) {
  work.Write(2024, test::Ledger2024());
  work.Write(2023, test::Ledger2023());
  ExpectSameFileBothWays({2024, 3, 1}, "marzec.xml");
  ExpectSameFileBothWays({2023, 12, 1}, "grudzien.xml");
}

TEST_F(KrStreamedFile, IsByteForByteTheWholeDocumentSaveOnTheSampleLedger) {
  samples::WriteSampleDatabases(work.Path() + "bazy", {});
  groups = test::SampleAccountGroups();
  Settings().TulvoDir = work.Path() + "bazy/Tulvo/";
  ExpectSameFileBothWays({2024, 3, 1}, "probka.xml");
}

TEST_F(KrStreamedFile, YesMovesTheFileIntoPlaceNoAndErrorsLeaveNothing) {
  work.Write(2024, test::Ledger2024());
  Generate({2024, 3, 1}, 2);
  std::string temp = dlg.Generated->TempPath();
  EXPECT_EQ(TemporaryFiles(), 1);
  std::string chosen = work.Path() + "wybrany.xml";
  ui.QueueAnswer(Answer::Yes);
  ui.QueueFileName(chosen);
  dlg.FormClose();
  EXPECT_TRUE(std::filesystem::exists(chosen));
  EXPECT_FALSE(std::filesystem::exists(temp));
  EXPECT_EQ(TemporaryFiles(), 0);
  EXPECT_FALSE(dlg.Generated);
  EXPECT_TRUE(ValidateJpkFileStreamed(chosen, test::SchemaDir()).Valid());
  EXPECT_EQ(CurrentJpkFileName(), chosen);

  Generate({2024, 3, 1}, 2);
  ui.QueueAnswer(Answer::No);
  dlg.FormClose();
  EXPECT_EQ(TemporaryFiles(), 0);

  // A failing run removes its partial file and offers nothing.
  std::filesystem::remove(work.Path() + "SQL/dziennik.sql");
  Settings().CurDate = {2024, 3, 1};
  dlg.PrepareRun();
  dlg.JPKKR = kr::NewJpkKR();
  dlg.GenerateKR();
  ui.ProcessMessages(0);
  EXPECT_FALSE(dlg.MadeSuccessfully);
  EXPECT_FALSE(dlg.Generated);
  EXPECT_EQ(TemporaryFiles(), 0);
}

TEST_F(KrStreamedFile, AStreamedCheckReportsViolationsWithTheirElement) {
  work.Write(2024, test::Ledger2024());
  Generate({2024, 3, 1}, 1u << 30);
  std::string file = work.Path() + "zly.xml";
  dlg.JPKKR.DziennikCtrl().Set_LiczbaWierszyDziennika(-5);
  SaveJpkFile(dlg.JPKKR, file);
  JpkValidation streamed = ValidateJpkFileStreamed(file, test::SchemaDir());
  JpkValidation whole = ValidateJpkFile(file, test::SchemaDir());
  ASSERT_FALSE(streamed.Valid());
  ASSERT_EQ(streamed.violations.size(), whole.violations.size());
  EXPECT_EQ(streamed.violations[0].element, "LiczbaWierszyDziennika");
  EXPECT_EQ(streamed.violations[0].line, whole.violations[0].line);
}

}  // namespace
