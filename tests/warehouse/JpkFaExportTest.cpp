// JPK_FA(4) from a month of warehouse documents, run through the export dialog with the
// scripted UI port; every saved file is checked against the official schema.
#include <gtest/gtest.h>

#include "tests/model/SchemaCheck.h"
#include "tests/support/ErrorOf.h"
#include "tests/warehouse/ExportFixture.h"
#include "warehouse/JpkFaWriter.h"

namespace velkar::test {
namespace {

constexpr const char* kFaSchema = "fa4/Schemat_JPK_FA(4)_v1-0.xsd";
const std::string kLongName = "Zestaw łyżek stołowych ze stali nierdzewnej, 12 sztuk, gięte";  // 60 characters

class JpkFaExportTest : public ExportTest {
 protected:
  void SetUp() override {
    db.customers = {Customer(10)};
    db.goods = {{"TOW", "T1", kLongName, ""}, {"TOW", "T2", "Usługa", "usł."}};
    GDoc invoice;  // normal mode, split payment
    invoice.number = 1;
    invoice.name = "FV 1/03/2024";
    invoice.user = 10;
    invoice.reg = SaleReg(10, 133.69, 100.004, 23.005, 128);
    invoice.reg.value0 = 10;
    invoice.lines = {{"TOW", "T1", 0, 3, 1.23, 23}, {"TOW", "T2", 0, 1.2345678, 10, -2}};
    GDoc gross;  // gross prices, sale date before the issue date, tax without net
    gross.number = 2;
    gross.name = "FV 2/03/2024";
    gross.date = "2024-03-02";
    gross.saleDate = "2024-02-29";
    gross.options = 64;
    gross.user = 10;
    gross.reg = SaleReg(10, 3.69, 0, 0.01);
    gross.lines = {{"TOW", "T1", 0, 3, 1.23, 23}};
    GDoc correction;  // without a comment
    correction.type = 1;
    correction.number = 3;
    correction.name = "KOR 1/03/2024";
    correction.master = {{0, 1}};
    correction.user = 10;
    correction.reg = SaleReg(10, -12.3, -10, -2.3);
    correction.lines = {{"TOW", "T1", 0, -1, 12.3, 23}};
    GDoc excluded = invoice;  // register flag 8: left out of both passes
    excluded.number = 4;
    excluded.name = "FV 4/03/2024";
    excluded.reg.flags = 8;
    GDoc internal;  // not an invoice type
    internal.type = 32;
    internal.number = 5;
    internal.name = "RW 1";
    internal.lines = {{"TOW", "T1", 0, 1, 5, 23}};
    GDoc april = invoice;  // outside the month
    april.number = 6;
    april.name = "FV 6/04/2024";
    april.date = april.saleDate = "2024-04-01";
    db.docs = {invoice, gross, correction, excluded, internal, april};
  }
};

TEST_F(JpkFaExportTest, MonthOfInvoicesGivesHeadersLinesAndControlTotalsThatValidate) {
  db.Write(dir.Path());
  std::string file = dir.File("fa.xml");
  Run("JPK_FA", true, file);
  EXPECT_EQ(dlg.ModalResultValue, mrOk);
  EXPECT_EQ(Settings().CurDate, (DateTime{2024, 3, 1}));  // the chosen period stays for the other tools
  EXPECT_TRUE(ui.WasShown("Zapisać wygenerowany plik?"));
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_JPK_FA");
  if (CanValidate()) {
    EXPECT_EQ(SchemaErrors(kFaSchema, file), "");
  }

  XNode jpk = ReadXml(file);
  auto invoices = jpk.All("Faktura");
  ASSERT_EQ(invoices.size(), 3u);
  EXPECT_EQ(invoices[0]->Flat(), (Fields{{"KodWaluty", "PLN"},
                                         {"P_1", "2024-03-05"},
                                         {"P_2A", "FV 1/03/2024"},
                                         {"P_3A", "Hurtownia „Żuraw” nr 10"},
                                         {"P_3B", "ul. Piotrkowska 112  90-006 Łódź"},
                                         {"P_3C", "Firma Testowa Sp. z o.o."},
                                         {"P_3D", "00-001 Warszawa, Prosta 1/2"},
                                         {"P_4B", "5250001090"},
                                         {"P_5B", "7255260182"},
                                         {"P_13_1", "100"},
                                         {"P_14_1", "23.01"},
                                         {"P_13_6", "10"},
                                         {"P_15", "133.69"},
                                         {"P_16", "false"},
                                         {"P_17", "false"},
                                         {"P_18", "false"},
                                         {"P_18A", "true"},
                                         {"P_19", "false"},
                                         {"P_20", "false"},
                                         {"P_21", "false"},
                                         {"P_22", "false"},
                                         {"P_23", "false"},
                                         {"P_106E_2", "false"},
                                         {"P_106E_3", "false"},
                                         {"RodzajFaktury", "VAT"}}));
  // Net 0 with tax 0.01 writes both; the sale date differs, so P_6 is there.
  EXPECT_EQ(invoices[1]->Text("P_6"), "2024-02-29");
  EXPECT_EQ(invoices[1]->Text("P_13_1"), "0");
  EXPECT_EQ(invoices[1]->Text("P_14_1"), "0.01");
  EXPECT_EQ(invoices[1]->Text("P_18A"), "false");
  EXPECT_EQ(invoices[0]->Text("P_6"), "(none)");
  EXPECT_EQ(invoices[2]->Text("RodzajFaktury"), "KOREKTA");
  EXPECT_EQ(invoices[2]->Text("PrzyczynaKorekty"), "zwrot towaru");
  EXPECT_EQ(invoices[2]->Text("NrFaKorygowanej"), "FV 1/03/2024");
  EXPECT_EQ(invoices[2]->Text("OkresFaKorygowanej"), "2024-03-05");
  EXPECT_EQ(jpk.Child("FakturaCtrl")->Flat(), (Fields{{"LiczbaFaktur", "3"}, {"WartoscFaktur", "125.08"}}));

  auto lines = jpk.All("FakturaWiersz");
  ASSERT_EQ(lines.size(), 4u);
  // Normal mode: 1.23 gross at 23 % is 1.00 net, three of them 3.00; the name cut to 40.
  EXPECT_EQ(lines[0]->Flat(), (Fields{{"P_2B", "FV 1/03/2024"},
                                      {"P_7", "Zestaw łyżek stołowych ze stali nierdzew"},
                                      {"P_8A", "szt."},
                                      {"P_8B", "3"},
                                      {"P_9A", "1"},
                                      {"P_9B", "1.23"},
                                      {"P_10", "0"},
                                      {"P_11", "3"},
                                      {"P_12", "23"}}));
  EXPECT_EQ(lines[1]->Text("P_8B"), "1.234568");  // the schema's six decimals
  EXPECT_EQ(lines[1]->Text("P_8A"), "usł.");
  EXPECT_EQ(lines[1]->Text("P_11"), "12.35");
  EXPECT_EQ(lines[1]->Text("P_12"), "zw");
  // Gross mode: round2(3.69 * 100 / 123) = 3.00 and P_11A 3.69.
  EXPECT_EQ(lines[2]->Text("P_11"), "3");
  EXPECT_EQ(lines[2]->Text("P_11A"), "3.69");
  EXPECT_EQ(lines[0]->Text("P_11A"), "(none)");
  EXPECT_EQ(lines[3]->Text("P_2B"), "KOR 1/03/2024");
  EXPECT_EQ(lines[3]->Text("P_11"), "-10");
  EXPECT_EQ(jpk.Child("FakturaWierszCtrl")->Flat(),
            (Fields{{"LiczbaWierszyFaktur", "4"}, {"WartoscWierszyFaktur", "8.35"}}));
  // Order of the parts: header, subject, invoices, their control, lines, their control.
  std::vector<std::string> order;
  for (const XNode& c : jpk.children)
    if (order.empty() || order.back() != c.name) order.push_back(c.name);
  EXPECT_EQ(order, (std::vector<std::string>{"Naglowek", "Podmiot1", "Faktura", "FakturaCtrl", "FakturaWiersz",
                                             "FakturaWierszCtrl"}));
}

TEST_F(JpkFaExportTest, EmptyMonthStillHasBothControlElementsAndTheQuestion) {
  db.docs.clear();
  db.Write(dir.Path());
  std::string file = dir.File("empty.xml");
  Run("JPK_FA", true, file);
  XNode jpk = ReadXml(file);
  EXPECT_TRUE(jpk.All("Faktura").empty());
  EXPECT_EQ(jpk.Child("FakturaCtrl")->Flat(), (Fields{{"LiczbaFaktur", "0"}, {"WartoscFaktur", "0"}}));
  EXPECT_EQ(jpk.Child("FakturaWierszCtrl")->Flat(),
            (Fields{{"LiczbaWierszyFaktur", "0"}, {"WartoscWierszyFaktur", "0"}}));
}

TEST_F(JpkFaExportTest, AnswerNoSavesNothing) {
  db.Write(dir.Path());
  Run("JPK_FA", false, "");
  EXPECT_TRUE(ui.FileDialogs().empty());
  EXPECT_FALSE(FileExists(dir.File("2024-03_JPK_FA.xml")));
}

TEST_F(JpkFaExportTest, MissingCorrectedDocumentStopsTheExportUnsavedAndClosesTheWindow) {
  db.docs[2].master = {{0, 99}};
  db.Write(dir.Path());
  EXPECT_EQ(ErrorOf([&] { Run("JPK_FA", true, dir.File("x.xml")); }),
            "KOR 1/03/2024  > brak dokumentu korygowanego o nr: 99");
  EXPECT_EQ(dlg.ModalResultValue, mrOk);
  EXPECT_FALSE(ui.WasShown("Zapisać wygenerowany plik?"));
  EXPECT_EQ(ui.BusyDepth(), 0);
  EXPECT_FALSE(dlg.tblWI.Active());
  EXPECT_FALSE(dlg.tblWT.Active());
  EXPECT_FALSE(FileExists(dir.File("x.xml")));
}

TEST_F(JpkFaExportTest, CorrectionKeepsItsCommentAsReason) {
  db.docs[2].comment = "rabat potransakcyjny";
  db.Write(dir.Path());
  std::string file = dir.File("fa.xml");
  Run("JPK_FA", true, file);
  EXPECT_EQ(ReadXml(file).All("Faktura")[2]->Text("PrzyczynaKorekty"), "rabat potransakcyjny");
}

TEST_F(JpkFaExportTest, RateTextsOfTheLines) {
  EXPECT_EQ(FaRateText(23), "23");
  EXPECT_EQ(FaRateText(0), "0");
  EXPECT_EQ(FaRateText(-1), "-1");
  EXPECT_EQ(FaRateText(-2), "zw");
  for (long long type : {0, 1, 2, 3, 4, 5, 20, 21, 22, 23, 48, 49, 50, 51, 52, 53}) EXPECT_TRUE(IsFaDocumentType(type));
  for (long long type : {6, 7, 8, 9, 24, 32, 36, 128}) EXPECT_FALSE(IsFaDocumentType(type)) << type;
}

}  // namespace
}  // namespace velkar::test

