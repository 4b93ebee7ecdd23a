// The Buchalter tables written from a JPK_V7M(2) register and read back through the
// database engine field by field: documents and items of sales and purchases, returns,
// receipt summaries, markers, rates, names in Mazovia, and the run that fails part-way.
#include <filesystem>

#include "exchange/BuchalterExport.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/support/ErrorOf.h"

namespace velkar::test {
namespace {

class BuchalterTest : public ExchangeTest {
 protected:
  // Converts the register through the dialog into the temporary folder.
  void Convert(const V7mFile& file) {
    std::string input = dir.Write("rejestr.xml", file.Xml());
    Choose(kFormatV7, kFormatBuchalter, input, dir.Path());
    ASSERT_TRUE(dlg.btnMakeItClick()) << ui.LastMessage();
    ASSERT_EQ(ui.LastMessage(), "Zakończono konwersję\rSprawdź wygenerowane dane");
    sales = ReadTable(dir.File("B5SPEX24.dbf"));
    saleItems = ReadTable(dir.File("B5ESEX24.dbf"));
    purchases = ReadTable(dir.File("B5ZAEX24.dbf"));
    purchaseItems = ReadTable(dir.File("B5EZEX24.dbf"));
  }
  // The files in the output folder other than the register itself.
  std::vector<std::string> OutputFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
      if (entry.path().filename() != "rejestr.xml") names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
  std::vector<Record> sales, saleItems, purchases, purchaseItems;
};

// The expected values of some fields of a record.
void ExpectFields(const Record& record, const Record& expected) {
  for (const auto& [field, value] : expected) {
    auto it = record.find(field);
    ASSERT_NE(it, record.end()) << "no field " << field;
    EXPECT_EQ(it->second, value) << "field " << field;
  }
}

TEST_F(BuchalterTest, AnExemptAndA23PercentSaleGiveOneDocumentAndTwoItems) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_10", "100"}, {"K_19", "200"}, {"K_20", "46"}}, "5260250274",
                     "Zakład Usług Łódź \"Żuraw\" spółka z ograniczoną odpowiedzialnością")};
  Convert(file);
  ASSERT_EQ(sales.size(), 1u);
  ExpectFields(sales[0], {{"STV", "T"},
                          {"TTR", "N"},
                          {"STM", "1"},
                          {"ANU", "N"},
                          {"TYV", "1"},
                          {"PRE", "FV"},
                          {"NRV", "1"},
                          {"POS", "2024"},
                          {"DAW", "2024-03-15"},
                          {"DAS", "2024-03-15"},
                          {"DAV", "2024-03-15"},
                          {"KNA", "ZAKŁAD USŁUG ŁÓDŹ ŻURAW SP.ZOO"},
                          {"NA1", "ZAKŁAD USŁUG ŁÓDŹ \"ŻURAW\" SPÓŁKA Z OGRANICZONĄ ODPOWIEDZIALNOŚCIĄ"},
                          {"NA2", ""},
                          {"KRA", "POLSKA"},
                          {"NIP", "5260250274"},
                          {"PLA", "INNA"},
                          {"DPL", "2024-03-15"},
                          {"NET", "300"},
                          {"VAT", "46"},
                          {"BRU", "346"},
                          {"KRN", "0"},
                          {"KRV", "0"},
                          {"OP1", "SPRZEDAZ"},
                          {"REC", "1"},
                          {"AKT", "0"},
                          {"TRY", "1"},
                          {"TRK", "1"},
                          {"OSM", "FV/1/2024"},
                          {"TYB", "1"},
                          {"WAL", "PLN"},
                          {"KVA", "1"},
                          {"NKK", ""},
                          {"NKV", ""},
                          {"KKS", "1"},
                          {"RE4", "N"}});
  ASSERT_EQ(saleItems.size(), 2u);
  ExpectFields(
      saleItems[0],
      {{"STV", "N"},    {"STM", "1"},           {"CSS", "T"},          {"TYV", "1"}, {"PRE", "FV"},  {"NRV", "1"},
       {"POS", "2024"}, {"DAW", "2024-03-15"},  {"DAV", "2024-03-15"}, {"KON", "0"}, {"TYP", "1"},   {"RYT", "3"},
       {"RYS", "3"},    {"NA1", "SPRZEDAZ ZW"}, {"ILO", "1"},          {"RAS", "0"}, {"CNB", "100"}, {"CBB", "100"},
       {"CNR", "100"},  {"CBR", "100"},         {"WNE", "100"},        {"WAV", "0"}, {"WAB", "100"}, {"KRN", "0"},
       {"KRV", "0"},    {"KILO", ""},           {"VAT", "4"},          {"VAS", "0"}, {"REK", "1"},   {"REC", "1"},
       {"ZRP", "1"},    {"STA", "T"},           {"WAL", "PLN"},        {"KVA", "1"}, {"KKS", "1"}});
  ExpectFields(saleItems[1], {{"NA1", "SPRZEDAZ 23"},
                              {"CNB", "200"},
                              {"CBB", "246"},
                              {"WNE", "200"},
                              {"WAV", "46"},
                              {"WAB", "246"},
                              {"VAT", "1"},
                              {"VAS", "23"},
                              {"REK", "1"},
                              {"REC", "2"}});
  // The Polish letters are stored as Mazovia bytes ("Ł" 9C, "Ó" A5 ...).
  std::string bytes = ReadFile(dir.File("B5SPEX24.dbf"));
  EXPECT_NE(bytes.find("ZAK\x9C\x41\x44 US\x9CUG \x9C\xA3\x44\xA0"), std::string::npos);
}

