// The three sections of JPK_KR on ledger tables written by the tests: the periods read,
// the December correction, account types, empty sides and comments, control totals, and
// agreement with a computation made row by row from the same tables.
#include <gtest/gtest.h>

#include <filesystem>

#include "app/ui/ScriptedUi.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/SchemaValidation.h"
#include "ledger/GenFromTulvoDlg.h"
#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/ledger/LedgerFixture.h"
#include "tools/Dictionaries.h"

using namespace velkar;

namespace {

class KrSections : public ::testing::Test {
 protected:
  KrSections() { Settings().TulvoDir = work.TulvoDir(); }

  // Runs the task's body on this thread for the month of `date`, then its final step.
  kr::IXMLJPKKR Generate(DateTime date) {
    dlg.dtp.Date = FormatDate(date);
    Settings().CurDate = date;
    dlg.PrepareRun();
    dlg.JPKKR = kr::NewJpkKR();
    dlg.GenerateKR();
    ui.ProcessMessages(0);
    return dlg.JPKKR;
  }

  // Saves the document and checks it against the official schema.
  void ExpectValidFile(kr::IXMLJPKKR doc, const std::string& name) {
    std::string file = work.Path() + name;
    SaveJpkFile(doc, file);
    JpkValidation result = ValidateJpkFile(file, test::SchemaDir());
    EXPECT_EQ(result.structure, "JPK_KR (1)");
    for (const SchemaViolation& v : result.violations) ADD_FAILURE() << name << ": " << DescribeViolation(v);
  }

