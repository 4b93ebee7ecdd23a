// The editor window's refresh: what it shows of a document, the two tax checks with
// their colours and hints, and which controls are usable; the row readers it totals with.
#include <gtest/gtest.h>

#include "editor/RowReaders.h"
#include "tests/editor/V7mFixture.h"

using namespace velkar;
using namespace velkar::test;

TEST(RowReaders, ReadWithoutCreatingAndRoundToTwoPlaces) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100.005"}, {"K_20", " 23 "}})};
  v7m::IXMLJPK jpk = file.Load();
  xml::TXMLNode row = jpk.FindChild("Ewidencja").FindChild("SprzedazWiersz");
  EXPECT_EQ(ChildText(row, "DowodSprzedazy"), "FV/1/2024");
  EXPECT_EQ(ChildText(row, "K_10"), "");
  EXPECT_EQ(ChildAmount(row, "K_19"), 100.01);
  EXPECT_EQ(ChildAmount(row, "K_20"), 23);
  EXPECT_EQ(ChildAmount(row, "K_11"), 0);
  EXPECT_FALSE(row.FindChild("K_10"));
  EXPECT_FALSE(jpk.OwnerDocument()->Modified());

  V7mFile withComma;
  withComma.sales = {Sale(1, {{"K_19", "1,5"}})};
  v7m::IXMLJPK comma = withComma.Load();
  EXPECT_THROW(ChildAmount(comma.FindChild("Ewidencja").FindChild("SprzedazWiersz"), "K_19"), xml::EConvertError);
}

TEST(RowReaders, PositionValueReadsThePositionOfTheFieldName) {
  V7mFile file;
  file.positions = {{"P_16", "123"}, {"P_38", ""}};
  xml::TXMLNode poz = file.Load().FindChild("Deklaracja").FindChild("PozycjeSzczegolowe");
  EXPECT_EQ(PositionValue(poz, "K_16"), 123);
  EXPECT_EQ(PositionValue(poz, "P_16"), 123);
  EXPECT_EQ(PositionValue(poz, "K_18"), 0);
  EXPECT_EQ(PositionValue(poz, "P_38"), 0);
}

TEST(RowReaders, RowTotalsAddTheirFieldsAndFpRowsCountNothing) {
  V7mFile file;
  file.sales = {
      Sale(1,
           {{"K_11", "10.004"}, {"K_12", "5"}, {"K_19", "100.004"}, {"K_20", "23"}, {"K_35", "1.5"}, {"K_36", "0.5"}}),
      TypedSale(2, "FP", {{"K_19", "100"}, {"K_20", "23"}})};
  file.purchases = {
      Purchase(1, {{"K_40", "50"}, {"K_41", "11.5"}, {"K_42", "20.10"}, {"K_43", "4.62"}, {"K_46", "-1"}})};
  v7m::IXMLJPK jpk = file.Load();
  v7m::IXMLJPK_Ewidencja ewidencja = jpk.Ewidencja();
  EXPECT_EQ(SaleNetOfRow(ewidencja.SprzedazWiersz()[0]), 110.0);  // K_12 is part of K_11
  EXPECT_EQ(SaleTaxOfRow(ewidencja.SprzedazWiersz()[0]), 21.0);
  EXPECT_EQ(SaleNetOfRow(ewidencja.SprzedazWiersz()[1]), 0.0);
  EXPECT_EQ(SaleTaxOfRow(ewidencja.SprzedazWiersz()[1]), 0.0);
  EXPECT_DOUBLE_EQ(PurchaseNetOfRow(ewidencja.ZakupWiersz()[0]), 70.10);
  EXPECT_DOUBLE_EQ(PurchaseTaxOfRow(ewidencja.ZakupWiersz()[0]), 15.12);
}

using RefreshInfoTest = EditorTest;

TEST_F(RefreshInfoTest, WithoutADocumentTheGroupsAreDisabled) {
  dlg.RefreshInfo();
  EXPECT_EQ(dlg.Caption, "nowy plik - Torvik JPK");
  EXPECT_EQ(dlg.gbDeklaracja.Text, "Deklaracja - brak części deklaracyjnej w pliku JPK_V7");
  EXPECT_FALSE(dlg.gbDeklaracja.Enabled);
  EXPECT_FALSE(dlg.btnAddParagonSale.Enabled);
  EXPECT_FALSE(dlg.btnRecalcDeclaration.Enabled);
  for (TRadioButton* button : dlg.ZwrotButtons()) EXPECT_FALSE(button->Enabled) << button->Name;
}