TEST_F(BuchalterTest, AReturnCarriesItsAmountsInTheCorrectionFields) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "-100"}, {"K_20", "-23"}})};
  Convert(file);
  ExpectFields(
      sales[0],
      {{"TYV", "3"}, {"NET", "0"}, {"VAT", "0"}, {"BRU", "0"}, {"KRN", "-100"}, {"KRV", "-23"}, {"OP1", "ZWROT"}});
  ASSERT_EQ(saleItems.size(), 1u);
  ExpectFields(saleItems[0],
               {{"TYV", "3"},     {"CNB", "0"},     {"CBB", "0"},     {"CNR", "0"},   {"CBR", "0"},   {"WNE", "0"},
                {"WAV", "0"},     {"WAB", "0"},     {"KRN", "-100"},  {"KRV", "-23"}, {"KILO", "1"},  {"KCNB", "-100"},
                {"KCBB", "-123"}, {"KCNR", "-100"}, {"KCBR", "-123"}, {"KVAT", "1"},  {"KVAS", "23"}, {"KWAV", "-23"},
                {"KWAB", "-123"}, {"VAT", "1"},     {"VAS", "23"}});
}

TEST_F(BuchalterTest, ReceiptSummariesInvoicesToReceiptsAndOtherTypes) {
  V7mFile file;
  Row ro = TypedSale(1, "RO", {{"K_19", "1000"}, {"K_20", "230"}});
  ro.fields[3].second = "Raport fiskalny okresowy";
  Row fp = TypedSale(2, "FP", {{"K_19", "50"}, {"K_20", "11.5"}});
  // WEW after RO: neither RO nor FP, so typed as a row without TypDokumentu.
  Row wew = TypedSale(3, "WEW", {{"K_19", "10"}, {"K_20", "2.3"}});
  wew.fields[3].second = "WEW/ABC";  // no digit in the number
  file.sales = {ro, fp, wew};
  Convert(file);
  ASSERT_EQ(sales.size(), 3u);
  ExpectFields(sales[0], {{"TYV", "5"},
                          {"PRE", "FISK"},
                          {"NRV", "0"},
                          {"POS", ""},
                          {"OSM", "RAPORT FISKALNY"},
                          {"NET", "1000"},
                          {"VAT", "230"}});
  ExpectFields(sales[1], {{"TYV", "9"},
                          {"PRE", "FV"},
                          {"NRV", "2"},
                          {"NET", "0"},
                          {"VAT", "0"},
                          {"BRU", "0"},
                          {"OP1", "SPRZEDAZ"},
                          {"OSM", "FV/2/2024"}});
  ExpectFields(sales[2], {{"TYV", "1"}, {"PRE", "WEW"}, {"NRV", "0"}, {"POS", ""}, {"OSM", "WEW/ABC"}});
  ASSERT_EQ(saleItems.size(), 3u);
  ExpectFields(saleItems[0], {{"TYV", "5"}, {"PRE", "FISK"}, {"NRV", "0"}, {"REK", "1"}, {"REC", "1"}});
  ExpectFields(saleItems[2], {{"TYV", "1"}, {"NRV", "0"}, {"REK", "3"}, {"REC", "3"}});
}

