// The readers take any sensible Paradox type for a field, as real installations differ:
// Number, Short, AutoInc and BCD numbers, Timestamp dates, amounts with three decimals.
// These tables are built byte by byte (pxlib writes neither BCD nor Timestamp fields).
#include <fstream>

#include "tests/generate/GenerateFixture.h"
#include "tests/tools/db/paradox/TableBuilder.h"

using namespace velkar;
using namespace velkar::test;
namespace px = velkar::test::paradox;

namespace {

constexpr int kAlpha = 0x01, kDate = 0x02, kShort = 0x03, kLong = 0x04, kCurrency = 0x05, kNumber = 0x06,
              kTimestamp = 0x15, kAutoInc = 0x16, kBcd = 0x17;

class FieldTypesTest : public GenerateTest {
 protected:
  void Write(const std::string& name, const px::TableBuilder& builder) {
    std::ofstream(dir.File(name), std::ios::binary) << builder.Build();
  }
};

TEST_F(FieldTypesTest, FennikRegisterWithOtherTypesGivesTheSameRows) {
  WriteUsers();
  px::TableBuilder builder;
  builder.CodePage(1250)
      .Field("Number", kAutoInc, 4)
      .Field("RegId", kNumber, 8)
      .Field("VATMonth", kLong, 4)
      .Field("DocName", kAlpha, 30)
      .Field("FirmId", kShort, 2)
      .Field("RegDate", kTimestamp, 8)
      .Field("SaleDate", kDate, 4)
      .Field("TypDokumentu", kAlpha, 10)
      .Field("GTU", kNumber, 8)
      .Field("Procedura", kShort, 2)
      .Field("ValueFree", kBcd, 2)
      .Field("Value0", kBcd, 2)
      .Field("Net3", kNumber, 8)
      .Field("Vat3", kNumber, 8)
      .Field("Net7", kCurrency, 8)
      .Field("Vat7", kCurrency, 8)
      .Field("Net22", kBcd, 2)
      .Field("Vat22", kBcd, 2)
      .Field("VatNoDeduct", kBcd, 2);
  auto record = [](long long number, double regId, const std::string& doc, const std::string& regDate,
                   const std::string& net22, const std::string& vat22, double net7) {
    return px::Long(number) + px::Double(regId) + px::Long(3) + px::Alpha(doc, 30) + px::Short(6) + regDate +
           px::Date(2024, 3, 10) + px::Blank(10) + px::Double(1) + px::Short(0) + px::Bcd("0", 2) +
           px::Bcd("0", 2) + px::Double(0) + px::Double(0) + px::Double(net7) + px::Double(0) + px::Bcd(net22, 2) +
           px::Bcd(vat22, 2) + px::Bcd("0", 2);
  };
  // The sale is dated on the last day of the month in the evening.
  builder.Record(record(1, 1, "FV 1", px::Timestamp(2024, 3, 31, 18, 30, 0), "100.00", "23.00", 10.005));
  builder.Record(record(2, 128, "FZ 1", px::Timestamp(2024, 3, 12, 0, 0, 0), "200.00", "46.00", 0));
  Write("Fennik/2024/Register.db", builder);

  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbFennik), "");
  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(sales.size(), 1u);
  EXPECT_EQ(sales[0]["DataWystawienia"], "2024-03-31");
  EXPECT_EQ(sales[0]["GTU_01"], "1");
  EXPECT_EQ(sales[0]["K_19"], "100");
  EXPECT_EQ(sales[0]["K_20"], "23");
  EXPECT_EQ(sales[0]["K_17"], "10.01");  // a Currency value with three decimals, to the grosz
  EXPECT_EQ(sales[0]["K_18"], "0");      // the schema takes K_17 only with K_18
  std::vector<GenRow> purchases = Purchases();
  ASSERT_EQ(purchases.size(), 1u);
  EXPECT_EQ(purchases[0]["DataWplywu"], "2024-03-12");
  EXPECT_EQ(purchases[0]["K_42"], "200");
  EXPECT_EQ(purchases[0]["K_43"], "46");
  EXPECT_EQ(SchemaProblems(), "");
}

TEST_F(FieldTypesTest, GradmoTimestampDatesSelectTheWholeLastDay) {
  WriteUsers();
  px::TableBuilder builder;
  builder.CodePage(1250)
      .Field("Class", kNumber, 8)
      .Field("Flags", kShort, 2)
      .Field("Document", kAlpha, 30)
      .Field("Payer", kNumber, 8)
      .Field("Date", kTimestamp, 8)
      .Field("SaleDate", kTimestamp, 8)
      .Field("GTU", kShort, 2)
      .Field("Value", kBcd, 2)
      .Field("ValueFree", kBcd, 2)
      .Field("Value0", kBcd, 2)
      .Field("Value3", kBcd, 2)
      .Field("Tax3", kBcd, 2)
      .Field("Value7", kBcd, 2)
      .Field("Tax7", kBcd, 2)
      .Field("Value22", kBcd, 2)
      .Field("Tax22", kBcd, 2)
      .Field("TotalTax", kCurrency, 8);
  auto record = [](double cls, const std::string& doc, const std::string& date, double totalTax) {
    std::string zero = px::Bcd("0", 2);
    return px::Double(cls) + px::Short(0) + px::Alpha(doc, 30) + px::Double(1) + date + date + px::Short(0) + zero +
           zero + zero + zero + zero + zero + zero + px::Bcd("10.00", 2) + px::Bcd("2.30", 2) + px::Double(totalTax);
  };
  builder.Record(record(0, "FV poczatek", px::Timestamp(2024, 3, 1, 0, 0, 0), 2.3));
  builder.Record(record(0, "FV koniec", px::Timestamp(2024, 3, 31, 23, 59, 59), 2.3));
  builder.Record(record(0, "FV kwiecien", px::Timestamp(2024, 4, 1, 0, 0, 0), 2.3));
  builder.Record(record(128, "FZ 1", px::Timestamp(2024, 3, 31, 12, 0, 0), 2.305));
  Write("Gradmo/24_03REG.db", builder);

  ASSERT_EQ(Generate(&TGenJpkVatDlg::rbGradmo), "");
  std::vector<GenRow> sales = Sales();
  ASSERT_EQ(sales.size(), 2u);
  EXPECT_EQ(sales[0]["DowodSprzedazy"], "FV poczatek");
  EXPECT_EQ(sales[1]["DowodSprzedazy"], "FV koniec");
  EXPECT_EQ(sales[1]["DataWystawienia"], "2024-03-31");
  EXPECT_FALSE(sales[1].Has("DataSprzedazy"));
  EXPECT_EQ(Ctrl("SprzedazCtrl", "PodatekNalezny"), "4.6");
  ASSERT_EQ(Purchases().size(), 1u);
  EXPECT_EQ(Purchases()[0]["K_43"], "2.31");  // TotalTax 2.305 of a Currency field, half away from zero
  EXPECT_EQ(SchemaProblems(), "");
}

}  // namespace
