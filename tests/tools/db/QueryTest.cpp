// TQuery: SQL files over the Paradox tables of a folder, named parameters, the result
// walked like a table, and the batch copy into a keyed session table (the ledger's
// balance table "Tmp_tmp").
#include <gtest/gtest.h>

#include "base/Error.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"
#include "tools/db/Query.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

using namespace velkar;
using namespace velkar::db;
using test::PxDate;
using test::PxType;
using test::ErrorOf;

namespace {

// A ledger year: accounts and entries of March (12415) and the December periods.
class QueryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    test::WriteParadoxTable(dir.File("accounts.db"),
                            {{"Primary", PxType::Short}, {"Secondary1", PxType::Short}, {"Secondary2", PxType::Short},
                             {"Secondary3", PxType::Short}, {"Account Name", PxType::Alpha, 30},
                             {"Options", PxType::Short}},
                            {{201LL, 1LL, {}, {}, "Odbiorcy krajowi", 0LL},
                             {201LL, {}, {}, {}, "Rozrachunki z odbiorcami", 0LL},
                             {100LL, {}, {}, {}, "Kasa", 0LL},
                             {201LL, 1LL, 5LL, {}, "Odbiorca Łódź", 0LL}});
    test::WriteParadoxTable(dir.File("Details.DB"),
                            {{"Period Id", PxType::Long}, {"Seq No", PxType::Long}, {"Primary Account", PxType::Short},
                             {"Debit", PxType::Currency}, {"Credit", PxType::Currency}, {"Date", PxType::Date}},
                            {{12415LL, 1LL, 201LL, 100.0, {}, PxDate{"2024-03-04"}},
                             {12415LL, 2LL, 100LL, {}, 100.0, PxDate{"2024-03-05"}},
                             {12410LL, 3LL, 201LL, 50.0, {}, PxDate{"2024-02-10"}},
                             {12460LL, 4LL, 201LL, 7.0, {}, PxDate{"2024-12-31"}},
                             {12470LL, 5LL, 201LL, 1.0, {}, PxDate{"2024-12-31"}}});
  }

  std::string WriteSql(const std::string& name, const std::string& text) { return dir.Write(name, text); }

  test::TempDir dir;
  Session session;
};

const char* kBalanceSql =
    "SELECT A.\"Primary\", A.\"Secondary1\", A.\"Secondary2\", A.\"Secondary3\", A.\"Account Name\",\n"
    "       COALESCE(SUM(D.\"Debit\"), 0) AS \"Debit\", COALESCE(SUM(D.\"Credit\"), 0) AS \"Credit\"\n"
    "FROM accounts A\n"
    "LEFT JOIN details D ON D.\"Primary Account\" = A.\"Primary\" AND A.\"Secondary1\" IS NULL\n"
    "     AND D.\"Period Id\" <= :PeriodId\n"
    "GROUP BY A.\"Primary\", A.\"Secondary1\", A.\"Secondary2\", A.\"Secondary3\", A.\"Account Name\";\n";

const char* kJournalSql =
    "-- journal of one period\n"
    "SELECT D.\"Seq No\", D.\"Date\", COALESCE(D.\"Debit\", D.\"Credit\") AS KwotaOperacji\n"
    "FROM \"details.db\" D\n"
    "WHERE (D.\"Period Id\" = :periodid)\n"
    "ORDER BY D.\"Seq No\"\n";

}  // namespace

TEST(SqlParameters, NamesOutsideQuotesBracketsAndComments) {
  EXPECT_EQ(SqlParameterNames("SELECT * FROM t WHERE a = :PeriodId AND b > :Min_2 OR c = :periodid"),
            (std::vector<std::string>{"PeriodId", "Min_2"}));
  EXPECT_EQ(SqlParameterNames("SELECT ':x', \":y\", [a:b], `:z` -- :c\n/* :d */ FROM t WHERE t = '12:30'"),
            std::vector<std::string>{});
}

