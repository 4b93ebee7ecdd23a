// TTable over Paradox tables written by pxlib: reading fields, order, filters, key search,
// reopening, reuse of an unchanged table and the errors of bad input.
#include <gtest/gtest.h>

#include "base/Error.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"
#include "tools/db/Session.h"
#include "tools/db/Store.h"
#include "tools/db/Table.h"

using namespace velkar;
using namespace velkar::db;
using test::PxDate;
using test::PxField;
using test::PxType;
using test::ErrorOf;

namespace {

std::vector<std::string> Values(TTable& table, const std::string& name) {
  std::vector<std::string> values;
  for (table.First(); !table.Eof(); table.Next()) values.push_back(table.FieldByName(name).AsString());
  return values;
}

// A sales register: numbers 1..6 in file order 3,1,2,6,4,5 across February to April.
class TableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteParadoxTable(dir.File("REG.db"),
                            {{"Number", PxType::Long}, {"SaleDate", PxType::Date}, {"Payer", PxType::Long},
                             {"Net", PxType::Currency}, {"Name", PxType::Alpha, 30}, {"Paid", PxType::Logical},
                             {"Period Id", PxType::Long}, {"RegType", PxType::Short}, {"VatPeriod", PxType::Short}},
                            {
                                {3LL, PxDate{"2024-03-01"}, 20LL, 100.5, "Łódź Sp. z o.o.", true, 12415LL, 1LL, 3LL},
                                {1LL, PxDate{"2024-02-29"}, 10LL, 12.5, "Kowalski", false, 12410LL, 1LL, 2LL},
                                {2LL, PxDate{"2024-03-31"}, 10LL, -3.0, "Nowak", true, 12415LL, 2LL, 3LL},
                                {6LL, {}, {}, {}, {}, {}, {}, {}, {}},
                                {4LL, PxDate{"2024-04-01"}, 30LL, 0.0, "Zięba", false, 12420LL, 1LL, 4LL},
                                {5LL, PxDate{"2024-03-15"}, 20LL, 7.25, "Wójcik", true, 12415LL, 1LL, 3LL},
                            });
  }

  void OpenRegister(TTable& table) {
    table.DatabaseName = dir.Path();
    table.TableName = "REG";
    table.Open();
  }

  test::TempDir dir;
  Session session;
};

}  // namespace

TEST_F(TableTest, FieldsReadAsTextNumbersAndDatesWithNullsEmpty) {
  TTable reg(&session);
  OpenRegister(reg);
  ASSERT_FALSE(reg.Eof());
  EXPECT_EQ(reg.RecordCount(), 6);
  EXPECT_EQ(reg.FieldByName("Number").AsInteger(), 3);
  EXPECT_EQ(reg.FieldByName("SaleDate").AsString(), "2024-03-01");
  EXPECT_EQ(reg.FieldByName("Net").AsFloat(), 100.5);
  EXPECT_EQ(reg.FieldByName("Net").AsString(), "100.5");
  EXPECT_EQ(reg.FieldByName("Name").AsString(), "Łódź Sp. z o.o.");
  EXPECT_TRUE(reg.FieldByName("Paid").AsBoolean());
  EXPECT_EQ(reg.FieldByName("period id").AsInteger(), 12415);  // names ignore letter case
  EXPECT_TRUE(reg.HasField("PAYER"));
  EXPECT_FALSE(reg.HasField("Kwota"));

  while (reg.FieldByName("Number").AsInteger() != 6) reg.Next();
  EXPECT_TRUE(reg.FieldByName("SaleDate").IsNull());
  EXPECT_EQ(reg.FieldByName("SaleDate").AsString(), "");
  EXPECT_EQ(reg.FieldByName("Net").AsFloat(), 0.0);
  EXPECT_EQ(reg.FieldByName("Payer").AsInteger(), 0);
  EXPECT_EQ(reg.FieldByName("Name").AsString(), "");
  EXPECT_FALSE(reg.FieldByName("Paid").AsBoolean());

  EXPECT_EQ(reg.FieldNames(), (std::vector<std::string>{"Number", "SaleDate", "Payer", "Net", "Name", "Paid",
                                                          "Period Id", "RegType", "VatPeriod"}));
}