  test::TaxpayerScope taxpayer;
  test::LedgerWorkDir work;
  ScriptedUi ui;
  db::Session session;
  std::vector<std::string> groups = test::AccountGroups();
  TGenFromTulvoDlg dlg{session, groups};
};

kr::IXMLJPK_ZOiS Account(const kr::IXMLJPKKR& doc, const std::string& code) {
  for (kr::IXMLJPK_ZOiS row : doc.ZOiS())
    if (row.KodKonta() == code) return row;
  return {};
}

TEST_F(KrSections, MarchReadsOnlyItsOwnPeriodAndAgreesWithTheTables) {
  work.Write(2024, test::Ledger2024());
  kr::IXMLJPKKR doc = Generate({2024, 3, 1});
  ASSERT_TRUE(dlg.MadeSuccessfully) << dlg.TaskError;
  EXPECT_EQ(dlg.PeriodId(), 12415);
  EXPECT_EQ(doc.Naglowek().DataOd(), "2024-03-01");
  EXPECT_EQ(doc.Naglowek().DataDo(), "2024-03-31");

  // February's and April's entries stay out of the journal and the postings.
  std::vector<std::string> seqNos;
  for (kr::IXMLJPK_Dziennik row : doc.Dziennik()) seqNos.push_back(row.NrZapisuDziennika());
  EXPECT_EQ(seqNos, (std::vector<std::string>{"2", "3", "4", "5", "6"}));
  EXPECT_EQ(doc.KontoZapisCtrl().LiczbaWierszyKontoZapisj(), 9);

  // February is the turnover before the period, April is not there at all.
  kr::IXMLJPK_ZOiS sales = Account(doc, "700");
  ASSERT_FALSE(sales.IsNull());
  EXPECT_DOUBLE_EQ(sales.ObrotyMa(), 246.01);
  EXPECT_DOUBLE_EQ(sales.ObrotyMaNarast(), 369.01);
  EXPECT_DOUBLE_EQ(sales.SaldoMa(), 369.01);
  // Half a grosz is rounded away from zero.
  EXPECT_DOUBLE_EQ(Account(doc, "130").ObrotyWinien(), 123.13);
  EXPECT_DOUBLE_EQ(Account(doc, "130").SaldoWinien(), 5123.13);
  kr::IXMLJPK_ZOiS customer = Account(doc, "201-1-6");
  EXPECT_DOUBLE_EQ(customer.SaldoWinien(), 246.01);

  test::ExpectDocumentAgrees(doc, test::ComputeExpectedKr(work.YearDir(2024), 12415));
  ExpectValidFile(doc, "2024-03_JPK_KR.xml");
}

TEST_F(KrSections, DecemberTakesTheClosingPeriodAndCorrectsTheBalancesFromIt) {
  work.Write(2023, test::Ledger2023());
  kr::IXMLJPKKR doc = Generate({2023, 12, 1});
  ASSERT_TRUE(dlg.MadeSuccessfully) << dlg.TaskError;
  EXPECT_EQ(dlg.PeriodId(), 12360);

  std::vector<std::string> seqNos;
  for (kr::IXMLJPK_Dziennik row : doc.Dziennik()) seqNos.push_back(row.NrZapisuDziennika());
  EXPECT_EQ(seqNos, (std::vector<std::string>{"2", "3", "4"}));  // 12360 and 12370, not November
  EXPECT_EQ(doc.KontoZapisCtrl().LiczbaWierszyKontoZapisj(), 6);

  // The closing moved the sales to the result: both take their figures from 12370.
  kr::IXMLJPK_ZOiS sales = Account(doc, "700");
  EXPECT_DOUBLE_EQ(sales.SaldoMa(), 0);
  EXPECT_DOUBLE_EQ(sales.ObrotyWinienNarast(), 1300.50);
  EXPECT_DOUBLE_EQ(sales.ObrotyWinien(), 1300.50);
  EXPECT_DOUBLE_EQ(sales.ObrotyMa(), 800.50);
  kr::IXMLJPK_ZOiS result = Account(doc, "860");
  EXPECT_DOUBLE_EQ(result.SaldoMa(), 1300.50);
  // An account the closing does not touch keeps December's own figures.
  EXPECT_DOUBLE_EQ(Account(doc, "130").SaldoWinien(), 5500.00);

  test::ExpectDocumentAgrees(doc, test::ComputeExpectedKr(work.YearDir(2023), 12360));
  ExpectValidFile(doc, "2023-12_JPK_KR.xml");
}

TEST_F(KrSections, AccountTypesNamesAndGroupsFollowTheChart) {
  work.Write(2024, test::Ledger2024());
  kr::IXMLJPKKR doc = Generate({2024, 3, 1});
  ASSERT_TRUE(dlg.MadeSuccessfully) << dlg.TaskError;

  EXPECT_TRUE(Account(doc, "999").IsNull());  // Options 1: not reported
  EXPECT_EQ(Account(doc, "700").TypKonta(), "wynikowe");  // Options 6: off-balance, then profit and loss
  EXPECT_EQ(Account(doc, "975").TypKonta(), "pozabilansowe");
  EXPECT_EQ(Account(doc, "201").TypKonta(), "rozliczeniowe");  // Options 4, but account 201
  EXPECT_EQ(Account(doc, "201-1-5").TypKonta(), "rozliczeniowe");
  EXPECT_EQ(Account(doc, "010").TypKonta(), "bilansowe");

  kr::IXMLJPK_ZOiS contractor = Account(doc, "201-1-5");
  EXPECT_EQ(contractor.typ(), "G");
  EXPECT_EQ(contractor.OpisKonta(), "Hurtownia „Pod Lipą”");
  EXPECT_EQ(contractor.KodZespolu(), "2");
  EXPECT_EQ(contractor.OpisZespolu(), "Rozrachunki i roszczenia");
  EXPECT_EQ(contractor.KodKategorii(), "201");
  EXPECT_EQ(contractor.OpisKategorii(), "Rozrachunki z odbiorcami");
  EXPECT_EQ(contractor.KodPodkategorii(), "201-1");
  EXPECT_EQ(contractor.OpisPodkategorii(), "Odbiorcy krajowi");
  EXPECT_DOUBLE_EQ(contractor.BilansOtwarciaWinien(), 300);

  // A first-level account has no subcategory elements.
  kr::IXMLJPK_ZOiS machines = Account(doc, "010-1");
  EXPECT_EQ(machines.OpisKategorii(), "Środki trwałe");
  EXPECT_FALSE(machines.FindChild("KodPodkategorii"));
  EXPECT_FALSE(machines.FindChild("OpisPodkategorii"));
}

TEST_F(KrSections, EmptySidesAndCommentsAndTheControlTotals) {
  work.Write(2024, test::Ledger2024());
  kr::IXMLJPKKR doc = Generate({2024, 3, 1});
  ASSERT_TRUE(dlg.MadeSuccessfully) << dlg.TaskError;

  // The bank entry has no comments: the journal's name describes it.
  kr::IXMLJPK_Dziennik bank = doc.Dziennik()[0];
  EXPECT_EQ(bank.OpisOperacji(), bank.OpisDziennika());
  EXPECT_EQ(bank.OpisOperacji(), "Dziennik bankowy");
  EXPECT_EQ(bank.DataOperacji(), "2024-03-05");
  EXPECT_EQ(bank.DataKsiegowania(), "2024-03-05");
  EXPECT_EQ(doc.Dziennik()[1].OpisOperacji(), "Faktura marcowa");
  EXPECT_DOUBLE_EQ(doc.Dziennik()[2].DziennikKwotaOperacji(), 0.13);

  // The first posting is a debit: no credit side.
  kr::IXMLJPK_KontoZapis first = doc.KontoZapis()[0];
  EXPECT_EQ(first.NrZapisu(), "2");
  EXPECT_EQ(first.KodKontaWinien(), "130");
  EXPECT_DOUBLE_EQ(first.KwotaWinien(), 123.00);
  EXPECT_EQ(first.OpisZapisuWinien(), "Wpłata");
  EXPECT_EQ(first.KodKontaMa(), "null");
  EXPECT_DOUBLE_EQ(first.KwotaMa(), 0);
  EXPECT_FALSE(first.FindChild("OpisZapisuMa"));
  kr::IXMLJPK_KontoZapis second = doc.KontoZapis()[1];
  EXPECT_EQ(second.KodKontaWinien(), "null");
  EXPECT_EQ(second.KodKontaMa(), "201-1-5");
  EXPECT_FALSE(second.FindChild("OpisZapisuMa"));  // no description

  // The totals are the sums of the rows; the one-sided guarantee leaves them unequal.
  EXPECT_DOUBLE_EQ(doc.KontoZapisCtrl().SumaWinien(), 123.00 + 246.01 + 0.13 + 10.00 + 5000.00);
  EXPECT_DOUBLE_EQ(doc.KontoZapisCtrl().SumaMa(), 123.00 + 246.01 + 0.13 + 10.00);
  EXPECT_DOUBLE_EQ(doc.DziennikCtrl().SumaKwotOperacji(), doc.KontoZapisCtrl().SumaWinien());
  EXPECT_EQ(doc.DziennikCtrl().LiczbaWierszyDziennika(), 5);
}

TEST_F(KrSections, EachQueryLoadedIsCopiedToTheWorkingFolder) {
  work.Write(2024, test::Ledger2024());
  Generate({2024, 3, 1});
  ASSERT_TRUE(dlg.MadeSuccessfully) << dlg.TaskError;
  EXPECT_EQ(test::ReadFile(work.Path() + "qry.sql"), test::ReadFile(work.Path() + "SQL/dziennik.sql"));
  // The balance table stayed in memory.
  EXPECT_FALSE(std::filesystem::exists(work.Path() + "Tmp_tmp.db"));
}

TEST_F(KrSections, AnErrorEndsTheTaskButTheControlRecordsAreWritten) {
  work.Write(2024, test::Ledger2024());
  groups.resize(9);  // no line for the off-balance group 9
  kr::IXMLJPKKR doc = Generate({2024, 3, 1});
  EXPECT_FALSE(dlg.MadeSuccessfully);
  EXPECT_NE(dlg.TaskError.find("TulvoAccSet"), std::string::npos) << dlg.TaskError;
  EXPECT_TRUE(doc.ChildNodes().FindNode("Dziennik").IsNull());

  // A section that fails half way still gets its control record.
  groups = test::AccountGroups();
  std::filesystem::remove(work.YearDir(2024) + "details.db");
  dlg.PrepareRun();
  dlg.JPKKR = kr::NewJpkKR();
  EXPECT_THROW(dlg.BuildKontoZapis(), Error);
  EXPECT_EQ(dlg.JPKKR.KontoZapisCtrl().LiczbaWierszyKontoZapisj(), 0);
}

}  // namespace
