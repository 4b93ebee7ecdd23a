// The Ramzes and Magik files of the warehouse export, run through the dialog on tables
// written by the tests, read back with libxml2 and compared element by element.
#include <gtest/gtest.h>

#include "exchange/MagikDoc.h"
#include "tests/support/ErrorOf.h"
#include "tests/warehouse/ExportFixture.h"

namespace velkar::test {
namespace {

class GradmoExchangeTest : public ExportTest {
 protected:
  void SetUp() override {
    Clock::Freeze({2024, 4, 2, 9, 5, 7});
    db.customers = {Customer(10, 10), Customer(12, 11), Customer(11, 11)};
    GDoc first;
    first.number = 1234567;  // with the year, more than 32 bits
    first.name = "FV 1/03/2024";
    first.saleDate = "2024-03-04";
    first.comment = "dostawa „ekspresowa”";
    first.user = 10;
    first.reg = SaleReg(10, 123, 100, 23);
    first.reg.gtu = 17;
    first.reg.payDate = "2024-03-19";
    GDoc second = first;  // same contractor and payer: a second Ramzes record, no second card
    second.number = 2;
    second.name = "FV 2/03/2024";
    second.comment = "";
    second.reg = SaleReg(10, 208, 100, 8);  // net and tax at 8 % and 0 %
    second.reg.value22 = second.reg.tax22 = 0;
    second.reg.value7 = 100;
    second.reg.tax7 = 8;
    second.reg.value0 = 100;
    second.reg.totalTax = 8;
    second.reg.gtu = 0;
    GDoc correction = first;  // a branch (12) paid by its head office (11)
    correction.type = 1;
    correction.number = 3;
    correction.name = "KOR 1/03/2024";
    correction.user = 12;
    correction.reg = SaleReg(12, -12.3, -10, -2.3);
    correction.reg.payer = 11;
    GDoc excluded = first;
    excluded.number = 4;
    excluded.name = "FV 4/03/2024";
    excluded.reg.flags = 8;
    GDoc issueNote = first;  // not a sales class
    issueNote.type = 24;
    issueNote.number = 5;
    db.docs = {first, second, correction, excluded, issueNote};
  }
};

TEST_F(GradmoExchangeTest, RamzesRecordsPerDocumentReadBack) {
  db.Write(dir.Path());
  std::string file = dir.File("ramzes.xml");
  Run("Ramzes", true, file);
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_Gradmo2Ramzes");
  EXPECT_EQ(ui.FileDialogs()[0].initialDir, dir.Path());
  std::string text = ReadFile(file);
  EXPECT_EQ(text.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<Baza>\n\t<knt_Kontrahenci>\n\t\t<knt_Id>", 0), 0u);
  XNode baza = ReadXml(file);
  std::vector<std::string> names;
  for (const XNode& c : baza.children) names.push_back(c.name);
  EXPECT_EQ(names, (std::vector<std::string>{"knt_Kontrahenci", "dok_Nagdok", "dod_Dekrety", "knt_Kontrahenci",
                                             "dok_Nagdok", "dod_Dekrety", "dod_Dekrety", "knt_Kontrahenci",
                                             "dok_Nagdok", "dod_Dekrety"}));
  EXPECT_EQ(baza.children[0].Flat(), (Fields{{"knt_Id", "10"},
                                             {"knt_NazwaSkr", "KLIENT10"},
                                             {"knt_Nazwa", "Hurtownia „Żuraw” nr 10"},
                                             {"knt_Nip", "7255260182"},
                                             {"knt_Pesel", ""},
                                             {"knt_Regon", ""},
                                             {"knt_Kod", "90-006"},
                                             {"knt_Miasto", "Łódź"},
                                             {"knt_Ulica", "ul. Piotrkowska 112"},
                                             {"knt_DMP", "F"},
                                             {"knt_CPV", "F"}}));
  EXPECT_EQ(baza.children[3].Flat(), baza.children[0].Flat());  // the same contractor again
  EXPECT_EQ(baza.children[1].Flat(), (Fields{{"dok_KntId", "10"},
                                             {"dok_DokId", "1234567"},
                                             {"dok_Numer", "FV 1/03/2024"},
                                             {"dok_DataDat", "2024-03-05"},
                                             {"dok_DataOper", "2024-03-04"},
                                             {"dok_DataZap", "2024-03-05"},
                                             {"dok_Opis", "dostawa „ekspresowa”"},
                                             {"dok_Typ", "1"},
                                             {"dok_DokFoz", "1"},
                                             {"dok_DMP", "F"},
                                             {"dok_CPV", "F"}}));
  EXPECT_EQ(baza.children[2].Flat(), (Fields{{"dod_DokId", "1234567"},
                                             {"dod_PozSvt", "23%"},
                                             {"dod_PozNet", "100"},
                                             {"dod_PozVat", "23"},
                                             {"dod_PozBru", "123"}}));
  EXPECT_EQ(baza.children[5].Text("dod_PozSvt"), "8%");
  EXPECT_EQ(baza.children[6].Flat(), (Fields{{"dod_DokId", "2"},
                                             {"dod_PozSvt", "0%"},
                                             {"dod_PozNet", "100"},
                                             {"dod_PozVat", "0"},
                                             {"dod_PozBru", "100"}}));
  EXPECT_EQ(baza.children[8].Text("dok_Typ"), "3");
  EXPECT_EQ(baza.children[7].Text("knt_Id"), "12");
}

TEST_F(GradmoExchangeTest, RamzesWithTheUsersTableTakesThePayerCardAndItsStreet) {
  db.withUsers = true;
  db.customers[1].street = "ul. Główna";
  db.customers[1].house = "";
  db.Write(dir.Path());
  std::string file = dir.File("ramzes.xml");
  Run("Ramzes", true, file);
  XNode baza = ReadXml(file);
  // With Users the contractor record is the card of the payer (11) of UR's card 12.
  EXPECT_EQ(baza.children[7].Text("knt_Id"), "11");
  EXPECT_EQ(baza.children[7].Text("knt_Ulica"), "ul. Piotrkowska 112");
  EXPECT_EQ(baza.children[0].Text("knt_Ulica"), "ul. Piotrkowska 112");
}

TEST_F(GradmoExchangeTest, MagikDocumentsRatesAndOneCardPerContractorAndPayer) {
  db.Write(dir.Path());
  std::string file = dir.File("magik.xml");
  Run("wapro", true, file);  // lower case selects the Magik writer
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_Gradmo2Wapro");
  EXPECT_TRUE(ui.WasShown("Wygenerowano plik zawierający dokumentów: 3"));
  XNode root = ReadXml(file);
  EXPECT_EQ(root.name, "MAGIK_EKSPORT");
  const XNode& info = *root.Child("INFO_EKSPORTU");
  EXPECT_EQ(info.Text("WERSJA_MAGIKA"), "4.2.0");
  EXPECT_EQ(info.Text("NAZWA_PROGRAMU"), "Velkar");
  EXPECT_EQ(info.Text("DATA_EKSPORTU"), "02-04-2024");
  EXPECT_EQ(info.Text("GODZINA_EKSPORTU"), "09:05:07");
  EXPECT_EQ(info.Text("LICZBA_DOKUMENTOW"), "3");
  auto documents = root.Child("DOKUMENTY")->All("DOKUMENT");
  ASSERT_EQ(documents.size(), 3u);
  const XNode& header = *documents[0]->Child("NAGLOWEK_DOKUMENTU");
  // Days since 1800-12-28: 2024-03-05 is 81517, 2024-03-04 81516, 2024-03-19 81531.
  EXPECT_EQ(header.Flat(), (Fields{{"RODZAJ_DOKUMENTU", "H"},
                                   {"NUMER", "FV 1/03/2024"},
                                   {"ID_DOKUMENTU_ORYG", "20241234567"},
                                   {"ID_KONTRAHENTA", "10"},
                                   {"ID_PLATNIKA", "10"},
                                   {"ZAKUP_SPRZEDAZ", "S"},
                                   {"TYP_DOKUMENTU", "FV"},
                                   {"RODZAJ_TRANSAKCJI_HANDLOWEJ", "GTU_01 GTU_05"},
                                   {"DATY", "{...}"},
                                   {"WARTOSCI_NAGLOWKA", "{...}"}}));
  EXPECT_EQ(header.Child("DATY")->Flat(),
            (Fields{{"DATA_WYSTAWIENIA", "81517"}, {"DATA_SPRZEDAZY", "81516"}, {"TERMIN_PLATNOSCI", "81531"}}));
  EXPECT_EQ(header.Child("WARTOSCI_NAGLOWKA")->Flat(), (Fields{{"NETTO_SPRZEDAZY", "100"},
                                                               {"BRUTTO_SPRZEDAZY", "123"},
                                                               {"NETTO_ZAKUPU", "0"},
                                                               {"BRUTTO_ZAKUPU", "0"}}));
  EXPECT_EQ(documents[0]->Child("VAT")->All("STAWKA")[0]->Flat(),
            (Fields{{"KOD_VAT", "23"}, {"NETTO", "100"}, {"VAT", "23"}, {"DATA_VAT", "81516"}}));
  EXPECT_EQ(documents[1]->Child("NAGLOWEK_DOKUMENTU")->Text("RODZAJ_TRANSAKCJI_HANDLOWEJ"), "(none)");
  auto rates = documents[1]->Child("VAT")->All("STAWKA");
  ASSERT_EQ(rates.size(), 2u);
  EXPECT_EQ(rates[0]->Text("KOD_VAT"), "8");
  EXPECT_EQ(rates[1]->Flat(), (Fields{{"KOD_VAT", "0"}, {"NETTO", "100"}, {"VAT", "0"}, {"DATA_VAT", "81516"}}));

  auto cards = root.Child("KARTOTEKA_KONTRAHENTOW")->All("KONTRAHENT");
  ASSERT_EQ(cards.size(), 2u);  // two invoices of contractor 10 give one card
  EXPECT_EQ(cards[0]->Flat(), (Fields{{"ID_KONTRAHENTA", "10"},
                                      {"KOD_KONTRAHENTA", "10"},
                                      {"NAZWA", "KLIENT10"},
                                      {"NAZWA_PELNA", "Hurtownia „Żuraw” nr 10"},
                                      {"KOD_POCZTOWY", "90-006"},
                                      {"MIEJSCOWOSC", "Łódź"},
                                      {"ULICA_LOKAL", "ul. Piotrkowska 112"},
                                      {"NIP", "7255260182"},
                                      {"RODZAJ_EWIDENCJI", "1"},
                                      {"VAT_CZYNNY", "1"},
                                      {"ODBIORCA", "1"}}));
  EXPECT_EQ(cards[1]->Text("ID_KONTRAHENTA"), "12");
  EXPECT_EQ(cards[1]->Text("KOD_KONTRAHENTA"), "11");
}

TEST_F(GradmoExchangeTest, MagikWithTheUsersTableWritesThePayerCardOnceAndOneCardForASelfPayer) {
  db.withUsers = true;
  db.Write(dir.Path());
  std::string file = dir.File("magik.xml");
  Run("Wapro (Magik)", true, file);
  XNode root = ReadXml(file);
  auto cards = root.Child("KARTOTEKA_KONTRAHENTOW")->All("KONTRAHENT");
  std::vector<std::pair<std::string, std::string>> keys;
  for (const XNode* card : cards) keys.emplace_back(card->Text("ID_KONTRAHENTA"), card->Text("KOD_KONTRAHENTA"));
  EXPECT_EQ(keys, (std::vector<std::pair<std::string, std::string>>{{"10", "10"}, {"11", "11"}, {"12", "11"}}));
  EXPECT_EQ(cards[2]->Text("NAZWA"), "KLIENT12");  // the branch's own short name from UR
}

TEST_F(GradmoExchangeTest, MagikFailureStillCountsAndOffersWhatWasExported) {
  db.customers[1].name = "";  // the correction's contractor has no name
  db.Write(dir.Path());
  std::string file = dir.File("magik.xml");
  EXPECT_EQ(ErrorOf([&] { Run("Wapro (Magik)", true, file); }),
            "Brak nazwy kontrahenta\rDokument: KOR 1/03/2024  NIP: 7255260182\rWczytywanie przerwano");
  EXPECT_TRUE(ui.WasShown("Wygenerowano plik zawierający dokumentów: 2"));
  XNode root = ReadXml(file);
  EXPECT_EQ(root.Child("INFO_EKSPORTU")->Text("LICZBA_DOKUMENTOW"), "2");
  EXPECT_EQ(root.Child("DOKUMENTY")->All("DOKUMENT").size(), 2u);  // the failed one is not left half-written
}

TEST_F(GradmoExchangeTest, EmptyMonthMagikHasCountZeroNoMessageAndTheQuestion) {
  db.docs.clear();
  db.Write(dir.Path());
  Run("Wapro (Magik)", false, "");
  EXPECT_TRUE(ui.WasShown("Zapisać wygenerowany plik?"));
  EXPECT_FALSE(ui.WasShown("Wygenerowano plik zawierający dokumentów: 0"));
}

TEST(MagikValues, DayNumbersSourceIdsAndGtuMarks) {
  EXPECT_EQ(MagikDayNumber("2017-11-30"), 79230);
  EXPECT_EQ(MagikDayNumber("1800-12-28"), 0);
  EXPECT_EQ(MagikDayNumber(""), -1);
  EXPECT_EQ(MagikSourceId(2024, 1234567), 20241234567LL);
  EXPECT_EQ(MagikSourceId(24, 15), 24000015);
  EXPECT_EQ(MagikSourceId(5, 15), 5000015);
  EXPECT_EQ(MagikGtuMarks(17), "GTU_01 GTU_05");
  EXPECT_EQ(MagikGtuMarks(0), "");
  EXPECT_EQ(MagikGtuMarks(1 << 13), "");
  EXPECT_EQ(MagikGtuMarks(-1), "");
  EXPECT_EQ(MagikGtuMarks(1 << 12), "GTU_13");
}

}  // namespace
}  // namespace velkar::test