TEST_F(BuchalterTest, SaleDatesAndMarkerMasks) {
  V7mFile file;
  Row later = Sale(1, {{"GTU_01", "1"}, {"GTU_12", "1"}, {"K_19", "100"}, {"K_20", "23"}});
  later.fields.insert(later.fields.begin() + 5, {"DataSprzedazy", "2024-03-10"});
  Row tp = Sale(2, {{"TP", "1"}, {"K_17", "100"}, {"K_18", "8"}});
  Row none = Sale(3, {{"K_15", "100"}, {"K_16", "5"}, {"K_13", "40"}, {"K_11", "30"}});
  file.sales = {later, tp, none};
  Convert(file);
  ExpectFields(
      sales[0],
      {{"DAW", "2024-03-15"}, {"DAS", "2024-03-10"}, {"DAV", "2024-03-10"}, {"NKK", "TNNNNNNNNNNTN"}, {"NKV", ""}});
  ExpectFields(sales[1], {{"NKK", ""}, {"NKV", "NNTNNNNNNNNNN"}});
  ExpectFields(sales[2], {{"NKK", ""}, {"NKV", ""}, {"NET", "170"}, {"VAT", "5"}});
  ExpectFields(saleItems[0], {{"DAW", "2024-03-15"}, {"DAV", "2024-03-10"}});
  // Items in the order K_10, K_11, K_13, K_15, K_17, K_19 with their rate codes.
  ASSERT_EQ(saleItems.size(), 5u);
  ExpectFields(saleItems[2], {{"NA1", "SPRZEDAZ 0"}, {"VAT", "3"}, {"VAS", "0"}, {"WNE", "30"}, {"REC", "3"}});
  ExpectFields(saleItems[3], {{"NA1", "SPRZEDAZ 0"}, {"VAT", "3"}, {"WNE", "40"}});
  ExpectFields(saleItems[4], {{"NA1", "SPRZEDAZ 5"}, {"VAT", "8"}, {"VAS", "5"}, {"WAV", "5"}});
  ExpectFields(saleItems[1], {{"NA1", "SPRZEDAZ 8"}, {"VAT", "2"}, {"VAS", "8"}, {"WAV", "8"}});
}

TEST_F(BuchalterTest, ANetWithoutItsVatElementCountsTheVatAsZero) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_15", "100"}, {"K_19", "0"}, {"K_20", "0"}})};
  Convert(file);
  ASSERT_EQ(saleItems.size(), 1u);  // the 23 % pair is 0 and 0: no item
  ExpectFields(saleItems[0], {{"NA1", "SPRZEDAZ 5"}, {"WNE", "100"}, {"WAV", "0"}, {"WAB", "100"}});
}