TEST_F(QueryTest, AQueryLoadsTheTablesItNamesFromItsFolderAndTakesNamedParameters) {
  TQuery query(&session);
  query.DatabaseName = dir.Path();
  query.SQL.LoadFromFile(WriteSql("dziennik.sql", kJournalSql));
  query.ParamByName("PeriodId").SetAsInteger(12415);
  query.Open();
  EXPECT_EQ(query.FieldNames(), (std::vector<std::string>{"Seq No", "Date", "KwotaOperacji"}));
  std::vector<std::string> rows;
  for (query.First(); !query.Eof(); query.Next())
    rows.push_back(query.FieldByName("seq no").AsString() + " " + query.FieldByName("Date").AsString() + " " +
                   query.FieldByName("KwotaOperacji").AsString());
  EXPECT_EQ(rows, (std::vector<std::string>{"1 2024-03-04 100", "2 2024-03-05 100"}));

  // December: line 4 becomes the period condition that takes in the closing period.
  query.Close();
  query.SQL[3] = "WHERE (D.\"Period Id\" >= 12460) ";
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);
  query.SQL.SaveToFile(dir.File("qry.sql"));
  EXPECT_EQ(test::ReadFile(dir.File("qry.sql")),
            "-- journal of one period\n"
            "SELECT D.\"Seq No\", D.\"Date\", COALESCE(D.\"Debit\", D.\"Credit\") AS KwotaOperacji\n"
            "FROM \"details.db\" D\n"
            "WHERE (D.\"Period Id\" >= 12460) \n"
            "ORDER BY D.\"Seq No\"\n");
}

TEST_F(QueryTest, BatchCopyMakesAKeyedTableWalkedInIndexOrderAndChangedInPlace) {
  test::ChangeDir cwd(dir.Path());
  TQuery query(&session);
  query.DatabaseName = dir.Path();
  query.SQL.LoadFromFile(WriteSql("zois.sql", kBalanceSql));
  query.ParamByName("PeriodId").SetAsInteger(12415);
  TTable tmp(&session);
  tmp.TableName = "Tmp_tmp";
  query.BatchCopy(tmp);
  tmp.AddPrimaryIndex("Primary; Secondary1; Secondary2; Secondary3");
  query.Close();

  tmp.Open();
  std::vector<std::string> rows;
  for (tmp.First(); !tmp.Eof(); tmp.Next())
    rows.push_back(tmp.FieldByName("Primary").AsString() + "-" + tmp.FieldByName("Secondary1").AsString() + "-" +
                   tmp.FieldByName("Secondary2").AsString() + " " + tmp.FieldByName("Account Name").AsString() + " " +
                   tmp.FieldByName("Debit").AsString() + "/" + tmp.FieldByName("Credit").AsString());
  // Each synthetic account comes before its analytic ones.
  EXPECT_EQ(rows, (std::vector<std::string>{"100-- Kasa 0/100", "201-- Rozrachunki z odbiorcami 150/0",
                                            "201-1- Odbiorcy krajowi 0/0", "201-1-5 Odbiorca Łódź 0/0"}));

  ASSERT_TRUE(tmp.FindKey({"201", "1", "5"}));
  EXPECT_EQ(tmp.FieldByName("Account Name").AsString(), "Odbiorca Łódź");
  tmp.Edit();
  tmp.SetAsFloat("Debit", 12.5);
  tmp.SetAsString("Credit", "3");
  EXPECT_EQ(tmp.FieldByName("Debit").AsFloat(), 12.5);  // the edited value, before Post
  tmp.Post();
  tmp.First();
  ASSERT_TRUE(tmp.FindKey({"201", "1", "5"}));
  EXPECT_EQ(tmp.FieldByName("Debit").AsFloat(), 12.5);
  EXPECT_EQ(tmp.FieldByName("Credit").AsFloat(), 3.0);
  EXPECT_FALSE(tmp.FindKey({"999"}));
  tmp.Close();

  // A second copy replaces the table; a query of the same folder sees it by name.
  query.ParamByName("PeriodId").SetAsInteger(12460);
  query.BatchCopy(tmp);
  TQuery sum(&session);
  sum.DatabaseName = dir.Path();
  sum.SQL.SetText("SELECT SUM(\"Debit\") AS Total FROM Tmp_tmp");
  sum.Open();
  EXPECT_EQ(sum.FieldByName("Total").AsFloat(), 157.0);
}

