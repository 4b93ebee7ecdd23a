// JPK_MAG(1) from a month of warehouse documents: the four kinds, their numbers, dates,
// invoice references, series costs and control totals; the saved file checked against the
// official schema.
#include <gtest/gtest.h>

#include "tests/model/SchemaCheck.h"
#include "tests/support/ErrorOf.h"
#include "tests/warehouse/ExportFixture.h"
#include "warehouse/JpkMagWriter.h"

namespace velkar::test {
namespace {

constexpr const char* kMagSchema = "mag1/Schemat_JPK_MAG(1)_v1-0.xsd";

class JpkMagExportTest : public ExportTest {
 protected:
  void SetUp() override {
    db.customers = {Customer(10), Customer(40)};
    db.suppliers = {Supplier(20)};
    db.goods = {{"TOW", "T1", "Kawa ziarnista „Łódzka” 1 kg – opakowanie zbiorcze dla gastronomii", "kg"},
                {"USL", "U1", "Usługa", "usł."}};
    db.series = {{"TOW", "T1", 1, 2.5}, {"TOW", "T1", 2, 3.3333}};
    auto doc = [](long long type, long long number, std::string name) {
      GDoc d;
      d.type = type;
      d.number = number;
      d.name = std::move(name);
      return d;
    };
    GDoc invoice = doc(0, 1, "FV-1/03/2024");  // a sale is also a WZ
    invoice.user = 10;
    invoice.reg.costValue = 25.004;
    invoice.lines = {{"TOW", "T1", 1, 10, 12.3, 23}, {"USL", "U1", 0, 1, 100, 23}};
    GDoc receipt = doc(128, 5, "FZ 12/2024");  // goods receipt: dates as SaleDate / Date
    receipt.date = "2024-03-07";
    receipt.saleDate = "2024-03-04";
    receipt.user = 20;
    receipt.reg.costValue = 1.234568;
    receipt.lines = {{"TOW", "T1", 1, 1.2345678, 1, 23}};
    GDoc receipt129 = receipt;
    receipt129.type = 129;
    receipt129.number = 6;
    receipt129.name = "FZK-3/2024";
    GDoc complement = doc(152, 7, "PZD 1/2024");  // refers to the receipt
    complement.master = {{128, 5}};
    complement.user = 20;
    complement.lines = {{"TOW", "T1", 2, 1, 2, 23}};
    GDoc release = doc(24, 8, "WZ 3/2024");  // issue note to the invoice
    release.master = {{0, 1}};
    release.user = 10;
    release.lines = {{"TOW", "T1", 2, 3, 0, 23}};
    GDoc internal = doc(32, 9, "RW 1/2024");
    internal.lines = {{"TOW", "T1", 1, 2, 4.555, 23}};
    GDoc transfer = doc(8, 10, "MM 1/2024");  // type 8 is a transfer, not a release
    transfer.lines = {{"TOW", "T1", 1, 1, 2.5, 23}};
    GDoc partner = doc(36, 11, "MM 2/2024");
    partner.user = 40;
    partner.lines = {{"TOW", "T1", 1, 1, 2.5, 23}};
    GDoc noMovement = doc(0, 12, "FV-12/03/2024");
    noMovement.flags = 16;
    noMovement.lines = {{"TOW", "T1", 1, 1, 1, 23}};
    GDoc cancelled = doc(128, 13, "FZ 13");
    cancelled.flags = 1;
    db.docs = {invoice, receipt, receipt129, complement, release, internal, transfer, partner, noMovement, cancelled};
  }
};

TEST_F(JpkMagExportTest, FourKindsWithNumbersReferencesAndTotalsThatValidate) {
  Settings().DokadMM = "Magazyn Zewnętrzny";
  db.Write(dir.Path());
  std::string file = dir.File("mag.xml");
  Run("JPK_MAG", true, file);
  ASSERT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_EQ(ui.FileDialogs()[0].fileName, "2024-03_JPK_MAG");
  if (CanValidate()) {
    EXPECT_EQ(SchemaErrors(kMagSchema, file), "");
  }
  XNode jpk = ReadXml(file);
  EXPECT_EQ(jpk.Text("Magazyn"), "0");
  std::vector<std::string> kinds;
  for (const XNode& c : jpk.children) kinds.push_back(c.name);
  EXPECT_EQ(kinds, (std::vector<std::string>{"Naglowek", "Podmiot1", "Magazyn", "PZ", "WZ", "RW", "MM"}));

  const XNode& pz = *jpk.Child("PZ");
  auto pzValues = pz.All("PZWartosc");
  ASSERT_EQ(pzValues.size(), 3u);
  EXPECT_EQ(pzValues[0]->Flat(), (Fields{{"NumerPZ", "PZ5-FZ 12/2024"},
                                         {"DataPZ", "2024-03-04"},
                                         {"WartoscPZ", "1.23"},
                                         {"DataOtrzymaniaPZ", "2024-03-07"},
                                         {"Dostawca", "Dostawca Łęczyca Sp. z o.o."},
                                         {"NumerFaPZ", "FZ 12/2024"},
                                         {"DataFaPZ", "2024-03-04"}}));
  // Type 129: the first "-" piece of its name, dated with its SaleDate.
  EXPECT_EQ(pzValues[1]->Text("NumerPZ"), "PZ6-FZK-3/2024");
  EXPECT_EQ(pzValues[1]->Text("NumerFaPZ"), "FZK");
  EXPECT_EQ(pzValues[1]->Text("DataFaPZ"), "2024-03-04");
  // Type 152: its own name, the referred receipt as invoice.
  EXPECT_EQ(pzValues[2]->Text("NumerPZ"), "PZD 1/2024");
  EXPECT_EQ(pzValues[2]->Text("NumerFaPZ"), "FZ 12/2024");
  EXPECT_EQ(pzValues[2]->Text("DataFaPZ"), "2024-03-07");
  auto pzLines = pz.All("PZWiersz");
  ASSERT_EQ(pzLines.size(), 3u);
  EXPECT_EQ(pzLines[0]->Flat(), (Fields{{"Numer2PZ", "PZ5-FZ 12/2024"},
                                        {"KodTowaruPZ", "TOW-T1"},
                                        {"NazwaTowaruPZ", "Kawa ziarnista „Łódzka” 1 kg – opakowanie zbiorcze dla gastronomii"},
                                        {"IloscPrzyjetaPZ", "1.234568"},
                                        {"JednostkaMiaryPZ", "kg"},
                                        {"CenaJednPZ", "1"},
                                        {"WartoscPozycjiPZ", "1.23"}}));
  EXPECT_EQ(pz.Child("PZCtrl")->Flat(), (Fields{{"LiczbaPZ", "3"}, {"SumaPZ", "2.46"}}));

  const XNode& wz = *jpk.Child("WZ");
  auto wzValues = wz.All("WZWartosc");
  ASSERT_EQ(wzValues.size(), 2u);
  EXPECT_EQ(wzValues[0]->Flat(), (Fields{{"NumerWZ", "WZ-FV-1/03/2024"},
                                         {"DataWZ", "2024-03-05"},
                                         {"WartoscWZ", "25"},
                                         {"DataWydaniaWZ", "2024-03-05"},
                                         {"OdbiorcaWZ", "Hurtownia „Żuraw” nr 10"},
                                         {"NumerFaWZ", "FV"},
                                         {"DataFaWZ", "2024-03-05"}}));
  EXPECT_EQ(wzValues[1]->Text("NumerWZ"), "WZ 3/2024");
  EXPECT_EQ(wzValues[1]->Text("NumerFaWZ"), "FV-1/03/2024");
  auto wzLines = wz.All("WZWiersz");
  ASSERT_EQ(wzLines.size(), 3u);
  // Valued at the series cost, not the sales price; a line without series at 0.
  EXPECT_EQ(wzLines[0]->Text("CenaJednWZ"), "2.5");
  EXPECT_EQ(wzLines[0]->Text("WartoscPozycjiWZ"), "25");
  EXPECT_EQ(wzLines[1]->Text("CenaJednWZ"), "0");
  EXPECT_EQ(wzLines[1]->Text("WartoscPozycjiWZ"), "0");
  EXPECT_EQ(wzLines[2]->Text("CenaJednWZ"), "3.33");
  EXPECT_EQ(wzLines[2]->Text("WartoscPozycjiWZ"), "10");  // 3.3333 * 3 before rounding
  EXPECT_EQ(wz.Child("WZCtrl")->Flat(), (Fields{{"LiczbaWZ", "2"}, {"SumaWZ", "25"}}));

  const XNode& rw = *jpk.Child("RW");
  EXPECT_EQ(rw.All("RWWartosc")[0]->Text("SkadRW"), "Magazyn Główny");
  EXPECT_EQ(rw.All("RWWartosc")[0]->Text("DokadRW"), "(none)");
  EXPECT_EQ(rw.All("RWWiersz")[0]->Text("CenaJednRW"), "4.56");
  EXPECT_EQ(rw.All("RWWiersz")[0]->Text("WartoscPozycjiRW"), "9.11");

  const XNode& mm = *jpk.Child("MM");
  auto mmValues = mm.All("MMWartosc");
  ASSERT_EQ(mmValues.size(), 2u);
  EXPECT_EQ(mmValues[0]->Text("NumerMM"), "MM 1/2024");
  EXPECT_EQ(mmValues[0]->Text("SkadMM"), "Magazyn Główny");
  EXPECT_EQ(mmValues[0]->Text("DokadMM"), "Magazyn Zewnętrzny");
  EXPECT_EQ(mmValues[1]->Text("DokadMM"), "Hurtownia „Żuraw” nr 40");
  EXPECT_EQ(mm.Child("MMCtrl")->Text("LiczbaMM"), "2");
}

TEST_F(JpkMagExportTest, ReceiptsOnlyGiveOnlyThePzElement) {
  db.docs = {db.docs[1]};
  db.Write(dir.Path());
  std::string file = dir.File("mag.xml");
  Run("JPK_MAG", true, file);
  std::vector<std::string> kinds;
  for (const XNode& c : ReadXml(file).children) kinds.push_back(c.name);
  EXPECT_EQ(kinds, (std::vector<std::string>{"Naglowek", "Podmiot1", "Magazyn", "PZ"}));
  if (CanValidate()) {
    EXPECT_EQ(SchemaErrors(kMagSchema, file), "");
  }
}

TEST_F(JpkMagExportTest, MissingSeriesStopsTheExportUnsaved) {
  db.docs[0].lines[0].series = 7;
  db.Write(dir.Path());
  EXPECT_EQ(ErrorOf([&] { Run("JPK_MAG", true, dir.File("m.xml")); }), "Brak serii: TOW-T1-7");
  EXPECT_FALSE(ui.WasShown("Zapisać wygenerowany plik?"));
  EXPECT_FALSE(FileExists(dir.File("m.xml")));
}

TEST(MagKinds, TypeListsAndTheFlagMask) {
  for (long long t : {0, 7, 9, 15, 18, 25}) EXPECT_TRUE(IsMagKind("WZ", t, 0)) << t;
  for (long long t : {8, 16, 17, 26, 32, 128}) EXPECT_FALSE(IsMagKind("WZ", t, 0)) << t;
  for (long long t : {8, 16, 17, 36}) EXPECT_TRUE(IsMagKind("MM", t, 0)) << t;
  EXPECT_TRUE(IsMagKind("PZ", 153, 2));
  EXPECT_FALSE(IsMagKind("PZ", 153, 1));
  EXPECT_FALSE(IsMagKind("RW", 32, 16));
  EXPECT_EQ(MagDocumentNumber("PZ", 128, 17, "F/1"), "PZ17-F/1");
  EXPECT_EQ(MagDocumentNumber("PZ", 153, 17, "F/1"), "F/1");
  EXPECT_EQ(MagDocumentNumber("WZ", 25, 1, "WZ 2"), "WZ 2");
  EXPECT_EQ(MagDocumentNumber("MM", 8, 1, "MM 2"), "MM 2");
}

}  // namespace
}  // namespace velkar::test