TEST_F(BuchalterTest, PurchaseRatesKindsDatesAndReturns) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "1"}, {"K_20", "0.23"}})};
  Row received = Purchase(1, {{"K_42", "100"}, {"K_43", "8"}}, "FV/123/2024");
  received.fields.insert(received.fields.begin() + 5, {"DataWplywu", "2024-03-20"});
  file.purchases = {
      received,
      Purchase(2, {{"K_42", "100"}, {"K_43", "6"}}, "FV-fue/2"),
      Purchase(3, {{"K_40", "50"}, {"K_42", "50"}, {"K_43", "0"}}),
      Purchase(4, {{"K_42", "100"}, {"K_43", "5"}}),
      Purchase(5, {{"K_42", "0"}, {"K_43", "23"}}),
      Purchase(6, {{"K_42", "-100"}, {"K_43", "-23"}}),
  };
  Convert(file);
  ASSERT_EQ(purchases.size(), 6u);
  ASSERT_EQ(purchaseItems.size(), 6u);
  ExpectFields(purchases[0], {{"TTR", "N"},
                              {"STM", "1"},
                              {"ANU", "N"},
                              {"TYV", "1"},
                              {"NRV", "FV/123/2024"},
                              {"DAV", "2024-03-20"},
                              {"DZK", "2024-03-20"},
                              {"KDO", "DOSTAWCA S.A."},
                              {"NA1", "DOSTAWCA S.A."},
                              {"KRA", "POLSKA"},
                              {"NIP", "7740001454"},
                              {"KRN", ""},
                              {"KRV", ""},
                              {"OP1", "ZAKUP TH"},
                              {"TYM", ""},
                              {"NET", "100"},
                              {"VAT", "8"},
                              {"BRU", "108"},
                              {"PLA", "INNA"},
                              {"DPL", "2024-03-10"},
                              {"REC", "1"},
                              {"AKT", "0"},
                              {"TRY", "1"},
                              {"TRK", "1"},
                              {"ZAP", "N"},
                              {"KZA", "0"},
                              {"DAM", "2024-03-10"},
                              {"STA", "T"},
                              {"WAL", "PLN"},
                              {"KVA", "1"},
                              {"KKS", "1"},
                              {"TKO", "1"}});
  ExpectFields(purchaseItems[0],
               {{"STV", "N"},          {"STM", "1"},   {"ANU", "N"},   {"TYV", "1"},   {"NRV", "FV/123/2024"},
                {"DAV", "2024-03-20"}, {"KON", "0"},   {"TYW", "1"},   {"TYZ", "1"},   {"TYS", "1"},
                {"NA1", "ZAKUP 8"},    {"VAT", "2"},   {"VAS", "8"},   {"CZO", "1"},   {"REK", "1"},
                {"REC", "1"},          {"ILO", "1"},   {"CEN", "100"}, {"CEB", "108"}, {"WAN", "100"},
                {"WAV", "8"},          {"WAB", "108"}, {"ILK", "-1"},  {"KRN", "0"},   {"KRV", "0"},
                {"WAL", "PLN"},        {"KVA", "1"},   {"KKS", "1"},   {"RE3", "N"}});
  // 6 on 100 is neither 5 % nor 8 %: 23 %. "fue" in the number: STM 2.
  ExpectFields(purchases[1], {{"STM", "2"}, {"DAV", "2024-03-10"}, {"DZK", "2024-03-10"}});
  ExpectFields(purchaseItems[1],
               {{"STM", "2"}, {"NA1", "ZAKUP 23"}, {"VAT", "1"}, {"VAS", "23"}, {"DAV", "2024-03-10"}});
  ExpectFields(purchaseItems[2], {{"NA1", "ZAKUP 0"}, {"VAT", "3"}, {"VAS", "0"}, {"WAN", "100"}});
  ExpectFields(purchaseItems[3], {{"NA1", "ZAKUP 5"}, {"VAT", "8"}, {"VAS", "5"}});
  // VAT on a zero net: 23 %, no division by zero.
  ExpectFields(purchaseItems[4], {{"NA1", "ZAKUP 23"}, {"VAT", "1"}, {"WAV", "23"}});
  ExpectFields(purchases[5], {{"TYV", "3"},
                              {"KRN", "-100"},
                              {"KRV", "-23"},
                              {"OP1", "ZWROT"},
                              {"TYM", "1"},
                              {"NET", ""},
                              {"VAT", ""},
                              {"BRU", ""},
                              {"REC", "6"}});
  ExpectFields(purchaseItems[5], {{"TYV", "3"},
                                  {"ILO", "0"},
                                  {"CEN", "0"},
                                  {"CEB", "0"},
                                  {"WAN", "0"},
                                  {"WAV", "0"},
                                  {"WAB", "0"},
                                  {"ILK", ""},
                                  {"KRN", "-100"},
                                  {"KRV", "-23"},
                                  {"REK", "6"},
                                  {"REC", "6"}});
}

