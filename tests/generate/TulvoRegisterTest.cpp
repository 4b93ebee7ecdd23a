// Tulvo's registers in both layouts: the passes over the tables, the switches Zakup2Ex,
// Sprzedaz2ImpUslugEx, AddValZw2Net and AddNPO2Net, Tax Free sales and fixed assets.
#include "tests/generate/GenerateFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {

class TulvoTest : public GenerateTest {
 protected:
  void WriteOlder(const std::string& table, const std::vector<Rec>& records) {
    WriteRecords(dir.File("Tulvo/2024/" + table + ".db"), TulvoOlderFields(), records);
  }
  // All nine tables of the older layout, empty unless given.
  void WriteOlderLayout(const std::map<std::string, std::vector<Rec>>& tables) {
    for (const char* name : {"REGS", "REGSKOR", "REGSU", "REGB1", "REGB", "REGB2", "REGBKOR", "REGBA", "REGBP"}) {
      auto it = tables.find(name);
      WriteOlder(name, it == tables.end() ? std::vector<Rec>{} : it->second);
    }
  }
  static Rec Older(long long number, const std::string& doc, Rec more, long long period = 12415) {
    Rec rec = {{"Number", number},
               {"Period Id", period},
               {"Dokument", doc},
               {"User", 1LL},
               {"Data Wystawienia", D("2024-03-04")},
               {"Data Sprzedazy", D("2024-03-04")}};
    rec.insert(rec.end(), more.begin(), more.end());
    return rec;
  }
  static Rec Newer(long long regType, long long month, const std::string& doc, Rec more) {
    Rec rec = {{"RegType", regType}, {"VatPeriod", month},           {"DocName", doc},
               {"FirmId", 1LL},      {"DocDate", D("2024-03-06")}, {"SaleDate", D("2024-03-06")}};
    rec.insert(rec.end(), more.begin(), more.end());
    return rec;
  }
  std::vector<std::string> Documents(const std::vector<GenRow>& rows, const char* field) {
    std::vector<std::string> docs;
    for (const GenRow& row : rows) docs.push_back(row[field]);
    return docs;
  }
};

