// TParagonDlg: running totals, tax differences, key filtering and the close checks.
#include <gtest/gtest.h>

#include "app/ui/ScriptedUi.h"
#include "base/Error.h"
#include "editor/ParagonDlg.h"

using namespace velkar;

class ParagonDlgTest : public ::testing::Test {
 protected:
  ScriptedUi ui;
  TParagonDlg dlg;
  void Fill(const char* dowod, const char* net23, const char* tax23) {
    dlg.edDowodSprzedazy.Text = dowod;
    dlg.edNet23.Text = net23;
    dlg.edTax23.Text = tax23;
  }
};

TEST_F(ParagonDlgTest, RunningTotalsAndDifferences) {
  dlg.edNet23.Text = "1000";
  dlg.edTax23.Text = "230.01";
  dlg.edNet8.Text = "100.10";
  dlg.edTax8.Text = "8";
  dlg.edNet5.Text = "";
  dlg.edTax5.Text = "0.2";
  dlg.edValue0.Text = "0.1";
  dlg.edValueFree.Text = "-";  // still being typed: counts as nothing
  dlg.FormShow();
  EXPECT_EQ(dlg.edSumVAT.Text, "238.21");
  EXPECT_EQ(dlg.edTotal.Text, "1338.41");
  EXPECT_EQ(dlg.edDiffV23.Text, "0.01");
  EXPECT_EQ(dlg.edDiffV8.Text, "-0.01");  // 8 % of 100.10 is 8.008, rounded 8.01
  EXPECT_EQ(dlg.edDiffV5.Text, "0");      // no net: no difference shown
  EXPECT_EQ(dlg.ActiveControl, &dlg.edDowodSprzedazy);

  dlg.edTax23.Text = "229.98";
  dlg.edRecalc();
  EXPECT_EQ(dlg.edDiffV23.Text, "-0.02");
  dlg.edValue0.Text = "";
  dlg.edRecalc();
  EXPECT_EQ(dlg.edTotal.Text, "1338.28");
}

TEST_F(ParagonDlgTest, KeyFilterOfAmountEdits) {
  TEdit edit;
  edit.Text = "12";
  EXPECT_EQ(dlg.edKeyPress(edit, ',', 2), '.');
  EXPECT_EQ(dlg.edKeyPress(edit, '7', 2), '7');
  EXPECT_EQ(dlg.edKeyPress(edit, '\b', 2), '\b');
  EXPECT_EQ(ui.Beeps(), 0);
  EXPECT_EQ(dlg.edKeyPress(edit, 'a', 2), 0);
  EXPECT_EQ(ui.Beeps(), 1);
  EXPECT_EQ(dlg.edKeyPress(edit, '-', 1), 0);  // a minus only at the very beginning
  EXPECT_EQ(dlg.edKeyPress(edit, '-', 0), '-');
  edit.Text = "12.5";
  EXPECT_EQ(dlg.edKeyPress(edit, '.', 4), 0);
  EXPECT_EQ(dlg.edKeyPress(edit, ',', 4), 0);  // a comma is a second decimal point too
  EXPECT_EQ(ui.Beeps(), 3);
  edit.Text = "-5";
  EXPECT_EQ(dlg.edKeyPress(edit, '-', 0), 0);
  EXPECT_EQ(ui.Beeps(), 4);
}

TEST_F(ParagonDlgTest, NetWithoutTaxOrTaxWithoutNetKeepsTheDialogOpen) {
  Fill("RF 03/2024", "100", "");
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(dlg.ModalResultValue, mrNone);
  EXPECT_EQ(ui.LastMessage(), "Brak wartości podatku w stawce 23%");
  EXPECT_EQ(dlg.ActiveControl, &dlg.edTax23);

  Fill("RF 03/2024", "", "");
  dlg.edTax8.Text = "8";
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Brak wartości netto w stawce 8%");
  EXPECT_EQ(dlg.ActiveControl, &dlg.edNet8);

  // Cancel always closes.
  EXPECT_TRUE(dlg.CancelBtnClick());
  EXPECT_EQ(dlg.ModalResultValue, mrCancel);
}

