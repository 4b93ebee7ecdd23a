// Gradmo's REG table read into JPK_V7M rows: document classes, flag bits, the amounts'
// elements, the control totals, the contractor tables and the errors.
#include "tests/generate/GenerateFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {

// A sale or purchase record of March 2024 with the given class, flags, number and amounts.
Rec Doc(long long cls, long long flags, const std::string& number, Rec amounts, long long payer = 1,
        const char* date = "2024-03-05", const char* saleDate = "2024-03-05") {
  static long long counter = 0;
  Rec rec = {{"Class", cls},      {"Year", 2024LL},         {"MagId", 1LL},          {"Number", ++counter},
             {"Flags", flags},    {"Document", number},     {"Payer", payer},        {"Date", D(date)},
             {"SaleDate", D(saleDate)}};
  if (number.empty()) rec.erase(rec.begin() + 5);
  rec.insert(rec.end(), amounts.begin(), amounts.end());
  return rec;
}

class GradmoTest : public GenerateTest {};

TEST_F(GradmoTest, SalesFollowTheirClassAndFlags) {
  Settings().AddAnulParag = true;
  WriteUsers();
  WriteGradmo({
      Doc(0, 0, "FV 1/03/2024", {{"Value22", 100.0}, {"Tax22", 23.0}, {"TotalTax", 23.0}, {"GTU", 5LL}}),
      Doc(4, 0, "FP 1/03/2024", {{"Value22", 50.0}, {"Tax22", 11.5}, {"TotalTax", 11.5}}),
      Doc(0, 16, "FV 2/03/2024", {{"Value7", 10.0}, {"Tax7", 0.8}, {"TotalTax", 0.8}}),
      Doc(22, 0, "FV 3/03/2024", {{"Value", 300.0}}, 2),
      Doc(22, 512, "FV 4/03/2024", {{"Value", 400.0}}, 2),
      Doc(2, 512, "FV 5/03/2024", {{"Value", 500.0}}, 2),
      Doc(3, 0, "FV 6/03/2024", {{"Value", 60.0}}, 2),
      Doc(0, 256, "FV 7/03/2024", {{"Value3", 0.0}, {"Tax3", 2.30}, {"TotalTax", 2.30}}),
      Doc(6, 8, "PAR 1/03/2024", {{"Value22", 10.0}, {"Tax22", 2.3}, {"ValueFree", 4.0}, {"TotalTax", 2.3}}, 4),
      Doc(0, 8, "FV 8/03/2024", {{"Value22", 1000.0}, {"Tax22", 230.0}, {"TotalTax", 230.0}}),
      Doc(48, 0, "FM 1/03/2024", {{"Value22", 1.0}, {"Tax22", 0.23}, {"TotalTax", 0.23}}),
      Doc(128, 0, "ZAK 1", {{"Value22", 1.0}, {"Tax22", 0.23}, {"TotalTax", 0.23}}, 6),
      Doc(0, 0, "FV 9/02/2024", {{"Value22", 9.0}, {"Tax22", 2.07}, {"TotalTax", 2.07}}, 1, "2024-02-29"),
  });
  Dialog().cbBuy.Checked = false;
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "");

  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(sales.size(), 9u);
  EXPECT_EQ(sales[0].names, (std::vector<std::string>{"LpSprzedazy", "NrKontrahenta", "NazwaKontrahenta",
                                                      "DowodSprzedazy", "DataWystawienia", "GTU_01", "GTU_03",
                                                      "K_19", "K_20"}));
  EXPECT_EQ(sales[0]["NrKontrahenta"], "5260250274");
  EXPECT_EQ(sales[1]["TypDokumentu"], "FP");
  EXPECT_EQ(sales[1]["K_19"], "50");
  EXPECT_EQ(sales[2]["TypDokumentu"], "FP");  // flag bit 4
  // Class 22: outside the country (K_11, of it K_12); with flag bit 9 an intra-Community
  // supply (K_21); class 2 with flag bit 9 an export (K_22); class 3 K_11 alone.
  EXPECT_EQ(sales[3]["K_11"], "300");
  EXPECT_EQ(sales[3]["K_12"], "300");
  EXPECT_EQ(sales[3]["KodKrajuNadaniaTIN"], "DE");
  EXPECT_EQ(sales[3]["NrKontrahenta"], "811234567");
  EXPECT_EQ(sales[4]["K_21"], "400");
  EXPECT_FALSE(sales[4].Has("K_11"));
  EXPECT_EQ(sales[5]["K_22"], "500");
  EXPECT_EQ(sales[6]["K_11"], "60");
  EXPECT_FALSE(sales[6].Has("K_12"));
  // Net 0 with tax 2.30 writes the net as 0; flag bit 8 marks procedure TP.
  EXPECT_EQ(sales[7]["K_15"], "0");
  EXPECT_EQ(sales[7]["K_16"], "2.3");
  EXPECT_EQ(sales[7]["TP"], "1");
  // A cancelled receipt: WEW, "Korekta: ", every amount negated.
  EXPECT_EQ(sales[8]["DowodSprzedazy"], "Korekta: PAR 1/03/2024");
  EXPECT_EQ(sales[8]["TypDokumentu"], "WEW");
  EXPECT_EQ(sales[8]["K_10"], "-4");
  EXPECT_EQ(sales[8]["K_19"], "-10");
  EXPECT_EQ(sales[8]["K_20"], "-2.3");
  EXPECT_EQ(sales[8]["NrKontrahenta"], "BRAK");  // no number: not asked about for a receipt
  EXPECT_TRUE(ui.Messages().empty());
  // The FP tax is left out of the total, the cancelled receipt's is subtracted.
  EXPECT_EQ(Ctrl("SprzedazCtrl", "LiczbaWierszySprzedazy"), "9");
  EXPECT_EQ(Ctrl("SprzedazCtrl", "PodatekNalezny"), "23");  // 23 + 2.30 - 2.30
  EXPECT_TRUE(Purchases().empty());
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(GradmoTest, ShopInvoicesAndCancelledReceiptsFollowTheirSwitches) {
  Settings().AddAnulParag = false;
  Settings().AddFaktMarket = true;
  Settings().SalesDocumentClasses = MakeSalesDocumentClasses(true);
  WriteUsers();
  WriteGradmo({Doc(48, 0, "FM 1/03/2024", {{"Value22", 1.0}, {"Tax22", 0.23}, {"TotalTax", 0.23}}),
               Doc(6, 8, "PAR 1/03/2024", {{"Value22", 10.0}, {"Tax22", 2.3}, {"TotalTax", 2.3}}, 4)});
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "");
  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(sales.size(), 1u);
  EXPECT_EQ(sales[0]["DowodSprzedazy"], "FM 1/03/2024");
  EXPECT_EQ(Ctrl("SprzedazCtrl", "PodatekNalezny"), "0.23");
}