TEST_F(TulvoTest, NewerLayoutIsReadInASalesAndAPurchasePass) {
  Settings().AddValZw2Net = true;
  Settings().AddNPO2Net = true;  // the newer layout has no non-deductible field: no effect
  WriteUsers();
  WriteRecords(dir.File("Tulvo/2024/Register.db"), TulvoNewerFields(),
               {Newer(128, 3, "FZ 1", {{"NetA", 100.0}, {"VatA", 23.0}, {"NetB", 10.0}, {"VatB", 0.8},
                                       {"ValueFree", 5.0}, {"Procedura", 2LL}, {"TypDokumentu", "MK"},
                                       {"DocDate", D("2024-03-07")}}),
                Newer(0, 3, "TaxFree 1/2024", {{"Value0", 80.0}, {"GTU", 8192LL}, {"Procedura", 4096LL}}),
                Newer(0, 3, "taxfree 2/2024", {{"Value0", 70.0}}),
                Newer(0, 2, "FV luty", {{"NetA", 1.0}}),
                Newer(0, 3, "FV 1", {{"NetA", 100.0}, {"VatA", 23.0}, {"NetD", 20.0}, {"VatD", 1.0},
                                     {"ValueFree", 3.0}, {"Procedura", 4LL}, {"SaleDate", D("2024-03-01")}})});
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbTulvo), "");
  EXPECT_TRUE(UsersIsSingle);
  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(Documents(sales, "DowodSprzedazy"),
            (std::vector<std::string>{"TaxFree 1/2024", "taxfree 2/2024", "FV 1"}));
  EXPECT_EQ(sales[0]["K_13"], "80");
  EXPECT_EQ(sales[0]["K_14"], "80");
  EXPECT_FALSE(sales[0].Has("GTU_13"));  // GTU bit 13 and procedure bit 12 are ignored
  EXPECT_EQ(sales[0].names.size(), 7u);
  EXPECT_FALSE(sales[1].Has("K_14"));  // "taxfree" in lower case is no Tax Free sale
  EXPECT_EQ(sales[2]["K_10"], "3");
  EXPECT_EQ(sales[2]["K_15"], "20");
  EXPECT_EQ(sales[2]["K_16"], "1");
  EXPECT_EQ(sales[2]["K_19"], "100");
  EXPECT_EQ(sales[2]["TP"], "1");
  EXPECT_EQ(sales[2]["DataSprzedazy"], "2024-03-01");
  std::vector<GenRow> purchases = Purchases();
  ASSERT_EQ(purchases.size(), 1u);
  EXPECT_EQ(purchases[0]["DataZakupu"], "2024-03-06");
  EXPECT_EQ(purchases[0]["DataWplywu"], "2024-03-07");
  EXPECT_EQ(purchases[0]["DokumentZakupu"], "MK");
  EXPECT_EQ(purchases[0]["IMP"], "1");
  EXPECT_EQ(purchases[0]["K_42"], "115");  // 100 + 10 + exempt 5
  EXPECT_EQ(purchases[0]["K_43"], "23.8");
  // The editor's recalculation fills the control records.
  EXPECT_EQ(Ctrl("SprzedazCtrl", "PodatekNalezny"), "24");
  EXPECT_EQ(Ctrl("ZakupCtrl", "PodatekNaliczony"), "23.8");
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(TulvoTest, OlderLayoutTablesAreReadInTheirOrderWithZakup2Ex) {
  Settings().Zakup2Ex = true;
  Settings().AddNPO2Net = true;
  WriteUsers();
  WriteOlderLayout({
      {"REGS", {Older(1, "FV 1", {{"Wart. 22", 100.0}, {"VAT 22", 23.0}, {"Wart. zw", 7.0}})}},
      {"REGSKOR", {Older(1, "KOR 1", {{"Wart. 22", -10.0}, {"VAT 22", -2.3}})}},
      {"REGSU", {Older(1, "TaxFree 3", {{"Wart. 0", 50.0}}), Older(2, "FV luty", {{"Wart. 0", 1.0}}, 12410)}},
      {"REGB1", {Older(1, "SAD 1", {{"Wart. 22", 1000.0}, {"VAT 22", 230.0}, {"VAT", 230.0},
                                    {"Data Wplywu", D("2024-03-11")}, {"Procedura", 2LL}})}},
      {"REGB", {Older(1, "FZ 1", {{"Wart. 7", 100.0}, {"VAT", 8.0}, {"VatNPO", 0.5}})}},
      {"REGBA", {Older(1, "PALIWO", {{"Wart. 22", 100.0}, {"VAT", 11.5}, {"VatNPO", 11.5}})}},
      {"REGBP", {Older(1, "ŚT 1", {{"Wart. 22", 5000.0}, {"VAT", 1150.0}})}},
  });
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbTulvo), "");
  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(Documents(sales, "DowodSprzedazy"), (std::vector<std::string>{"FV 1", "KOR 1", "TaxFree 3", "SAD 1"}));
  EXPECT_EQ(sales[0]["K_10"], "7");
  EXPECT_EQ(sales[1]["K_19"], "-10");  // never negated, kept as the register has it
  EXPECT_EQ(sales[2]["K_14"], "50");
  // REGB1 on the sales side: import of goods in K_25 and K_26, sold on its receipt date.
  EXPECT_EQ(sales[3]["K_25"], "1000");
  EXPECT_EQ(sales[3]["K_26"], "230");
  EXPECT_EQ(sales[3]["DataSprzedazy"], "2024-03-11");
  EXPECT_FALSE(sales[3].Has("K_19"));
  std::vector<GenRow> purchases = Purchases();
  ASSERT_EQ(Documents(purchases, "DowodZakupu"), (std::vector<std::string>{"SAD 1", "FZ 1", "PALIWO", "ŚT 1"}));
  EXPECT_EQ(purchases[0]["K_42"], "1000");
  EXPECT_EQ(purchases[0]["IMP"], "1");
  EXPECT_EQ(purchases[1]["K_42"], "100.5");  // with the non-deductible VAT
  EXPECT_EQ(purchases[2]["K_42"], "111.5");
  EXPECT_EQ(purchases[2]["K_43"], "11.5");
  // Fixed assets: K_40 and K_41.
  EXPECT_EQ(purchases[3]["K_40"], "5000");
  EXPECT_EQ(purchases[3]["K_41"], "1150");
  EXPECT_FALSE(purchases[3].Has("K_42"));
  // Numbers restart per table; the recalculation renumbers them.
  EXPECT_EQ(purchases[3]["LpZakupu"], "4");
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(TulvoTest, ImportTablesAreNotReadWithOnlyOneSide) {
  Settings().Zakup2Ex = true;
  Settings().Sprzedaz2ImpUslugEx = true;
  WriteUsers();
  WriteOlderLayout({
      {"REGS", {Older(1, "IU 1", {{"Wart. 22", 100.0}, {"VAT 22", 23.0}, {"Wart. 7", 9.0}})}},
      {"REGSKOR", {Older(1, "KOR 1", {{"Wart. 22", -10.0}, {"VAT 22", -2.3}})}},
      {"REGB1", {Older(1, "SAD 1", {{"Wart. 22", 1000.0}, {"VAT 22", 230.0}})}},
  });
  Dialog().cbBuy.Checked = false;
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbTulvo), "");
  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(Documents(sales, "DowodSprzedazy"), (std::vector<std::string>{"IU 1", "KOR 1"}));
  // REGS as import of services: K_29 and K_30 from the 23 % columns, nothing else.
  EXPECT_EQ(sales[0]["K_29"], "100");
  EXPECT_EQ(sales[0]["K_30"], "23");
  EXPECT_FALSE(sales[0].Has("K_17"));
  EXPECT_EQ(sales[1]["K_19"], "-10");
  EXPECT_TRUE(Purchases().empty());
}

TEST_F(TulvoTest, AMissingDocumentNumberNamesTheTable) {
  WriteUsers();
  WriteOlderLayout({{"REGSU", {Older(7, "", {})}}});
  EXPECT_EQ(Generate(&TGenJpkVatDlg::rbTulvo), "Brak numeru dokumentu.\rRejestr: REGSU Nr: 7");
  EXPECT_FALSE(editor.LoadedJpk);
  ExpectClosedDown();
}

TEST_F(TulvoTest, AMissingOlderTableStopsTheReading) {
  WriteUsers();
  WriteOlder("REGS", {});
  std::string error = Generate(&TGenJpkVatDlg::rbTulvo);
  EXPECT_NE(error.find("REGSKOR"), std::string::npos) << error;
  ExpectClosedDown();
}

}  // namespace