TEST_F(BuchalterTest, ALongNameIsSplitOverNa1AndNa2) {
  std::string name = "Przedsiębiorstwo Produkcyjno-Handlowo-Usługowe Kowalski i Wspólnicy Zakład Nr 2 w Łodzi";
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "1"}, {"K_20", "0.23"}}, "5260250274", name)};
  file.purchases = {Purchase(1, {{"K_42", "1"}, {"K_43", "0.23"}})};
  Convert(file);
  ExpectFields(sales[0], {{"NA1", "PRZEDSIĘBIORSTWO PRODUKCYJNO-HANDLOWO-USŁUGOWE KOWALSKI I WSPÓLNICY"},
                          {"NA2", "ZAKŁAD NR 2 W ŁODZI"}});
  ExpectFields(purchases[0], {{"REC", "1"}});  // purchases are numbered from 1 again
  ExpectFields(purchaseItems[0], {{"REK", "1"}, {"REC", "1"}});
}

TEST_F(BuchalterTest, WithoutEwidencjaNothingIsWritten) {
  V7mFile file;
  file.ewidencja = false;
  std::string input = dir.Write("rejestr.xml", file.Xml());
  Choose(kFormatV7, kFormatBuchalter, input, dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.LastMessage(), "Brak elementu \"Ewidencja\" w pliku JPK");
  EXPECT_EQ(OutputFiles(), std::vector<std::string>{});
}

TEST_F(BuchalterTest, AFailedRunLeavesTheEarlierTablesAndNoWorkingCopies) {
  V7mFile good;
  good.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  Convert(good);
  std::string before = ReadFile(dir.File("B5SPEX24.dbf"));

  V7mFile bad;
  bad.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}}), Sale(2, {{"K_19", "1"}, {"K_20", "0.23"}})};
  bad.purchases = {Purchase(1, {{"K_42", "100"}, {"K_43", "23"}})};
  bad.purchases[0].fields[4].second = "2024-02-31";  // DataZakupu: no such date
  std::string input = dir.Write("rejestr.xml", bad.Xml());
  Choose(kFormatV7, kFormatBuchalter, input, dir.Path());
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_EQ(ui.Messages().back().kind, MessageKind::Error);
  EXPECT_EQ(ui.LastMessage(), "Wartość \"2024-02-31\" pola DAV tabeli " + dir.File("B5ZAEX24.dbf") + " nie jest datą");
  EXPECT_EQ(ReadFile(dir.File("B5SPEX24.dbf")), before);
  EXPECT_EQ(OutputFiles(), (std::vector<std::string>{"B5ESEX24.dbf", "B5EZEX24.dbf", "B5SPEX24.dbf", "B5ZAEX24.dbf"}));
  EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST_F(BuchalterTest, AMissingTemplateStopsBeforeAnyTableIsWritten) {
  std::filesystem::create_directories(dir.File("prog/Buchalter/Empty"));
  for (const char* name : {"B5SPEX", "B5ESEX", "B5ZAEX"})
    std::filesystem::copy_file(SourceDir() + "/Buchalter/Empty/" + name + ".dbf",
                               dir.File(std::string("prog/Buchalter/Empty/") + name + ".dbf"));
  mainForm.RunDir = dir.File("prog/");
  std::filesystem::create_directory(dir.File("out"));
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  std::string input = dir.Write("rejestr.xml", file.Xml());
  Choose(kFormatV7, kFormatBuchalter, input, dir.File("out"));
  EXPECT_FALSE(dlg.btnMakeItClick());
  EXPECT_NE(ui.LastMessage().find("B5EZEX"), std::string::npos) << ui.LastMessage();
  EXPECT_TRUE(std::filesystem::is_empty(dir.File("out")));
}

}  // namespace
}  // namespace velkar::test