TEST_F(TableTest, RecordsComeInTableOrderOrInTheOrderOfTheIndexFields) {
  TTable reg(&session);
  OpenRegister(reg);
  EXPECT_EQ(Values(reg, "Number"), (std::vector<std::string>{"3", "1", "2", "6", "4", "5"}));
  reg.Close();
  reg.IndexFieldNames = "Number";
  reg.Open();
  EXPECT_EQ(Values(reg, "Number"), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
  reg.Close();
  // NULL keys first; records with equal keys keep the table order.
  reg.IndexFieldNames = " Payer ";
  reg.Open();
  EXPECT_EQ(Values(reg, "Number"), (std::vector<std::string>{"6", "1", "2", "3", "5", "4"}));
}

TEST_F(TableTest, EofComesAfterTheLastRecordWhichStaysCurrent) {
  TTable reg(&session);
  reg.IndexFieldNames = "Number";
  OpenRegister(reg);
  for (int i = 0; i < 5; ++i) reg.Next();
  EXPECT_FALSE(reg.Eof());
  reg.Next();
  EXPECT_TRUE(reg.Eof());
  EXPECT_EQ(reg.FieldByName("Number").AsInteger(), 6);
  reg.First();
  EXPECT_FALSE(reg.Eof());
  EXPECT_EQ(reg.FieldByName("Number").AsInteger(), 1);
}

TEST_F(TableTest, TheReadersFiltersSelectWhatTheySay) {
  struct Case {
    std::string filter;
    std::vector<std::string> numbers;
  } cases[] = {
      {"(SaleDate >= 2024-03-01) and (SaleDate <= 2024-03-31)", {"2", "3", "5"}},
      {"(SaleDate >= 2024-02-01) and (SaleDate <= 2024-02-29)", {"1"}},
      {"([RegType] = 1) and ([VatPeriod] = 3)", {"3", "5"}},
      {"[Period Id] = 12415", {"2", "3", "5"}},
      {"[Period Id] = 12425", {}},
      {"Net < 0", {"2"}},
      {"SaleDate = NULL", {"6"}},
      {"Name = 'Łódź Sp. z o.o.'", {"3"}},
      {"Paid", {"2", "3", "5"}},
  };
  for (const Case& c : cases) {
    TTable reg(&session);
    reg.IndexFieldNames = "Number";
    reg.Filter = c.filter;
    reg.Filtered = true;
    OpenRegister(reg);
    EXPECT_EQ(Values(reg, "Number"), c.numbers) << c.filter;
    EXPECT_EQ(reg.RecordCount(), static_cast<long long>(c.numbers.size()));
  }
}

TEST_F(TableTest, FilteringOffShowsEveryRecordAndChangesApplyToAnOpenTable) {
  TTable reg(&session);
  reg.IndexFieldNames = "Number";
  reg.Filter = "[Period Id] = 12415";
  OpenRegister(reg);
  EXPECT_EQ(reg.RecordCount(), 6);  // Filtered is off
  reg.Filtered = true;
  EXPECT_EQ(Values(reg, "Number"), (std::vector<std::string>{"2", "3", "5"}));
  reg.Filter = "[Period Id] = 12410";
  EXPECT_EQ(Values(reg, "Number"), (std::vector<std::string>{"1"}));
  reg.Close();
  reg.Filter = "(SaleDate >= 2024-04-01) and (SaleDate <= 2024-04-30)";
  reg.Open();
  EXPECT_EQ(Values(reg, "Number"), (std::vector<std::string>{"4"}));
}

TEST_F(TableTest, FindKeySearchesTheIndexFieldsAndKeepsThePositionWhenNothingMatches) {
  TTable reg(&session);
  reg.IndexFieldNames = "Payer;Number";
  OpenRegister(reg);
  EXPECT_TRUE(reg.FindKey({"20"}));
  EXPECT_EQ(reg.FieldByName("Number").AsInteger(), 3);
  EXPECT_TRUE(reg.FindKey({"20", "5"}));
  EXPECT_EQ(reg.FieldByName("Number").AsInteger(), 5);
  reg.Next();
  EXPECT_EQ(reg.FieldByName("Number").AsInteger(), 4);  // FindKey positions within the order
  EXPECT_FALSE(reg.FindKey({"99"}));
  EXPECT_EQ(reg.FieldByName("Number").AsInteger(), 4);
  EXPECT_EQ(ErrorOf([&] { reg.FindKey({"1", "2", "3"}); }),
            "Tabela " + dir.Path() + "REG: wyszukiwanie podaje 3 wartości klucza, a indeks ma 2 pól");

  TTable plain(&session);
  OpenRegister(plain);
  EXPECT_EQ(ErrorOf([&] { plain.FindKey({"1"}); }),
            "Tabela " + dir.Path() + "REG nie ma indeksu do wyszukiwania (IndexFieldNames)");
}

TEST_F(TableTest, BadInputGivesPolishErrorsNamingTheTableOrField) {
  TTable reg(&session);
  reg.DatabaseName = dir.Path();
  reg.TableName = "Brak";
  EXPECT_EQ(ErrorOf([&] { reg.Open(); }), "Brak tabeli " + dir.Path() + "Brak.db");
  EXPECT_FALSE(reg.Active());

  reg.TableName = "REG";
  reg.IndexFieldNames = "Number;Kwota";
  EXPECT_EQ(ErrorOf([&] { reg.Open(); }), "Brak pola \"Kwota\" w tabeli " + dir.Path() + "REG");
  EXPECT_FALSE(reg.Active());

  reg.IndexFieldNames = "";
  reg.Filter = "(SaleDate >= 2024-03-01) and";
  reg.Filtered = true;
  EXPECT_EQ(ErrorOf([&] { reg.Open(); }), "Błąd w filtrze tabeli " + dir.Path() +
                                              "REG: wyrażenie jest niedokończone (filtr: (SaleDate >= 2024-03-01) and)");

  reg.Filtered = false;
  reg.Open();
  EXPECT_EQ(ErrorOf([&] { reg.FieldByName("Kwota"); }), "Brak pola \"Kwota\" w tabeli " + dir.Path() + "REG");
  reg.Close();
  EXPECT_EQ(ErrorOf([&] { reg.FieldByName("Number"); }), "Tabela " + dir.Path() + "REG nie jest otwarta");

  dir.Write("Zly.db", std::string(100, 'x'));
  reg.TableName = "Zly";
  EXPECT_NE(ErrorOf([&] { reg.Open(); }).find("Zly"), std::string::npos);
}

TEST_F(TableTest, TableNamesIgnoreLetterCaseAndAnExtensionMayBeGiven) {
  for (const char* name : {"reg", "Reg.DB", "REG.db"}) {
    TTable reg(&session);
    reg.DatabaseName = dir.Path();
    reg.TableName = name;
    reg.Open();
    EXPECT_EQ(reg.RecordCount(), 6) << name;
  }
}

TEST_F(TableTest, AnUnchangedTableIsLoadedOnceAndAChangedOneAgain) {
  Store& store = session.Tables();
  auto first = store.OpenTable(dir.File("REG"));
  EXPECT_EQ(store.OpenTable(dir.File("REG")), first);

  test::WriteParadoxTable(dir.File("REG.db"), {{"Number", PxType::Long}}, {{7LL}});
  auto second = store.OpenTable(dir.File("REG"));
  EXPECT_NE(second, first);
  TTable reg(&session);
  OpenRegister(reg);
  EXPECT_EQ(Values(reg, "Number"), (std::vector<std::string>{"7"}));
}

TEST_F(TableTest, SourceTablesAreReadOnly) {
  TTable reg(&session);
  OpenRegister(reg);
  EXPECT_EQ(ErrorOf([&] { reg.Edit(); }), "Tabela " + dir.Path() + "REG jest tylko do odczytu");
  EXPECT_EQ(ErrorOf([&] { reg.AddPrimaryIndex("Number"); }), "Tabela " + dir.Path() + "REG jest tylko do odczytu");
}
