// Tables written by an independent implementation (pxlib's writer) read back by ours.
#include <gtest/gtest.h>
extern "C" {
#include <paradox.h>  // declares no C linkage of its own
}

#include <cstring>

#include "tests/support/TempDir.h"
#include "tests/tools/db/paradox/ReadHelpers.h"
#include "tools/db/paradox/ParadoxTable.h"

using namespace velkar::test::paradox;
using velkar::db::paradox::FieldType;
using velkar::db::paradox::ParadoxTable;
using Rows = std::vector<std::string>;

namespace {

struct PxField {
  std::string name;
  int type;
  int size;
};

// One value for pxlib: text (bytes already in the table's code page), an integer, a double,
// or NULL.
struct PxValue {
  enum { Null, Text, Integer, Real } kind = Null;
  std::string text;
  long integer = 0;
  double real = 0;
};
PxValue T(std::string text) { return {PxValue::Text, std::move(text), 0, 0}; }
PxValue I(long value) { return {PxValue::Integer, {}, value, 0}; }
PxValue R(double value) { return {PxValue::Real, {}, 0, value}; }
const PxValue kNull{};

// Writes a 7.x table with pxlib. pxlib crashes on an Alpha value longer than its field, so
// lengths are checked first.
void WritePxTable(const std::string& path, const std::vector<PxField>& fields, const std::vector<std::vector<PxValue>>& rows,
                  int codePage, bool keyed = false) {
  for (const auto& row : rows)
    for (std::size_t i = 0; i < fields.size(); ++i)
      if (row[i].kind == PxValue::Text && static_cast<int>(row[i].text.size()) > fields[i].size)
        throw std::invalid_argument("value longer than its field: " + row[i].text);
  pxdoc_t* doc = PX_new();
  auto* defs = static_cast<pxfield_t*>(std::calloc(fields.size(), sizeof(pxfield_t)));  // freed by pxlib
  for (std::size_t i = 0; i < fields.size(); ++i) {
    defs[i].px_fname = strdup(fields[i].name.c_str());
    defs[i].px_ftype = static_cast<char>(fields[i].type);
    defs[i].px_flen = fields[i].size;
  }
  ASSERT_GE(PX_create_file(doc, defs, static_cast<int>(fields.size()), path.c_str(),
                           keyed ? pxfFileTypIndexDB : pxfFileTypNonIndexDB), 0);
  PX_set_value(doc, "codepage", static_cast<float>(codePage));
  if (keyed) PX_set_value(doc, "primarykeyfields", 1);
  std::vector<pxval_t> values(fields.size());
  std::vector<pxval_t*> pointers(fields.size());
  std::vector<std::string> texts(fields.size());
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < fields.size(); ++i) {
      pxval_t& v = values[i];
      std::memset(&v, 0, sizeof v);
      v.type = fields[i].type;
      v.isnull = row[i].kind == PxValue::Null;
      texts[i] = row[i].text;
      if (row[i].kind == PxValue::Text) {
        v.value.str.val = texts[i].data();
        v.value.str.len = static_cast<int>(texts[i].size());
      }
      v.value.lval = row[i].kind == PxValue::Integer ? row[i].integer : v.value.lval;
      if (row[i].kind == PxValue::Real) v.value.dval = row[i].real;
      pointers[i] = &v;
    }
    ASSERT_GE(PX_insert_record(doc, pointers.data()), 0);
  }
  PX_close(doc);
  PX_delete(doc);
}

const std::vector<PxField> kAllTypes = {
    {"Nazwa", pxfAlpha, 20},  {"Data", pxfDate, 4},       {"Ilosc", pxfShort, 2},  {"Numer", pxfLong, 4},
    {"Kwota", pxfCurrency, 8}, {"Cena", pxfNumber, 8},     {"Zaplacono", pxfLogical, 1}, {"Godzina", pxfTime, 4},
    {"Utworzono", pxfTimestamp, 8}, {"Kod", pxfBytes, 4}, {"Uwagi", pxfMemoBLOb, 30},
};

}  // namespace

TEST(ParadoxPxlibTables, EveryTypePxlibWritesReadsBackWithItsNulls) {
  velkar::test::TempDir dir;
  std::string path = dir.File("rejestr.db");
  WritePxTable(path, kAllTypes,
               {{T("Hurtownia \xA5\x88\xA2" "d\xAB"), I(730120), I(-300), I(123456789), R(-1234.5), R(0.125), I(1),
                 I(45'000'000), R(63'082'411'200'000.0), T(std::string("AB\0\0", 4)), T("kr\xA2tko")},
                {kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull, kNull},
                {T("x"), I(719163), I(0), I(0), R(0), R(0), I(0), I(0), R(62'135'683'200'000.0), T("\x01\x02\x03\x04"), kNull}},
               852);
  auto table = ParadoxTable::Open(path);
  const auto& h = table.Header();
  EXPECT_EQ(h.fileVersion, 12);
  EXPECT_EQ(h.codePage, 852);
  EXPECT_EQ(h.recordCount, 3);
  ASSERT_EQ(h.fields.size(), kAllTypes.size());
  EXPECT_EQ(h.fields[8].type, FieldType::Timestamp);
  EXPECT_EQ(h.fields[10].type, FieldType::Memo);
  EXPECT_EQ(h.fields[10].size, 30);
  EXPECT_EQ(ReadAll(table),
            (Rows{"T:Hurtownia ąłódź | T:2000-01-01 | I:-300 | I:123456789 | N:-1234.5 | N:0.125 | B:1 | T:12:30:00 | "
                  "T:2000-01-01 12:00:00 | X:41 42 00 00 | T:krótko",
                  "NULL | NULL | NULL | NULL | NULL | NULL | NULL | NULL | NULL | NULL | NULL",
                  "T:x | T:1970-01-01 | I:0 | I:0 | N:0 | N:0 | B:0 | T:00:00:00 | T:1970-01-01 00:00:00 | X:01 02 03 04 | "
                  "NULL"}));
}

TEST(ParadoxPxlibTables, ThousandsOfRecordsInWindowsCodePages) {
  velkar::test::TempDir dir;
  for (int codePage : {1250, 1251, 1252}) {
    std::string path = dir.File("t" + std::to_string(codePage) + ".db");
    std::vector<std::vector<PxValue>> rows;
    for (int i = 0; i < 5000; ++i) rows.push_back({I(i + 1), T("\xC0\xE0 " + std::to_string(i))});
    WritePxTable(path, {{"Id", pxfLong, 4}, {"Tekst", pxfAlpha, 16}}, rows, codePage, codePage == 1250);
    auto table = ParadoxTable::Open(path);
    EXPECT_EQ(table.Header().recordCount, 5000);
    Rows read = ReadAll(table);
    ASSERT_EQ(read.size(), 5000u);
    std::string letters = codePage == 1250 ? "Ŕŕ" : codePage == 1251 ? "Аа" : "Àà";
    EXPECT_EQ(read[4321], "I:4322 | T:" + letters + " 4321") << codePage;
  }
}