TEST_F(GradmoTest, PurchasesFollowTheirFlags) {
  WriteUsers();
  WriteGradmo({
      Doc(128, 64, "FZ 1", {{"Value22", 100.0}, {"Tax22", 23.01}, {"TotalTax", 23.01}}, 6, "2024-03-08", "2024-03-01"),
      Doc(129, 1024, "SAD 1", {{"Value22", 200.0}, {"Value0", 5.5}, {"TotalTax", 46.0}}, 2, "2024-03-09", "2024-03-09"),
      Doc(128, 2, "FK 1", {{"Value22", 50.0}, {"TotalTax", 11.5}}, 6),
      Doc(128, 8, "FZ 2", {{"Value22", 70.0}, {"TotalTax", 16.1}}, 6),
      Doc(134, 0, "RR 1", {{"Value7", 70.0}, {"TotalTax", 4.9}}, 6),
      Doc(0, 0, "FV 1", {{"Value22", 1.0}, {"TotalTax", 0.23}}, 1),
  });
  Dialog().cbSale.Checked = false;
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "");
  std::vector<GenRow> purchases = Purchases();
  ASSERT_EQ(purchases.size(), 2u);
  // Half of 100.00 and of 23.01, rounded half away from zero.
  EXPECT_EQ(purchases[0]["K_42"], "50");
  EXPECT_EQ(purchases[0]["K_43"], "11.51");
  EXPECT_EQ(purchases[0]["DataZakupu"], "2024-03-01");
  EXPECT_EQ(purchases[0]["DataWplywu"], "2024-03-08");
  EXPECT_FALSE(purchases[0].Has("DokumentZakupu"));
  EXPECT_FALSE(purchases[0].Has("IMP"));
  EXPECT_EQ(purchases[1]["IMP"], "1");
  EXPECT_FALSE(purchases[1].Has("DataWplywu"));
  EXPECT_EQ(purchases[1]["K_42"], "205.5");
  EXPECT_EQ(purchases[1]["K_43"], "46");
  EXPECT_EQ(Ctrl("ZakupCtrl", "LiczbaWierszyZakupow"), "2");
  EXPECT_EQ(Ctrl("ZakupCtrl", "PodatekNaliczony"), "57.51");
  EXPECT_TRUE(Sales().empty());
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(GradmoTest, CostInvoicesAreTakenWithAddCostInvo) {
  Settings().AddCostInvo = true;
  WriteUsers();
  WriteGradmo({Doc(128, 2, "FK 1", {{"Value22", 50.0}, {"TotalTax", 11.5}}, 6),
               Doc(128, 8, "FZ 2", {{"Value22", 70.0}, {"TotalTax", 16.1}}, 6)});
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "");
  ASSERT_EQ(Purchases().size(), 1u);
  EXPECT_EQ(Purchases()[0]["DowodZakupu"], "FK 1");
}

