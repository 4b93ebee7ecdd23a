// Field values: every type's encoding, its NULL, out-of-range values and code pages.
#include <gtest/gtest.h>

#include "tests/tools/db/paradox/ReadHelpers.h"
#include "tests/tools/db/paradox/TableBuilder.h"
#include "tools/db/paradox/ParadoxTable.h"

using namespace velkar::test::paradox;
using velkar::db::paradox::FieldType;
using velkar::db::paradox::ParadoxTable;

namespace {

std::string Hex(std::initializer_list<int> bytes) {
  std::string out;
  for (int b : bytes) out += static_cast<char>(b);
  return out;
}

// A one-field table read back: the Show form of each record's value.
std::vector<std::string> ReadField(int code, int size, const std::vector<std::string>& values, Collected* collected = nullptr) {
  TableBuilder builder;
  builder.Field("F", code, size);
  for (const std::string& value : values) builder.Record(value);
  Collected local;
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt, (collected ? collected : &local)->Options());
  return ReadAll(table);
}

using Rows = std::vector<std::string>;

}  // namespace

TEST(ParadoxFieldValues, IntegersAreBigEndianWithTheTopBitFlipped) {
  EXPECT_EQ(ReadField(0x03, 2, {Hex({0x80, 0x01}), Hex({0x81, 0x2C}), Hex({0x7E, 0xD4}), Hex({0x80, 0x00}), Short(-32767),
                               Blank(2)}),
            (Rows{"I:1", "I:300", "I:-300", "I:0", "I:-32767", "NULL"}));
  EXPECT_EQ(ReadField(0x04, 4, {Hex({0x80, 0, 0, 1}), Hex({0x7F, 0xFF, 0xFF, 0xFE}), Long(2147483647), Blank(4)}),
            (Rows{"I:1", "I:-2", "I:2147483647", "NULL"}));
  EXPECT_EQ(ReadField(0x16, 4, {Long(41), Blank(4)}), (Rows{"I:41", "NULL"}));
}

