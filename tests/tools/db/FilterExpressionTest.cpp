// Filter texts translated to SQL conditions: the texts the readers send, the syntax
// around them, and every malformed case with its message.
#include <gtest/gtest.h>

#include "base/Error.h"
#include "tests/support/ErrorOf.h"
#include "tools/db/FilterExpression.h"

using namespace velkar;
using namespace velkar::db;

namespace {

const std::vector<std::string> kFields{"Number", "SaleDate", "Date", "RegType", "VatPeriod", "Period Id",
                                       "VATMonth", "Name", "Ilość", "Paid"};

std::string Sql(const std::string& filter) { return TranslateFilter(filter, kFields, "/dane/REG").sql; }

std::string ErrorOf(const std::string& filter) {
  return test::ErrorOf([&] { TranslateFilter(filter, kFields, "/dane/REG"); });
}

}  // namespace

TEST(FilterExpression, TheReadersFiltersBecomeSqlWithDatesAsText) {
  struct Case {
    std::string filter, sql;
  } cases[] = {
      {"(SaleDate >= 2024-03-01) and (SaleDate <= 2024-03-31)",
       R"(("SaleDate" >= '2024-03-01') AND ("SaleDate" <= '2024-03-31'))"},
      {"(Date >= 2023-12-01) and (Date <= 2023-12-31)", R"(("Date" >= '2023-12-01') AND ("Date" <= '2023-12-31'))"},
      {"([RegType] = 1) and ([VatPeriod] = 12)", R"(("RegType" = 1) AND ("VatPeriod" = 12))"},
      {"[Period Id] = 12415", R"("Period Id" = 12415)"},
      {"[VATMonth] = 3", R"("VATMonth" = 3)"},
  };
  for (const Case& c : cases) EXPECT_EQ(Sql(c.filter), c.sql) << c.filter;
}

TEST(FilterExpression, NamesIgnoreLetterCaseAndComeOutAsTheTableSpellsThem) {
  EXPECT_EQ(Sql("saledate >= 2024-03-01 AND [period id] <> 5"), R"("SaleDate" >= '2024-03-01' AND "Period Id" <> 5)");
  EXPECT_EQ(Sql("[ILOŚĆ] > 1.5"), R"("Ilość" > 1.5)");
  auto columns = TranslateFilter("(Name = 'a') or (name = 'b') or Number = 1", kFields, "T").columns;
  EXPECT_EQ(columns, (std::vector<int>{7, 0}));
}

TEST(FilterExpression, LiteralsNullAndOperators) {
  struct Case {
    std::string filter, sql;
  } cases[] = {
      {"Name = 'O''Brien'", R"("Name" = 'O''Brien')"},
      {"Name = \"Kowalski\"", R"("Name" = 'Kowalski')"},
      {"Name = '2024-03-01'", R"("Name" = '2024-03-01')"},
      {"Name = NULL", R"("Name" IS NULL)"},
      {"Name <> null", R"("Name" IS NOT NULL)"},
      {"Name != 'x'", R"("Name" <> 'x')"},
      {"Name is not null and not Paid", R"("Name" IS NOT NULL AND NOT "Paid")"},
      {"Paid = TRUE or Paid = false", R"("Paid" = 1 OR "Paid" = 0)"},
      {"Number * 2 - 1 >= 2024 - 3 - 1", R"("Number" * 2 - 1 >= 2024 - 3 - 1)"},
      // Two minus signs must never meet and start an SQL comment.
      {"Number = - -3", R"("Number" = (-(-3)))"},
  };
  for (const Case& c : cases) EXPECT_EQ(Sql(c.filter), c.sql) << c.filter;
  EXPECT_EQ(Sql("   "), "");
}

TEST(FilterExpression, MalformedFiltersNameTheTableAndSayWhatIsWrong) {
  struct Case {
    std::string filter, detail;
  } cases[] = {
      {"[Nieznane] = 1", "brak pola \"Nieznane\""},
      {"Kwota > 1", "brak pola \"Kwota\""},
      {"(SaleDate >= 2024-03-01", "brak nawiasu zamykającego do nawiasu z pozycji 1"},
      {"SaleDate >= 2024-02-30", "niepoprawna data 2024-02-30 na pozycji 13"},
      {"Name = 'abc", "niezamknięty tekst od pozycji 8"},
      {"Number = 1 and", "wyrażenie jest niedokończone"},
      {"Number == 1", "nieoczekiwane \"=\" na pozycji 9"},
      {"Number = 1; drop table x", "nieoczekiwany znak \";\" na pozycji 11"},
      {"Number = 12abc", "niepoprawna liczba na pozycji 10"},
      {"Number = 2024-03-01x", "niepoprawna liczba na pozycji 18"},
      {"[Number = 1", "brak \"]\" po nazwie pola na pozycji 1"},
      {"Number = 1 Name", "nieoczekiwane \"Name\" na pozycji 12"},
      {"Number = 1)", "nieoczekiwane \")\" na pozycji 11"},
      {"Number > NULL", "nieoczekiwane \"NULL\" na pozycji 10"},
      {"Number is 5", "nieoczekiwane \"5\" na pozycji 11"},
      {"Number ! 5", "nieoczekiwany znak \"!\" na pozycji 8"},
      {"()", "nieoczekiwane \")\" na pozycji 2"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ErrorOf(c.filter), "Błąd w filtrze tabeli /dane/REG: " + c.detail + " (filtr: " + c.filter + ")");
}

TEST(FilterExpression, FieldNamesFoldPolishAndLatinLetters) {
  EXPECT_EQ(FoldFieldName("ŁÓDŹ Ąę"), "łódź ąę");
  EXPECT_EQ(FoldFieldName("Period ID"), "period id");
  EXPECT_EQ(FoldFieldName("ÄÖÜ×"), "äöü×");
}

// 10 000 parentheses or 40 000 signs used to run the parser's recursion off the stack.
TEST(FilterExpression, DeeplyNestedFiltersAreTooComplexNotACrash) {
  EXPECT_EQ(ErrorOf(std::string(10000, '(') + "1" + std::string(10000, ')')), "Wyrażenie filtra jest zbyt złożone");
  EXPECT_EQ(ErrorOf("Number = " + std::string(40000, '-') + "1"), "Wyrażenie filtra jest zbyt złożone");
  std::string nots;
  for (int i = 0; i < 5000; ++i) nots += "not ";
  EXPECT_EQ(ErrorOf(nots + "Paid"), "Wyrażenie filtra jest zbyt złożone");
  // Nesting of an everyday depth still translates.
  EXPECT_EQ(Sql(std::string(50, '(') + "Number = 1" + std::string(50, ')')),
            std::string(50, '(') + "\"Number\" = 1" + std::string(50, ')'));
}
