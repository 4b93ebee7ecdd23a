// The writer of the sample tables: values read back by our reader, and the checks that
// keep a bad value away from pxlib.
#include <gtest/gtest.h>

#include "base/Error.h"
#include "base/Paths.h"
#include "samples/ParadoxWriter.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "tools/db/paradox/ParadoxTable.h"

using namespace velkar;
using namespace velkar::samples;
using test::ErrorOf;
namespace px = velkar::db::paradox;

namespace {

TableDef SmallTable() {
  return {{{"Number", FieldType::Long},
           {"Name", FieldType::Alpha, 10},
           {"Day", FieldType::Date},
           {"Count", FieldType::Short},
           {"Amount", FieldType::Currency},
           {"Rate", FieldType::Number},
           {"Id", FieldType::AutoInc}},
          1,
          1250};
}

}  // namespace

TEST(ParadoxWriter, ValuesAndNullsReadBackAsWritten) {
  test::TempDir dir;
  ParadoxWriter table(dir.Path() + "Small", SmallTable());
  table.Append(table.NewRecord()
                   .Set("Number", 1)
                   .Set("Name", "Łódź")
                   .Set("Day", DateTime{2024, 2, 29})
                   .Set("Count", -32767)
                   .Set("Amount", 1234.56)
                   .Set("Rate", 0.0)
                   .Set("Id", 7LL));
  table.Append(table.NewRecord().Set("Number", 2).Set("Name", "0123456789").Set("Rate", 3));
  table.Close();
  EXPECT_EQ(table.Count(), 2);
  EXPECT_TRUE(FileExists(dir.Path() + "Small.px"));
  EXPECT_FALSE(FileExists(dir.Path() + "Small.db.tmp"));

  px::ParadoxTable read = px::ParadoxTable::Open(dir.Path() + "Small");
  EXPECT_EQ(read.Header().codePage, 1250);
  EXPECT_TRUE(read.Header().keyed);
  std::vector<std::vector<px::Value>> rows;
  read.ForEachRecord([&](const std::vector<px::Value>& row) {
    rows.push_back(row);
    return true;
  });
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0][0].integer, 1);
  EXPECT_EQ(rows[0][1].text, "Łódź");
  EXPECT_EQ(rows[0][2].text, "2024-02-29");
  EXPECT_EQ(rows[0][3].integer, -32767);
  EXPECT_EQ(rows[0][4].number, 1234.56);
  EXPECT_EQ(rows[0][5].kind, px::Value::Kind::Number);  // a stored zero is a value, not NULL
  EXPECT_EQ(rows[0][6].integer, 7);
  EXPECT_EQ(rows[1][1].text, "0123456789");  // exactly the field's length
  EXPECT_EQ(rows[1][5].number, 3.0);         // a whole number into a Number field
  for (int i : {2, 3, 4, 6}) EXPECT_EQ(rows[1][static_cast<size_t>(i)].kind, px::Value::Kind::Null) << i;
}

TEST(ParadoxWriter, BadValuesAreRefusedBeforeTheyReachTheTable) {
  test::TempDir dir;
  ParadoxWriter table(dir.Path() + "Bad", SmallTable());
  struct Case {
    std::function<void(Record&)> set;
    std::string message;
  };
  const std::vector<Case> cases = {
      {[](Record& r) { r.Set("Name", "01234567890"); },
       "Tabela Bad: tekst \"01234567890\" jest dłuższy niż pole Name (10 znaków)"},
      // Ten letters take 17 bytes in UTF-8 but one byte each in code page 1250: they fit.
      {[](Record& r) { r.Set("Name", "żółćżółćżó"); }, "(no error)"},
      {[](Record& r) { r.Set("Name", "m²"); },
       "Tekstu \"m²\" pola Name tabeli Bad nie da się zapisać w stronie kodowej tabeli"},
      {[](Record& r) { r.Set("Count", 40000); }, "Tabela Bad: liczba 40000 nie mieści się w polu Count"},
      {[](Record& r) { r.Set("Count", 1.5); }, "Tabela Bad: zły typ wartości pola Count"},
      {[](Record& r) { r.Set("Day", "2024-01-01"); }, "Tabela Bad: zły typ wartości pola Day"},
      {[](Record& r) { r.Set("Number", 5000000000LL); }, "Tabela Bad: liczba 5000000000 nie mieści się w polu Number"},
      {[](Record& r) { r.Set("Nazwa", "x"); }, "Tabela Bad nie ma pola Nazwa"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ErrorOf([&] {
                Record record = table.NewRecord();
                c.set(record);
                table.Append(record);
              }),
              c.message);
  }
  EXPECT_EQ(table.Count(), 1);  // only the record that fits
}

TEST(ParadoxWriter, AnUnfinishedTableLeavesNothingAndAFinishedOneReplacesTheOld) {
  test::TempDir dir;
  dir.Write("Old.db", "not a table");
  {
    ParadoxWriter table(dir.Path() + "Old", SmallTable());
    table.Append(table.NewRecord().Set("Number", 1));
  }  // destroyed without Close
  EXPECT_EQ(test::ReadFile(dir.Path() + "Old.db"), "not a table");
  EXPECT_FALSE(FileExists(dir.Path() + "Old.db.tmp"));

  TableDef unkeyed = SmallTable();
  unkeyed.keyFields = 0;
  dir.Write("Old.px", "stale index");
  ParadoxWriter table(dir.Path() + "Old", unkeyed);
  table.Append(table.NewRecord().Set("Number", 1));
  table.Close();
  EXPECT_EQ(px::ParadoxTable::Open(dir.Path() + "Old").Header().recordCount, 1);
  EXPECT_FALSE(FileExists(dir.Path() + "Old.px"));  // an unkeyed table has no primary index

  TableDef dos = SmallTable();
  dos.codePage = 852;
  dos.keyFields = 0;
  ParadoxWriter dosTable(dir.Path() + "Dos", dos);
  dosTable.Append(dosTable.NewRecord().Set("Name", "Gęś"));
  dosTable.Close();
  EXPECT_EQ(px::ParadoxTable::Open(dir.Path() + "Dos").Header().codePage, 852);
  EXPECT_NE(test::ReadFile(dir.Path() + "Dos.db").find("G\xA9\x98"), std::string::npos);  // ę and ś in 852
}
