// Amounts of a source record written into the elements of a JPK_V7M row.
#include <gtest/gtest.h>

#include "model/v7m/JpkV7.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"
#include "tools/AmountElements.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

using namespace velkar;
using test::PxType;

namespace {

// The row's child elements as "name=value" in document order.
std::string Children(const xml::TXMLNode& row) {
  std::string text;
  for (xml::TXMLNode child = row.ChildNodes().First(); child; child = child.NextSibling())
    text += (text.empty() ? "" : " ") + child.NodeName() + "=" + child.Text();
  return text;
}

struct Case {
  test::PxValue net, tax;
  bool negate;
  std::string written;
};

}  // namespace

TEST(AmountElements, NetAndTaxAreWrittenWhenEitherIsNotZero) {
  const std::vector<Case> cases = {
      {0.0, 5.0, false, "K_15=0 K_16=5"},
      {100.0, 0.0, false, "K_15=100"},
      {0.0, 0.0, false, ""},
      {test::PxValue{}, test::PxValue{}, false, ""},  // empty fields read as 0
      {100.0, 23.0, true, "K_15=-100 K_16=-23"},
      {0.0, 2.3, true, "K_15=0 K_16=-2.3"},          // a negated zero is written as 0
      {2.675, 0.615, false, "K_15=2.68 K_16=0.62"},  // half away from zero to the grosz
      {-1.005, -0.004, false, "K_15=-1.01"},         // a tax that rounds to 0 forces nothing
      {0.004, 0.0, false, ""},
  };
  test::TempDir dir;
  std::vector<std::vector<test::PxValue>> rows;
  for (const Case& c : cases) rows.push_back({c.net, c.tax});
  test::WriteParadoxTable(dir.File("REG.db"), {{"Value3", PxType::Number}, {"Tax3", PxType::Currency}}, rows);
  db::Session session;
  db::TTable table(&session);
  table.DatabaseName = dir.Path();
  table.TableName = "REG";
  table.Open();
  v7m::IXMLJPK jpk = v7m::NewJpkV7();
  size_t i = 0;
  for (table.First(); !table.Eof(); table.Next(), ++i) {
    auto row = jpk.Ewidencja().SprzedazWiersz().Add();
    SetNetTaxElements(row, table, "K_15", "Value3", "K_16", "Tax3", cases[i].negate);
    EXPECT_EQ(Children(row), cases[i].written) << "case " << i;
  }
  EXPECT_EQ(i, cases.size());
}

TEST(AmountElements, ForceWritesZeroAndAnElementIsAppendedOnceAfterTheOthers) {
  test::TempDir dir;
  test::WriteParadoxTable(dir.File("R.db"), {{"ValueFree", PxType::Currency}, {"Value0", PxType::Number}},
                          {{0.0, 12.5}});
  db::Session session;
  db::TTable table(&session);
  table.DatabaseName = dir.Path();
  table.TableName = "R";
  table.Open();
  v7m::IXMLJPK jpk = v7m::NewJpkV7();
  auto row = jpk.Ewidencja().ZakupWiersz().Add();
  row.SetChildText("DowodZakupu", "FZ 1");
  SetAmountElement(row, table, "K_42", "ValueFree", false, false);
  EXPECT_EQ(Children(row), "DowodZakupu=FZ 1");
  SetAmountElement(row, table, "K_42", "ValueFree", true, true);
  SetAmountElement(row, table, "K_43", "Value0", true, false);
  EXPECT_EQ(Children(row), "DowodZakupu=FZ 1 K_42=0 K_43=-12.5");
  SetAmountElement(row, table, "K_42", "Value0", false, false);  // an existing element takes the new value
  EXPECT_EQ(Children(row), "DowodZakupu=FZ 1 K_42=12.5 K_43=-12.5");
}