TEST_F(GradmoTest, RegBySaleDateSelectsSalesBySaleDateOnly) {
  Settings().RegBySaleDate = true;
  WriteUsers();
  WriteGradmo({
      Doc(0, 0, "FV luty", {{"Value22", 10.0}, {"Tax22", 2.3}, {"TotalTax", 2.3}}, 1, "2024-03-02", "2024-02-29"),
      Doc(0, 0, "FV marzec", {{"Value22", 20.0}, {"Tax22", 4.6}, {"TotalTax", 4.6}}, 1, "2024-04-01", "2024-03-31"),
      Doc(128, 0, "FZ marzec", {{"Value22", 30.0}, {"TotalTax", 6.9}}, 6, "2024-03-31", "2024-02-28"),
      Doc(128, 0, "FZ kwiecień", {{"Value22", 40.0}, {"TotalTax", 9.2}}, 6, "2024-04-01", "2024-03-15"),
  });
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "");
  ASSERT_EQ(Sales().size(), 1u);
  EXPECT_EQ(Sales()[0]["DowodSprzedazy"], "FV marzec");
  EXPECT_EQ(Sales()[0]["DataSprzedazy"], "2024-03-31");
  ASSERT_EQ(Purchases().size(), 1u);
  EXPECT_EQ(Purchases()[0]["DowodZakupu"], "FZ marzec");
}

TEST_F(GradmoTest, WithoutUsersTheYearlyTablesOfCustomersAndSuppliersAreRead) {
  Settings().YearQorTbl = true;
  Settings().YearUsrTbl = true;
  Settings().UserDir = Settings().QorDataDir;
  // Card 1 is a customer in UR and a different firm in UC.
  WriteRecords(dir.File("Gradmo/2024UR.db"), PeriodUsersFields(),
               {{{"Number", 1LL}, {"Firm Name", "Odbiorca UR"}, {"NIP", "5260250274"}, {"Address", "Prosta 1"}}});
  WriteRecords(dir.File("Gradmo/2024UC.db"), PeriodUsersFields(),
               {{{"Number", 1LL}, {"Firm Name", "Dostawca UC"}, {"NIP", "7740001454"}, {"Address", "Krzywa 2"}}});
  WriteGradmo({Doc(0, 0, "FV 1", {{"Value22", 10.0}, {"Tax22", 2.3}, {"TotalTax", 2.3}}),
               Doc(128, 0, "FZ 1", {{"Value22", 30.0}, {"TotalTax", 6.9}})},
              "2024REG");
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "");
  EXPECT_FALSE(UsersIsSingle);
  ASSERT_EQ(Sales().size(), 1u);
  EXPECT_EQ(Sales()[0]["NazwaKontrahenta"], "Odbiorca UR");
  ASSERT_EQ(Purchases().size(), 1u);
  EXPECT_EQ(Purchases()[0]["NazwaDostawcy"], "Dostawca UC");
  EXPECT_EQ(Purchases()[0]["NrDostawcy"], "7740001454");
}