namespace velkar::test {
namespace {

// P_5A is an EU country code in the schema: a prefix from outside the EU is left out.
TEST_F(JpkFaExportTest, CountryPrefixOnlyForEuContractors) {
  db.customers.push_back({21, "DE", "Feinkost Müller GmbH", "DE811234567", "Friedrichstraße", "123", "10117", "Berlin", 21});
  db.customers.push_back({22, "GB", "British Tea Company Ltd", "GB123456789", "Baker Street", "221", "NW1 6XE", "London", 22});
  GDoc de;
  de.number = 21;
  de.name = "FV 21/03/2024";
  de.user = 21;
  de.reg = SaleReg(21, 123, 100, 23);
  de.lines = {{"TOW", "T2", 0, 1, 123, 23}};
  GDoc gb = de;
  gb.number = 22;
  gb.name = "FV 22/03/2024";
  gb.user = 22;
  gb.reg = SaleReg(22, 123, 100, 23);
  db.docs = {de, gb};
  db.Write(dir.Path());
  std::string file = dir.File("fa.xml");
  Run("JPK_FA", true, file);
  XNode jpk = ReadXml(file);
  auto invoices = jpk.All("Faktura");
  ASSERT_EQ(invoices.size(), 2u);
  EXPECT_EQ(invoices[0]->Text("P_5A"), "DE");
  EXPECT_EQ(invoices[0]->Text("P_5B"), "811234567");
  EXPECT_EQ(invoices[1]->Text("P_5A"), "(none)");
  EXPECT_EQ(invoices[1]->Text("P_5B"), "123456789");
  if (CanValidate()) {
    EXPECT_EQ(SchemaErrors(kFaSchema, file), "");
  }
}

}  // namespace
}  // namespace velkar::test