TEST_F(ParagonDlgTest, TaxMoreThanOnePercentOffAsksAndRefusalIsOutOfRange) {
  Fill("RF", "1000.00", "230.00");
  EXPECT_TRUE(dlg.btnSaveClick());
  EXPECT_TRUE(ui.Messages().empty());

  Fill("RF", "1000.00", "232.50");
  ui.QueueAnswer(Answer::No);
  EXPECT_FALSE(dlg.btnSaveClick());
  // Not accepting returns to the dialog, at the tax, without an error message.
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text,
            "Podatek w stawce 23% wynoszący: 232.50\rzbyt różni się od wyliczonego: 230.00\rRóżnica: 2.50\r"
            "Zaakceptować?");
  EXPECT_TRUE(ui.Messages()[0].question);
  EXPECT_EQ(ui.Messages()[0].defaultButton, Answer::No);  // Enter does not accept
  EXPECT_EQ(dlg.ActiveControl, &dlg.edTax23);
  EXPECT_EQ(dlg.ModalResultValue, mrNone);
  ui.Clear();
  EXPECT_FALSE(dlg.btnSaveClick());  // closed without an answer (Escape): the same
  EXPECT_EQ(ui.Messages().size(), 1u);

  ui.Clear();
  ui.QueueAnswer(Answer::Yes);
  EXPECT_TRUE(dlg.btnSaveClick());
  EXPECT_EQ(dlg.ModalResultValue, mrOk);

  // Small nets are checked too; a zero tax cannot be compared and is refused.
  Fill("RF", "0.80", "5");
  ui.Clear();
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_TRUE(ui.Messages()[0].question);
  Fill("RF", "0,80", "0,18");
  ui.Clear();
  EXPECT_TRUE(dlg.btnSaveClick());
  EXPECT_TRUE(ui.Messages().empty());
  Fill("RF", "100", "0");
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Podatek w stawce 23% nie może wynosić 0 przy wartości netto 100.00");
}

TEST_F(ParagonDlgTest, NegativeNetOrTaxIsRefusedWithoutAQuestion) {
  Fill("RF", "-100", "5000");  // as --net23 -100 --tax23 5000 types it
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Wartość netto w stawce 23% nie może być ujemna");
  EXPECT_FALSE(ui.Messages().back().question);
  EXPECT_EQ(dlg.ActiveControl, &dlg.edNet23);
  Fill("RF", "100", "-23");
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Podatek w stawce 23% nie może być ujemny");
  EXPECT_EQ(dlg.ActiveControl, &dlg.edTax23);
  Fill("RF", "", "");
  dlg.edValueFree.Text = "-5";
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Pole Sprzedaż zwolniona: kwota nie może być ujemna");
  EXPECT_EQ(ui.Messages().size(), 3u);
}

TEST_F(ParagonDlgTest, PolishAmountsAndTheTwoDecimalGrossTotal) {
  Fill("RF", "1 234,50", "283,94");
  dlg.edValue0.Text = "1\xC2\xA0" "000";
  dlg.FormShow();
  EXPECT_EQ(dlg.edSumVAT.Text, "283.94");
  EXPECT_EQ(dlg.edTotal.Text, "2518.44");
  EXPECT_EQ(dlg.edDiffV23.Text, "0");
  EXPECT_TRUE(dlg.btnSaveClick());
  dlg.edValue0.Text = "";
  dlg.edNet23.Text = "100.5";
  dlg.edTax23.Text = "";
  dlg.edRecalc();
  EXPECT_EQ(dlg.edTotal.Text, "100.50");
}

TEST_F(ParagonDlgTest, RatesAreCheckedInOrderAndTheFirstFailureStops) {
  Fill("RF", "", "");
  dlg.edNet8.Text = "100";
  dlg.edTax5.Text = "5";
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.LastMessage(), "Brak wartości podatku w stawce 8%");
}

TEST_F(ParagonDlgTest, StoredAmountsMustBeJpkAmounts) {
  Fill("RF", "100", "23");
  dlg.edValue0.Text = "-";
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Pole Sprzedaż 0%: '-' nie jest poprawną liczbą");
  EXPECT_EQ(dlg.ActiveControl, &dlg.edValue0);

  dlg.edValue0.Text = "10.005";
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Pole Sprzedaż 0%: kwota 10.005 ma więcej niż dwa miejsca po przecinku");

  dlg.edValue0.Text = "10.";
  dlg.edTax23.Text = ".";
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Pole Kwota PTU 23%: '.' nie jest poprawną liczbą");
  EXPECT_EQ(dlg.ActiveControl, &dlg.edTax23);

  dlg.edTax23.Text = "23";
  dlg.edDowodSprzedazy.Text = "";
  EXPECT_FALSE(dlg.btnSaveClick());
  EXPECT_EQ(ui.LastMessage(), "Brak dowodu sprzedaży");
  dlg.edDowodSprzedazy.Text = "RF";
  EXPECT_TRUE(dlg.btnSaveClick());
}

TEST(ParseEditAmount, AcceptsPolishDecimalsAndGrouping) {
  EXPECT_EQ(ParseEditAmount("-12.5"), -12.5);
  EXPECT_EQ(ParseEditAmount(".5"), 0.5);
  EXPECT_EQ(ParseEditAmount(" 1 234,5 "), 1234.5);
  for (const char* bad : {"", "-", ".", "1e5", "INF", "--1", "1.2.3", "1,2,3", "12 ,5"})
    EXPECT_THROW(ParseEditAmount(bad), Error) << bad;
}
