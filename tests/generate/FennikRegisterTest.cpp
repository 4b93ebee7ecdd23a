// Fennik's register: RegId below 128 sales, from 128 purchases; the net additions of
// AddValZw2Net and AddNPO2Net; the missing-number error.
#include "tests/generate/GenerateFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {

class FennikTest : public GenerateTest {
 protected:
  static Rec Fennik(long long number, long long regId, const std::string& doc, Rec more, long long month = 3) {
    Rec rec = {{"Number", number},          {"RegId", regId},
               {"VATMonth", month},         {"DocName", doc},
               {"FirmId", 6LL},             {"RegDate", D("2024-03-12")},
               {"SaleDate", D("2024-03-10")}};
    rec.insert(rec.end(), more.begin(), more.end());
    return rec;
  }
  void WriteFennik(const std::vector<Rec>& records) {
    WriteRecords(dir.File("Fennik/2024/Register.db"), FennikFields(), records);
  }
};

TEST_F(FennikTest, RegistersBelow128AreSalesTheOthersPurchases) {
  Settings().AddValZw2Net = true;
  Settings().AddNPO2Net = true;
  WriteUsers();
  WriteFennik({
      Fennik(1, 127, "KOR 1", {{"Net22", -100.0}, {"Vat22", -23.0}, {"GTU", 6LL}}),
      Fennik(2, 128, "FZ 1", {{"Net22", 100.004}, {"Net7", 10.003}, {"Vat22", 23.0}, {"Vat7", 0.8},
                              {"ValueFree", 0.126}, {"VatNoDeduct", 1.5}, {"TypDokumentu", "VAT_RR"}}),
      Fennik(3, 1, "TaxFree 9", {{"Value0", 30.0}, {"ValueFree", 2.0}, {"Procedura", 2LL}}),
      Fennik(4, 131, "SAD 2", {{"Net22", 200.0}, {"Vat22", 46.0}, {"Procedura", 2LL}}),
      Fennik(5, 1, "FV luty", {{"Net22", 1.0}}, 2),
  });
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "");
  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(sales.size(), 2u);
  EXPECT_EQ(sales[0]["DowodSprzedazy"], "KOR 1");
  EXPECT_EQ(sales[0]["DataWystawienia"], "2024-03-12");
  EXPECT_EQ(sales[0]["DataSprzedazy"], "2024-03-10");
  EXPECT_EQ(sales[0]["GTU_02"], "1");
  EXPECT_EQ(sales[0]["GTU_03"], "1");
  EXPECT_EQ(sales[0]["K_19"], "-100");
  EXPECT_EQ(sales[0]["K_20"], "-23");
  EXPECT_EQ(sales[1]["K_10"], "2");
  EXPECT_EQ(sales[1]["K_14"], "30");
  EXPECT_EQ(sales[1]["IED"], "1");
  std::vector<GenRow> purchases = Purchases();
  ASSERT_EQ(purchases.size(), 2u);
  // round2(110.007) = 110.01, plus the unrounded 0.126 and 1.5: 111.636, written to the grosz.
  EXPECT_EQ(purchases[0]["K_42"], "111.64");
  EXPECT_EQ(purchases[0]["K_43"], "23.8");
  EXPECT_EQ(purchases[0]["DokumentZakupu"], "VAT_RR");
  EXPECT_EQ(purchases[0]["DataZakupu"], "2024-03-10");
  EXPECT_EQ(purchases[0]["DataWplywu"], "2024-03-12");
  EXPECT_FALSE(purchases[0].Has("IMP"));
  EXPECT_EQ(purchases[1]["IMP"], "1");
  EXPECT_EQ(Ctrl("ZakupCtrl", "PodatekNaliczony"), "69.8");
  EXPECT_EQ(Ctrl("SprzedazCtrl", "PodatekNalezny"), "-23");
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(FennikTest, OnlyTheChosenSideIsRead) {
  WriteUsers();
  WriteFennik({Fennik(1, 1, "FV 1", {{"Net22", 10.0}, {"Vat22", 2.3}}), Fennik(2, 128, "FZ 1", {{"Net22", 5.0}})});
  Dialog().cbSale.Checked = false;
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "");
  EXPECT_TRUE(Sales().empty());
  ASSERT_EQ(Purchases().size(), 1u);
  EXPECT_EQ(Purchases()[0]["K_42"], "5");
  EXPECT_EQ(Purchases()[0]["K_43"], "0");  // written even when 0
}

TEST_F(FennikTest, AMissingDocumentNumberGivesRegisterAndNumber) {
  WriteUsers();
  WriteFennik({Fennik(1, 1, "FV 1", {{"Net22", 10.0}, {"Vat22", 2.3}}), Fennik(9, 131, "", {})});
  EXPECT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "Brak numeru dokumentu.\r131 9");
  EXPECT_FALSE(editor.LoadedJpk);
  ExpectClosedDown();
}

TEST_F(FennikTest, BothBoxesClearedGiveOnlyTheHeader) {
  WriteUsers();
  WriteFennik({Fennik(1, 1, "FV 1", {{"Net22", 10.0}, {"Vat22", 2.3}})});
  Dialog().cbSale.Checked = false;
  Dialog().cbBuy.Checked = false;
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "");
  EXPECT_TRUE(Sales().empty());
  EXPECT_TRUE(Purchases().empty());
  EXPECT_TRUE(editor.LoadedJpk.FindChild("Naglowek"));
}

}  // namespace