TEST_F(GradmoTest, AMissingDocumentNumberStopsTheReadingAndLeavesTheEditorEmpty) {
  WriteUsers();
  WriteGradmo({Doc(0, 0, "FV 1", {{"Value22", 10.0}, {"Tax22", 2.3}}), Doc(1, 0, "", {})});
  std::string error = Generate(&TGenJpkVatDlg::rbGradmo);
  // Class, year, warehouse and number of the record.
  EXPECT_TRUE(error.starts_with("Brak numeru dokumentu (1-2024-1-")) << error;
  EXPECT_FALSE(editor.LoadedJpk);
  EXPECT_EQ(gen->ModalResultValue, mrCancel);
  ExpectClosedDown();
}

TEST_F(GradmoTest, RefusingTheNipQuestionStopsTheReading) {
  WriteUsers();
  WriteGradmo({Doc(0, 0, "FV 1", {{"Value22", 10.0}, {"Tax22", 2.3}}, 3)});
  ui.QueueAnswer(Answer::No);
  EXPECT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "Wczytywanie przerwano");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].text,
            "Zła suma kontrolna numeru NIP: 1234567890\rFV 1\rZły Numer Sp. j.\rKontynuować?");
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Error);
  EXPECT_FALSE(editor.LoadedJpk);
  ExpectClosedDown();
}

TEST_F(GradmoTest, AcceptedNipQuestionsKeepTheNumberAsTyped) {
  WriteUsers();
  WriteGradmo({Doc(0, 0, "FV 1", {{"Value22", 10.0}, {"Tax22", 2.3}}, 3),
               Doc(0, 0, "FV 2", {{"Value22", 10.0}, {"Tax22", 2.3}}, 4)});
  ui.QueueAnswer(Answer::Yes);
  ui.QueueAnswer(Answer::Yes);
  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "");
  EXPECT_EQ(ui.Messages()[1].text, "Brak numeru NIP. Dokument: FV 2\rKlient detaliczny\rKontynuować?");
  EXPECT_EQ(Sales()[0]["NrKontrahenta"], "1234567890");
  EXPECT_EQ(Sales()[1]["NrKontrahenta"], "BRAK");
}

TEST_F(GradmoTest, AContractorWithoutANameStopsTheReading) {
  WriteUsers();
  WriteGradmo({Doc(0, 0, "FV 1", {{"Value22", 10.0}, {"Tax22", 2.3}}, 5)});
  EXPECT_EQ(Generate(&TGenJpkVatDlg::rbGradmo),
            "Brak nazwy kontrahenta\rDokument: FV 1  NIP: 5260250274\rWczytywanie przerwano");
  ExpectClosedDown();
}

TEST_F(GradmoTest, AMissingRegisterTableStopsWithTheEnginesMessage) {
  WriteUsers();
  std::string error = Generate(&TGenJpkVatDlg::rbGradmo);
  EXPECT_NE(error.find("24_03REG"), std::string::npos) << error;
  EXPECT_FALSE(editor.LoadedJpk);
  ExpectClosedDown();
}

TEST_F(GradmoTest, AMissingFieldStopsWithTheEnginesMessage) {
  WriteUsers();
  WriteRecords(dir.File("Gradmo/24_03REG.db"),
               {{"Class", PxType::Short}, {"Flags", PxType::Long}, {"Date", PxType::Date}, {"Payer", PxType::Long}},
               {{{"Class", 0LL}, {"Flags", 0LL}, {"Date", D("2024-03-01")}, {"Payer", 1LL}}});
  std::string error = Generate(&TGenJpkVatDlg::rbGradmo);
  EXPECT_NE(error.find("Document"), std::string::npos) << error;
  ExpectClosedDown();
}

}  // namespace