TEST_F(RefreshInfoTest, MakeButtonNeedsADataFolder) {
  dlg.FormShow();
  EXPECT_FALSE(dlg.btnMakeJPK.Enabled);
  Settings().FennikDir = "/dane/fennik/";
  dlg.FormShow();
  EXPECT_TRUE(dlg.btnMakeJPK.Enabled);
}

TEST_F(RefreshInfoTest, FileWithoutDeclarationShowsTheRegisterOnly) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  file.saleTax = "23.00";
  file.miesiac = "3";
  Adopt(file);
  EXPECT_EQ(dlg.edNIP.Text, "5250001090");
  EXPECT_EQ(dlg.edGenDate.Text, "2024-04-02T09:05:07");
  EXPECT_EQ(dlg.edDateRange.Text, "2024-03");
  EXPECT_EQ(dlg.edSaleTaxSum.Text, "23");
  EXPECT_EQ(dlg.edSaleLinesCount.Text, "1");
  EXPECT_EQ(dlg.edBuyTaxSum.Text, "0");
  EXPECT_EQ(dlg.edBuyLinesCount.Text, "0");
  EXPECT_EQ(dlg.gbDeklaracja.Text, "Deklaracja - brak części deklaracyjnej w pliku JPK_V7");
  for (TLabeledEdit* edit : {&dlg.edP37, &dlg.edP38, &dlg.edP39, &dlg.edP48, &dlg.edP51, &dlg.edP53, &dlg.edORDZU})
    EXPECT_EQ(edit->Text, "") << edit->Name;
  EXPECT_TRUE(dlg.gbDeklaracja.Enabled);
  EXPECT_TRUE(dlg.btnRecalcDeclaration.Enabled);
  EXPECT_FALSE(dlg.btnClearDeclaration.Enabled);
  EXPECT_FALSE(dlg.LoadedJpk.FindChild("Deklaracja"));
  EXPECT_FALSE(Modified());
}

TEST_F(RefreshInfoTest, NaturalPersonNipComesFromOsobaFizyczna) {
  V7mFile file;
  file.podmiot =
      "<Podmiot1 rola=\"Podatnik\"><OsobaFizyczna><etd:NIP>7740001454</etd:NIP><etd:ImiePierwsze>Jan"
      "</etd:ImiePierwsze><etd:Nazwisko>Kowal</etd:Nazwisko><etd:DataUrodzenia>1980-01-02</etd:DataUrodzenia>"
      "<Email>jan@kowal.pl</Email></OsobaFizyczna></Podmiot1>";
  file.miesiac = "11";
  Adopt(file);
  EXPECT_EQ(dlg.edNIP.Text, "7740001454");
  EXPECT_EQ(dlg.edDateRange.Text, "2024-11");
}

TEST_F(RefreshInfoTest, OutputTaxCheckRoundsTheRegisterHalfAwayFromZero) {
  V7mFile file;
  file.positions = {{"P_38", "1235"}, {"P_51", "1235"}};
  file.saleTax = "1234.50";
  Adopt(file);
  EXPECT_EQ(dlg.gbDeklaracja.Text, "Deklaracja");
  EXPECT_EQ(dlg.edP38.Text, "1235");
  EXPECT_EQ(dlg.edP38.BackColor, Color::BtnFace);
  EXPECT_EQ(dlg.edP38.Hint, "podatek w deklaracji: 1235, podatek w ewidencji: 1234.50 (różnica: 0.50)");

  file.saleTax = "1234.49";
  Adopt(file);
  EXPECT_EQ(dlg.edP38.BackColor, Color::Red);
  EXPECT_EQ(dlg.edP38.Hint, "podatek w deklaracji: 1235, podatek w ewidencji: 1234.49 (różnica: 0.51)");
  EXPECT_TRUE(dlg.edP38.ShowHint);
}

TEST_F(RefreshInfoTest, InputTaxCheckLeavesOutTheExcessCarriedOver) {
  V7mFile file;
  file.positions = {{"P_38", "0"},    {"P_39", "100"}, {"P_40", "3000.4"},
                    {"P_42", "1000"}, {"P_48", "900"}, {"P_51", "0"}};
  file.purchaseTax = "800.00";
  Adopt(file);
  EXPECT_EQ(dlg.edP39.Text, "100");
  EXPECT_EQ(dlg.edP40Plus42.Text, "4000.4");
  EXPECT_EQ(dlg.edP48.BackColor, Color::BtnFace);
  EXPECT_EQ(
      dlg.edP48.Hint,
      "podatek w deklaracji (bez nadwyżki z poprzedniego m-ca): 800, podatek w ewidencji: 800.00 (różnica: 0.00)");

  file.purchaseTax = "799.49";
  Adopt(file);
  EXPECT_EQ(dlg.edP48.BackColor, Color::Red);
}