TEST(ParadoxFieldValues, NumbersAndCurrencyAreSortableDoubles) {
  Rows expected{"N:1", "N:2.5", "N:0", "N:-1", "N:-2.5", "N:0.125", "N:1234567.89", "NULL"};
  std::vector<std::string> values{Hex({0xBF, 0xF0, 0, 0, 0, 0, 0, 0}),
                                  Hex({0xC0, 0x04, 0, 0, 0, 0, 0, 0}),
                                  Hex({0x80, 0, 0, 0, 0, 0, 0, 0}),
                                  Hex({0x40, 0x0F, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
                                  Hex({0x3F, 0xFB, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}),
                                  Double(0.125),
                                  Double(1234567.89),
                                  Blank(8)};
  EXPECT_EQ(ReadField(0x06, 8, values), expected);
  EXPECT_EQ(ReadField(0x05, 8, values), expected);
}

TEST(ParadoxFieldValues, DatesTimesAndTimestampsBecomeTheProgramsTexts) {
  EXPECT_EQ(ReadField(0x02, 4, {Hex({0x80, 0x0B, 0x24, 0x08}), Date(2024, 2, 29), Date(1, 1, 1), Date(9999, 12, 31),
                               Date(1899, 12, 30), Blank(4)}),
            (Rows{"T:2000-01-01", "T:2024-02-29", "T:0001-01-01", "T:9999-12-31", "T:1899-12-30", "NULL"}));
  EXPECT_EQ(ReadField(0x14, 4, {Hex({0x82, 0xAE, 0xA5, 0x40}), Hex({0x80, 0, 0, 0}), Time(23, 59, 59, 999), Blank(4)}),
            (Rows{"T:12:30:00", "T:00:00:00", "T:23:59:59", "NULL"}));
  EXPECT_EQ(ReadField(0x15, 8, {Hex({0xC2, 0xCC, 0xAF, 0xC2, 0x5B, 0x07, 0, 0}), Timestamp(2024, 3, 31, 23, 59, 59),
                               Double(62135683200000.0 + 0.6), Blank(8)}),
            (Rows{"T:2000-01-01 12:00:00", "T:2024-03-31 23:59:59", "T:1970-01-01 00:00:00", "NULL"}));
}

TEST(ParadoxFieldValues, ValuesOutsideTheirRangeReadAsNullWithAWarning) {
  Collected collected;
  Rows dates = ReadField(0x02, 4, {DayNumber(-40), DayNumber(0), DayNumber(4'383'000), Date(2020, 1, 1)}, &collected);
  EXPECT_EQ(dates, (Rows{"NULL", "NULL", "NULL", "T:2020-01-01"}));
  ASSERT_EQ(collected.warnings.size(), 3u);
  EXPECT_EQ(collected.warnings[0], "Tabela t.db, rekord 1, pole F: data spoza lat 1–9999 (dzień nr -40); odczytano jako puste");

  Collected times;
  EXPECT_EQ(ReadField(0x14, 4, {Long(86'400'000), Long(-1)}, &times), (Rows{"NULL", "NULL"}));
  EXPECT_EQ(times.warnings.at(0), "Tabela t.db, rekord 1, pole F: nieprawidłowa godzina (86400000 ms); odczytano jako puste");

  Collected stamps;
  EXPECT_EQ(ReadField(0x15, 8, {Double(-86'400'000.0), Double(1e300), Double(12.0)}, &stamps), (Rows{"NULL", "NULL", "NULL"}));
  EXPECT_EQ(stamps.warnings.size(), 3u);

  Collected logicals;
  EXPECT_EQ(ReadField(0x09, 1, {Logical(true), Logical(false), Blank(1), Hex({0x23})}, &logicals),
            (Rows{"B:1", "B:0", "NULL", "NULL"}));
  EXPECT_EQ(logicals.warnings, (Rows{"Tabela t.db, rekord 4, pole F: nieprawidłowa wartość logiczna 0x23; odczytano jako puste"}));
}

TEST(ParadoxFieldValues, ManyBadValuesGiveALimitedNumberOfWarnings) {
  Collected collected;
  ReadField(0x02, 4, std::vector<std::string>(50, DayNumber(-1)), &collected);
  ASSERT_EQ(collected.warnings.size(), 21u);
  EXPECT_EQ(collected.warnings.back(), "Tabela t.db: pominięto 30 dalszych ostrzeżeń");
}

TEST(ParadoxFieldValues, BcdKeepsItsDecimalsAndItsNull) {
  EXPECT_EQ(ReadField(0x17, 2, {Hex({0xC2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x12, 0x34}),
                               Hex({0x42, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xED, 0xCB}),
                               Bcd("0.00", 2), Bcd("9999999999999.25", 2), Bcd("-0.05", 2),
                               Hex({0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), Blank(17)}),
            (Rows{"N:12.34", "N:-12.34", "N:0", "N:9999999999999.25", "N:-0.05", "NULL", "NULL"}));
  EXPECT_EQ(ReadField(0x17, 3, {Hex({0xC3, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x15, 0x00})}), (Rows{"N:1.5"}));
  EXPECT_EQ(ReadField(0x17, 0, {Bcd("123456789", 0), Bcd("-7", 0)}), (Rows{"N:123456789", "N:-7"}));
  EXPECT_EQ(ReadField(0x17, 32, {Bcd("0.5", 32)}), (Rows{"N:0.5"}));
  // Many decimals with junk nibbles at the end: digits from the first nibble above 9 count as 0.
  std::string junk = Bcd("0.123456789012345678904710", 30);
  junk[14] = static_cast<char>(0x1C);  // digits 27 and 28 become 1 and C
  junk[15] = static_cast<char>(0x3F);
  EXPECT_EQ(ReadField(0x17, 30, {junk}), (Rows{"N:0.12345678901234568"}));
}

TEST(ParadoxFieldValues, AlphaEndsAtItsFirstZeroOrAtTheFieldEnd) {
  EXPECT_EQ(ReadField(0x01, 5, {Alpha("AB", 5), "ABCDE", Alpha("", 5), std::string("A\0C\0\0", 5), Alpha("a  ", 5)}),
            (Rows{"T:AB", "T:ABCDE", "NULL", "T:A", "T:a  "}));
}

TEST(ParadoxFieldValues, BytesKeepTheirTrailingZeros) {
  EXPECT_EQ(ReadField(0x18, 5, {Alpha("AB", 5), Blank(5), std::string("\0\0\0\0\1", 5)}),
            (Rows{"X:41 42 00 00 00", "NULL", "X:00 00 00 00 01"}));
}

TEST(ParadoxFieldValues, TextIsDecodedFromTheTablesCodePage) {
  struct Case {
    int codePage;
    std::string bytes;
    std::string utf8;
  };
  const Case cases[] = {
      {852, "\xA5\x88\xA2" "d\xAB", "ąłódź"},
      {1250, "\xB9\xB3\xF3" "d\x9F", "ąłódź"},
      {1252, "\xB9\xB3", "¹³"},                         // 1250 text read as 1252
      {437, "\x81\xE1", "üß"},
      {850, "\x99\xD0", "Öð"},
      {866, "\x8F\xE0\xA8", "При"},
      {1251, "\xCF\xF0\xE8", "При"},
      {932, "\x82\xA0" "a\x82", "あa\xEF\xBF\xBD"},  // multi-byte, ending in half a character
  };
  for (const Case& c : cases) {
    TableBuilder builder;
    builder.CodePage(c.codePage).Field("Pole", 0x01, 10).Record(Alpha(c.bytes, 10));
    auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt);
    EXPECT_EQ(table.Header().codePage, c.codePage);
    EXPECT_EQ(ReadAll(table), (Rows{"T:" + c.utf8})) << c.codePage;
  }
}

TEST(ParadoxFieldValues, FieldNamesAreDecodedLikeTheText) {
  TableBuilder builder;
  builder.CodePage(1250).Field("Kwota brutto z\xB3", 0x06, 8).Field("Nazwa", 0x01, 3).Record(Double(1) + Alpha("a", 3));
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt);
  ASSERT_EQ(table.Header().fields.size(), 2u);
  EXPECT_EQ(table.Header().fields[0].name, "Kwota brutto zł");
  EXPECT_EQ(table.Header().fields[0].type, FieldType::Number);
  EXPECT_EQ(table.Header().fields[1].name, "Nazwa");
}

TEST(ParadoxFieldValues, TablesWithoutACodePageUseTheConfiguredDefault) {
  for (int version : {3, 4}) {
    TableBuilder builder(version);
    builder.Field("N\xA5zwa", 0x01, 4).Record(Alpha("\xA5", 4));
    std::string bytes = builder.Build();
    auto dos = ParadoxTable::OpenBytes("t.db", bytes, std::nullopt);
    EXPECT_EQ(dos.Header().codePage, 852);
    EXPECT_EQ(dos.Header().headerCodePage, 0);
    EXPECT_EQ(dos.Header().fields[0].name, "Nązwa");
    EXPECT_EQ(ReadAll(dos), (Rows{"T:ą"}));
    Collected collected;
    auto windows = ParadoxTable::OpenBytes("t.db", bytes, std::nullopt, collected.Options(1250));
    EXPECT_EQ(windows.Header().codePage, 1250);
    EXPECT_EQ(ReadAll(windows), (Rows{"T:Ą"}));
  }
  // A header code page of 0 in a later version also falls back to the default.
  TableBuilder zero;
  zero.CodePage(0).Field("A", 0x01, 2).Record(Alpha("\x88", 2));
  EXPECT_EQ(ReadAll(ParadoxTable::OpenBytes("t.db", zero.Build(), std::nullopt)), (Rows{"T:ł"}));
}

TEST(ParadoxFieldValues, TheFolderOverrideWinsOverTheHeadersCodePage) {
  TableBuilder builder;
  builder.CodePage(1252).Field("A", 0x01, 4).Record(Alpha("\xB9\xB3", 4));
  velkar::db::paradox::ReadOptions options;
  options.codePageOverride = 1250;
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt, options);
  EXPECT_EQ(table.Header().codePage, 1250);
  EXPECT_EQ(table.Header().headerCodePage, 1252);
  EXPECT_EQ(ReadAll(table), (Rows{"T:ął"}));
}

