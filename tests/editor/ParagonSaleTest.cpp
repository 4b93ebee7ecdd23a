// The receipt row of the register: found or created by the editor's button, edited in
// TParagonDlg, removed again when the dialog is cancelled.
#include <gtest/gtest.h>

#include "tests/editor/V7mFixture.h"

using namespace velkar;
using namespace velkar::test;

class ParagonSaleTest : public EditorTest {
 protected:
  // The dialog as the user fills it: `setup` types, then "Zapisz" is pressed.
  void ConfirmWith(std::function<void(TParagonDlg&)> setup) {
    ui.QueueModal([this, setup](Window&) {
      setup(paragon);
      return paragon.btnSaveClick() ? mrOk : mrCancel;
    });
  }
  std::vector<std::string> FieldNames(const xml::TXMLNode& row) {
    std::vector<std::string> names;
    for (xml::TXMLNode child : row.ChildNodes()) names.push_back(child.LocalName());
    return names;
  }
  V7mFile Invoices() {
    V7mFile file;
    file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}}), Sale(2, {{"K_19", "200"}, {"K_20", "46"}})};
    file.saleTax = "69";
    return file;
  }
};

TEST_F(ParagonSaleTest, MissingReceiptRowIsCreatedFirstAfterAQuestion) {
  Adopt(Invoices());
  ui.QueueAnswer(Answer::Yes);
  ConfirmWith([](TParagonDlg& d) {
    EXPECT_EQ(d.edDowodSprzedazy.Text, "Raport fiskalny okresowy");
    EXPECT_EQ(d.edNet23.Text, "");
    d.edNet23.Text = "1000";
    d.edTax23.Text = "230";
    d.edValue0.Text = "50";
  });
  dlg.btnAddParagonSaleClick();
  EXPECT_EQ(ui.Messages()[0].text, "Brak wpisu ze sprzedażą paragonową.\rUtworzyć taką pozycję?");
  EXPECT_EQ(ui.ModalWindows(), (std::vector<std::string>{"TParagonDlg"}));
  auto rows = dlg.LoadedJpk.Ewidencja().SprzedazWiersz();
  ASSERT_EQ(rows.Count(), 3);
  EXPECT_EQ(rows[0].LpSprzedazy(), 1);
  EXPECT_EQ(rows[0].NrKontrahenta(), "BRAK");
  EXPECT_EQ(rows[0].DataWystawienia(), "2024-03-31");
  EXPECT_EQ(rows[0].TypDokumentu(), "RO");
  EXPECT_EQ(FieldNames(rows[0]),
            (std::vector<std::string>{"LpSprzedazy", "NrKontrahenta", "NazwaKontrahenta", "DowodSprzedazy",
                                      "DataWystawienia", "TypDokumentu", "K_13", "K_19", "K_20"}));
  EXPECT_EQ(rows[1].DowodSprzedazy(), "FV/1/2024");
  EXPECT_EQ(rows[1].LpSprzedazy(), 2);
  EXPECT_EQ(rows[2].LpSprzedazy(), 3);
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "3");
  EXPECT_EQ(dlg.edSaleTaxSum.Text, "299");
  EXPECT_EQ(SchemaProblems(dir.File("p.xml")), "");
}

TEST_F(ParagonSaleTest, SecondPressFindsTheRowAndShowsItsValues) {
  Adopt(Invoices());
  ui.QueueAnswer(Answer::Yes);
  ConfirmWith([](TParagonDlg& d) {
    d.edNet23.Text = "1000";
    d.edTax23.Text = "230";
    d.edValue0.Text = "50";
  });
  dlg.btnAddParagonSaleClick();
  ui.Clear();
  ConfirmWith([](TParagonDlg& d) {
    EXPECT_EQ(d.edNet23.Text, "1000");
    EXPECT_EQ(d.edValue0.Text, "50");
    EXPECT_EQ(d.edSumVAT.Text, "230");
    d.edDowodSprzedazy.Text = "RF 03/2024";
    d.edValue0.Text = "";  // removes K_13
    d.edValueFree.Text = "12.5";
    d.edNet5.Text = "100";
    d.edTax5.Text = "5";
  });
  dlg.btnAddParagonSaleClick();
  EXPECT_TRUE(ui.Messages().empty());  // no question: the row is there
  auto rows = dlg.LoadedJpk.Ewidencja().SprzedazWiersz();
  ASSERT_EQ(rows.Count(), 3);
  EXPECT_EQ(rows[0].DowodSprzedazy(), "RF 03/2024");
  EXPECT_EQ(FieldNames(rows[0]),
            (std::vector<std::string>{"LpSprzedazy", "NrKontrahenta", "NazwaKontrahenta", "DowodSprzedazy",
                                      "DataWystawienia", "TypDokumentu", "K_10", "K_15", "K_16", "K_19", "K_20"}));
  EXPECT_EQ(SchemaProblems(dir.File("p.xml")), "");
}

TEST_F(ParagonSaleTest, CancelAfterCreatingLeavesTheRegisterAsItWas) {
  Adopt(Invoices());
  std::string before = dlg.LoadedJpk.OwnerDocument()->SaveToXML();
  ui.QueueAnswer(Answer::Yes);
  ui.QueueModal([this](Window&) {
    paragon.edNet23.Text = "1000";
    paragon.CancelBtnClick();
    return mrCancel;
  });
  dlg.btnAddParagonSaleClick();
  EXPECT_EQ(dlg.LoadedJpk.OwnerDocument()->SaveToXML(), before);
  EXPECT_FALSE(Modified());
  EXPECT_EQ(dlg.Caption, "nowy plik - Torvik JPK");
}

TEST_F(ParagonSaleTest, DecliningTheRowChangesNothing) {
  Adopt(Invoices());
  ui.QueueAnswer(Answer::No);
  dlg.btnAddParagonSaleClick();
  EXPECT_TRUE(ui.ModalWindows().empty());
  EXPECT_EQ(dlg.LoadedJpk.Ewidencja().SprzedazWiersz().Count(), 2);
  ui.QueueAnswer(Answer::Cancel);
  dlg.btnAddParagonSaleClick();
  EXPECT_TRUE(ui.ModalWindows().empty());
  EXPECT_FALSE(Modified());
}

TEST_F(ParagonSaleTest, ReceiptRowOfAnotherMonthIsDatedItsLastDay) {
  Settings().CurDate = DateTime{2024, 2, 10};
  Settings().DowodSprzedazyRO = "Raport miesięczny";
  V7mFile empty;
  empty.ewidencja = false;
  Adopt(empty);
  ui.QueueAnswer(Answer::Yes);
  ConfirmWith([](TParagonDlg& d) { d.edValueFree.Text = "10"; });
  dlg.btnAddParagonSaleClick();
  auto row = dlg.LoadedJpk.Ewidencja().SprzedazWiersz()[0];
  EXPECT_EQ(row.DataWystawienia(), "2024-02-29");
  EXPECT_EQ(row.DowodSprzedazy(), "Raport miesięczny");
  EXPECT_EQ(SchemaProblems(dir.File("p.xml")), "");
}

TEST_F(ParagonSaleTest, InvoiceForAReceiptIsNotTheReceiptRow) {
  V7mFile file;
  file.sales = {TypedSale(1, "FP", {{"K_19", "10"}, {"K_20", "2.3"}})};
  file.sales[0].fields[1].second = "brak";
  Adopt(file);
  ui.QueueAnswer(Answer::No);
  dlg.btnAddParagonSaleClick();
  EXPECT_EQ(ui.LastMessage(), "Brak wpisu ze sprzedażą paragonową.\rUtworzyć taką pozycję?");
}