TEST_F(QueryTest, APrimaryIndexRefusesRepeatedKeys) {
  TQuery query(&session);
  query.DatabaseName = dir.Path();
  query.SQL.SetText("SELECT \"Primary Account\" FROM details");
  TTable tmp(&session);
  tmp.DatabaseName = dir.Path();
  tmp.TableName = "Tmp_tmp";
  query.BatchCopy(tmp);
  try {
    tmp.AddPrimaryIndex("Primary Account");
    FAIL();
  } catch (const Error& e) {
    EXPECT_EQ(std::string(e.what()), "Tabela " + dir.Path() +
                                         "Tmp_tmp: wartości pól \"Primary Account\" powtarzają się, indeks główny nie "
                                         "może powstać");
  }
}

TEST_F(QueryTest, BadQueriesGivePolishErrors) {
  TQuery query(&session);
  query.DatabaseName = dir.Path();
  std::string file = WriteSql("zois.sql", kBalanceSql);
  query.SQL.LoadFromFile(file);
  EXPECT_EQ(ErrorOf([&] { query.Open(); }), "Brak wartości parametru PeriodId zapytania " + file);
  EXPECT_EQ(ErrorOf([&] { query.ParamByName("Okres"); }), "Zapytanie " + file + " nie ma parametru Okres");

  query.SQL.SetText("SELECT * FROM nieistniejaca");
  EXPECT_EQ(ErrorOf([&] { query.Open(); }), "Brak tabeli " + dir.Path() + "nieistniejaca.db");
  query.SQL.SetText("SELECT FROM details");
  EXPECT_EQ(ErrorOf([&] { query.Open(); }), "Błąd w zapytaniu SQL: błąd składni SQL (near \"FROM\": syntax error)");
  query.SQL.SetText("SELECT 1; SELECT 2");
  EXPECT_EQ(ErrorOf([&] { query.Open(); }),
            "Zapytanie SQL zawiera więcej niż jedno polecenie (do kilku poleceń służy ExecSQL)");
  query.SQL.SetText("CREATE TABLE x (a)");
  EXPECT_EQ(ErrorOf([&] { query.Open(); }), "Zapytanie SQL nie zwraca wierszy (do takich poleceń służy ExecSQL)");
  query.SQL.SetText("DELETE FROM details");
  EXPECT_EQ(ErrorOf([&] { query.ExecSQL(); }), "Błąd w zapytaniu SQL: tabeli nie można zmieniać (cannot modify details because it is a view)");
  EXPECT_EQ(ErrorOf([&] { query.SQL.LoadFromFile(dir.File("brak.sql")); }),
            "Nie można otworzyć pliku " + dir.File("brak.sql"));

  // The source table was not changed by the refused statement.
  query.SQL.SetText("SELECT COUNT(*) AS N FROM details");
  query.Open();
  EXPECT_EQ(query.FieldByName("N").AsInteger(), 5);
}

TEST_F(QueryTest, ExecSqlRunsSeveralStatementsOnTablesOfTheSession) {
  TQuery query(&session);
  query.SQL.SetText(
      "CREATE TABLE scratch (a INTEGER);\n"
      "INSERT INTO scratch SELECT \"Seq No\" FROM details WHERE \"Period Id\" > :From;\n");
  query.DatabaseName = dir.Path();
  query.ParamByName("From").SetAsInteger(12415);
  query.ExecSQL();
  query.SQL.SetText("SELECT a FROM scratch ORDER BY a");
  query.Open();
  EXPECT_EQ(query.RecordCount(), 2);
  EXPECT_EQ(query.FieldByName("a").AsInteger(), 4);
}