TEST(ParadoxFieldValues, AnUnknownHeaderCodePageFallsBackToTheDefaultWithAWarning) {
  TableBuilder builder;
  builder.CodePage(4).Field("A", 0x01, 4).Record(Alpha("\x88", 4));
  Collected collected;
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt, collected.Options());
  EXPECT_EQ(table.Header().codePage, 852);
  EXPECT_EQ(ReadAll(table), (Rows{"T:ł"}));
  EXPECT_EQ(collected.warnings, (Rows{"Tabela t.db: nieznana strona kodowa 4; tekst odczytano w stronie kodowej 852"}));
}

TEST(ParadoxFieldValues, ReusedValuesCarryNothingOverFromThePreviousRecord) {
  TableBuilder builder;
  builder.Field("A", 0x01, 4).Field("N", 0x04, 4).Field("L", 0x09, 1);
  builder.Record(Alpha("abc", 4) + Long(7) + Logical(true)).Record(Blank(4) + Blank(4) + Blank(1));
  auto table = ParadoxTable::OpenBytes("t.db", builder.Build(), std::nullopt);
  std::vector<velkar::db::paradox::Value> last;
  table.ForEachRecord([&](const std::vector<velkar::db::paradox::Value>& values) {
    last = values;
    return true;
  });
  ASSERT_EQ(last.size(), 3u);
  for (const auto& value : last) {
    EXPECT_EQ(value.kind, velkar::db::paradox::Value::Kind::Null);
    EXPECT_EQ(value.text, "");
    EXPECT_EQ(value.integer, 0);
    EXPECT_FALSE(value.boolean);
  }
}
