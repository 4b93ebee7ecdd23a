// Master-detail links: as the master moves, the detail holds exactly the records whose
// index fields equal the master's fields; no match or a NULL key leaves it empty.
#include <gtest/gtest.h>

#include "base/Error.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

using namespace velkar;
using namespace velkar::db;
using test::PxDate;
using test::PxType;

namespace {

class MasterDetailTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Documents with their payer (Payer) and contractor (User); 99 has no card, 0 is NULL.
    test::WriteParadoxTable(dir.File("REG.db"),
                            {{"Number", PxType::Long}, {"Payer", PxType::Long}, {"User", PxType::Long},
                             {"Firm", PxType::Alpha, 4}},
                            {{1LL, 2LL, 2LL, "A"}, {2LL, 1LL, 3LL, "A"}, {3LL, 99LL, 1LL, "B"}, {4LL, {}, 2LL, "B"},
                             {5LL, 2LL, 1LL, "A"}});
    // Contractor cards, two firms; card 2 of firm A appears twice.
    test::WriteParadoxTable(dir.File("Users.db"),
                            {{"Number", PxType::Long}, {"FirmId", PxType::Alpha, 4}, {"Name", PxType::Alpha, 20}},
                            {{3LL, "A", "Gamma"}, {1LL, "A", "Alfa"}, {2LL, "A", "Beta"}, {2LL, "A", "Beta bis"},
                             {1LL, "B", "Alfa B"}});
    reg.DatabaseName = users.DatabaseName = dir.Path();
    reg.TableName = "REG";
    users.TableName = "Users";
  }

  // Opens the register in number order and the cards as its detail, their index fields
  // `indexFields` linked to the register's `masterFields`.
  void OpenLinked(const std::string& indexFields, const std::string& masterFields) {
    reg.IndexFieldNames = "Number";
    reg.Open();
    users.IndexFieldNames = indexFields;
    users.MasterFields = masterFields;
    users.MasterSource = &reg;
    users.Open();
  }

  // For each register record: its number and the names the detail holds.
  std::vector<std::string> Walk() {
    std::vector<std::string> lines;
    for (reg.First(); !reg.Eof(); reg.Next()) {
      std::string line = reg.FieldByName("Number").AsString() + ":";
      for (users.First(); !users.Eof(); users.Next()) line += " " + users.FieldByName("Name").AsString();
      lines.push_back(line);
    }
    return lines;
  }

  test::TempDir dir;
  Session session;
  TTable reg{&session};
  TTable users{&session};
};

}  // namespace

TEST_F(MasterDetailTest, TheDetailFollowsTheMasterThroughAnIndexedLink) {
  OpenLinked("Number", "Payer");
  EXPECT_EQ(Walk(), (std::vector<std::string>{"1: Beta Beta bis", "2: Alfa Alfa B", "3:", "4:", "5: Beta Beta bis"}));
}

TEST_F(MasterDetailTest, NoMatchLeavesTheDetailEmptyAndItsFieldsReadEmpty) {
  OpenLinked("Number", "Payer");
  ASSERT_TRUE(reg.FindKey({"3"}));
  EXPECT_TRUE(users.Eof());
  EXPECT_EQ(users.RecordCount(), 0);
  EXPECT_EQ(users.FieldByName("Name").AsString(), "");
  EXPECT_FALSE(users.FindKey({"1"}));
  ASSERT_TRUE(reg.FindKey({"2"}));
  EXPECT_EQ(users.FieldByName("Name").AsString(), "Alfa");
}

TEST_F(MasterDetailTest, LinksOverSeveralFieldsAndChangingTheLinkOfAnOpenTable) {
  OpenLinked("Number;FirmId", "User;Firm");
  EXPECT_EQ(Walk(), (std::vector<std::string>{"1: Beta Beta bis", "2: Gamma", "3: Alfa B", "4:", "5: Alfa"}));
  users.MasterFields = "Payer";  // the same detail, now linked by payer
  EXPECT_EQ(Walk(), (std::vector<std::string>{"1: Beta Beta bis", "2: Alfa Alfa B", "3:", "4:", "5: Beta Beta bis"}));
  users.MasterSource = nullptr;
  EXPECT_EQ(users.RecordCount(), 5);
}

TEST_F(MasterDetailTest, AFilteredDetailOfAFilteredMaster) {
  reg.Filter = "Firm = 'A'";
  reg.Filtered = true;
  reg.Open();
  users.IndexFieldNames = "Number";
  users.MasterFields = "User";
  users.MasterSource = &reg;
  users.Filter = "FirmId = 'A'";
  users.Filtered = true;
  users.Open();
  EXPECT_EQ(Walk(), (std::vector<std::string>{"1: Beta Beta bis", "2: Gamma", "5: Alfa"}));
}

TEST_F(MasterDetailTest, AChainOfLinksFollowsTheTopMaster) {
  TTable again(&session);
  again.DatabaseName = dir.Path();
  again.TableName = "REG";
  again.IndexFieldNames = "User";
  again.MasterFields = "Number";
  again.MasterSource = &users;
  OpenLinked("Number", "Payer");
  again.Open();
  ASSERT_TRUE(reg.FindKey({"2"}));  // payer 1 -> cards "Alfa", "Alfa B" -> documents of user 1
  std::vector<std::string> numbers;
  for (again.First(); !again.Eof(); again.Next()) numbers.push_back(again.FieldByName("Number").AsString());
  EXPECT_EQ(numbers, (std::vector<std::string>{"3", "5"}));
}

TEST_F(MasterDetailTest, ALinkNeedsIndexFieldsAndExistingMasterFields) {
  auto errorOfOpen = [&] { return test::ErrorOf([&] { users.Open(); }); };
  reg.Open();
  users.MasterSource = &reg;
  users.MasterFields = "Payer";
  EXPECT_EQ(errorOfOpen(), "Tabela " + dir.Path() +
                               "Users: powiązanie z tabelą nadrzędną wymaga tylu pól indeksu (IndexFieldNames), ile "
                               "jest pól MasterFields (Payer)");
  users.IndexFieldNames = "Number";
  users.MasterFields = "Platnik";
  EXPECT_EQ(errorOfOpen(), "Brak pola \"Platnik\" w tabeli " + dir.Path() + "REG");
  users.MasterSource = &users;
  users.MasterFields = "Number";
  EXPECT_EQ(errorOfOpen(), "Tabela " + dir.Path() + "Users nie może być swoją tabelą nadrzędną");
  EXPECT_FALSE(users.Active());
}
