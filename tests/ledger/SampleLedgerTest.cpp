// The JPK_KR of the sample company's ledger, from both Tulvo folders (the newer layout in
// code page 1250, the older one in 852): March 2024 and December 2023 with its closing
// period, checked against the tables row by row and against the official schema.
#include <gtest/gtest.h>

#include "app/ui/ScriptedUi.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/SchemaValidation.h"
#include "ledger/GenFromTulvoDlg.h"
#include "samples/SampleTables.h"
#include "samples/TulvoLedger.h"
#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/ledger/LedgerFixture.h"

using namespace velkar;

namespace {

TEST(SampleLedger, BothTulvoFoldersGiveValidFilesThatAgreeWithTheirTables) {
  test::TaxpayerScope taxpayer;
  test::LedgerWorkDir work;
  samples::WriteSampleDatabases(work.Path() + "bazy", {});
  ScriptedUi ui;
  db::Session session;
  std::vector<std::string> groups = test::SampleAccountGroups();
  TGenFromTulvoDlg dlg(session, groups);
  dlg.StreamBatch = 1 << 20;  // the whole month stays in memory for the checks below
  for (const char* folder : {"Tulvo", "TulvoStary"}) {
    for (DateTime month : {DateTime{2024, 3, 1}, DateTime{2023, 12, 1}}) {
      SCOPED_TRACE(std::string(folder) + " " + FormatDate(month));
      Settings().TulvoDir = work.Path() + "bazy/" + folder + "/";
      Settings().CurDate = month;
      dlg.PrepareRun();
      dlg.JPKKR = kr::NewJpkKR();
      dlg.GenerateKR();
      ui.ProcessMessages(0);
      ASSERT_TRUE(dlg.MadeSuccessfully) << dlg.TaskError;
      std::string yearDir = Settings().TulvoDir + std::to_string(month.year) + "/";
      test::ExpectDocumentAgrees(dlg.JPKKR, test::ComputeExpectedKr(yearDir, dlg.PeriodId()));
      // Every entry of these months balances (the one-sided guarantee is January's).
      EXPECT_DOUBLE_EQ(dlg.JPKKR.KontoZapisCtrl().SumaWinien(), dlg.JPKKR.KontoZapisCtrl().SumaMa());
      EXPECT_DOUBLE_EQ(dlg.JPKKR.DziennikCtrl().SumaKwotOperacji(), dlg.JPKKR.KontoZapisCtrl().SumaWinien());
      EXPECT_GT(dlg.JPKKR.ZOiS().Count(), 30);
      // The technical account 999 is never reported.
      for (kr::IXMLJPK_ZOiS row : dlg.JPKKR.ZOiS()) {
        std::string code = row.KodKonta();
        EXPECT_NE(code, "999");
        // December's balances come from the closing period: costs and revenues are closed.
        if (month.month == 12 && (code[0] == '4' || code[0] == '7')) {
          EXPECT_EQ(row.SaldoWinien(), 0) << code;
          EXPECT_EQ(row.SaldoMa(), 0) << code;
        }
      }

      std::string file = work.Path() + folder + "_" + FormatPeriod(month) + ".xml";
      SaveJpkFile(dlg.JPKKR, file);
      JpkValidation result = ValidateJpkFile(file, test::SchemaDir());
      for (const SchemaViolation& v : result.violations) ADD_FAILURE() << DescribeViolation(v);
    }
  }
}

}  // namespace