TEST_F(RefreshInfoTest, DeductionsAndExcessEnableTheirControls) {
  V7mFile file;
  file.positions = {{"P_38", "1000"}, {"P_48", "400"}, {"P_49", "100"}, {"P_51", "500"}, {"P_62", "0"}};
  Adopt(file);
  EXPECT_TRUE(dlg.edP49.Enabled);
  EXPECT_TRUE(dlg.edP50.Enabled);
  EXPECT_EQ(dlg.edP49.Text, "100");
  EXPECT_TRUE(dlg.edP51.Bold);
  EXPECT_FALSE(dlg.edP62.Bold);
  EXPECT_FALSE(dlg.gbNadwyzkaPodatku.Enabled);

  // P_53 empty or 0: the refund group stays disabled even if P_54 holds a value.
  file.positions = {{"P_38", "100"}, {"P_48", "400"}, {"P_51", "0"}, {"P_54", "50"}, {"P_55", "1"}};
  Adopt(file);
  EXPECT_FALSE(dlg.edP49.Enabled);
  EXPECT_FALSE(dlg.edP51.Bold);
  EXPECT_FALSE(dlg.gbNadwyzkaPodatku.Enabled);
  EXPECT_FALSE(dlg.edP54.Enabled);
  EXPECT_FALSE(dlg.cbP59.Enabled);
  EXPECT_EQ(dlg.edP54.Text, "50");
  EXPECT_TRUE(dlg.rbZwrot55.Checked);

  file.positions = {{"P_38", "100"}, {"P_48", "400"}, {"P_51", "0"},         {"P_53", "300"},
                    {"P_54", "200"}, {"P_57", "1"},   {"P_59", "1"},         {"P_60", "150"},
                    {"P_61", "PIT"}, {"P_62", "100"}, {"P_ORDZU", "Korekta"}};
  Adopt(file);
  EXPECT_TRUE(dlg.gbNadwyzkaPodatku.Enabled);
  EXPECT_TRUE(dlg.edP54.Enabled);
  EXPECT_TRUE(dlg.rbZwrot57.Checked);
  EXPECT_FALSE(dlg.rbZwrot55.Checked);
  EXPECT_TRUE(dlg.rbZwrot58.Enabled);
  EXPECT_TRUE(dlg.rbZwrot540.Enabled);  // the 15-day term is offered with the others
  EXPECT_TRUE(dlg.cbP59.Checked);
  EXPECT_TRUE(dlg.edP60.Enabled);
  EXPECT_EQ(dlg.edP60.Text, "150");
  EXPECT_EQ(dlg.edP61.Text, "PIT");
  EXPECT_TRUE(dlg.edP62.Bold);
  EXPECT_EQ(dlg.edORDZU.Text, "Korekta");
  EXPECT_TRUE(dlg.btnClearDeclaration.Enabled);
}

TEST_F(RefreshInfoTest, EmptyingTheRefundAmountUnchecksAndDisablesTheTerms) {
  dlg.edP54.Text = "100";
  dlg.edP54Change();
  dlg.rbZwrotClick(dlg.rbZwrot56);
  EXPECT_TRUE(dlg.rbZwrot56.Enabled);
  dlg.rbZwrotClick(dlg.rbZwrot58);
  EXPECT_FALSE(dlg.rbZwrot56.Checked);
  dlg.edP54.Text = "";
  dlg.edP54Change();
  EXPECT_FALSE(dlg.rbZwrot58.Checked);
  EXPECT_FALSE(dlg.rbZwrot58.Enabled);
  EXPECT_FALSE(dlg.rbZwrot560.Enabled);

  dlg.cbP59.Checked = true;
  dlg.cbP59Click();
  EXPECT_TRUE(dlg.edP60.Enabled && dlg.edP61.Enabled);
}

TEST_F(RefreshInfoTest, ModifiedDocumentGetsAStarInTheCaption) {
  CurrentJpkFileName() = "/dane/2024-03_JPK_V7M.xml";
  Adopt(V7mFile{});
  EXPECT_EQ(dlg.Caption, "/dane/2024-03_JPK_V7M.xml - Torvik JPK");
  dlg.LoadedJpk.OwnerDocument()->SetModified(true);
  dlg.RefreshInfo();
  EXPECT_EQ(dlg.Caption, "*/dane/2024-03_JPK_V7M.xml - Torvik JPK");
}

TEST_F(RefreshInfoTest, NonNumericPositionRaisesTheConversionError) {
  V7mFile file;
  file.positions = {{"P_38", "12a"}};
  dlg.LoadedJpk = file.Load();
  EXPECT_THROW(dlg.RefreshInfo(), xml::EConvertError);
}
