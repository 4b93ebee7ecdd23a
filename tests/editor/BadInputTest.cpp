// Bad input never loses work or gives a wrong number: typed positions the Polish way or
// refused naming the field, amounts of a file that no JPK amount can be, sums that would
// overflow, and failed opens and merges that leave the open document as it was.
#include <gtest/gtest.h>

#include <string>

#include "base/Paths.h"
#include "editor/RowReaders.h"
#include "tests/editor/V7mFixture.h"
#include "tests/support/ErrorOf.h"

using namespace velkar;
using namespace velkar::test;

namespace {

V7mFile TwoSalesWithExcess() {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "1000"}, {"K_20", "230"}}), Sale(2, {{"K_19", "100"}, {"K_20", "23"}})};
  file.saleTax = "253";
  file.purchases = {Purchase(1, {{"K_42", "2000"}, {"K_43", "460"}})};
  file.purchaseTax = "460";
  file.positions = {{"P_19", "1100"}, {"P_20", "253"}, {"P_37", "1100"}, {"P_38", "253"}, {"P_42", "2000"},
                    {"P_43", "460"},  {"P_48", "460"}, {"P_51", "0"},    {"P_53", "207"}, {"P_62", "207"}};
  return file;
}

}  // namespace

class BadInputTest : public EditorTest {
 protected:
  BadInputTest() : cd(dir.Path()) {}
  int SaleRows() const { return dlg.LoadedJpk.Ewidencja().SprzedazWiersz().Count(); }
  ChangeDir cd;
};

TEST_F(BadInputTest, TypedPositionsAreReadThePolishWayOrRefusedNamingTheField) {
  Adopt(TwoSalesWithExcess());
  dlg.edP39.Text = "1000,50";
  EXPECT_EQ(ErrorOf([&] { dlg.btnRecalcDeclarationClick(); }),
            "Pole P_39: '1000,50' nie jest poprawną liczbą całkowitą");
  EXPECT_EQ(dlg.ActiveControl, &dlg.edP39);
  EXPECT_EQ(Position("P_62"), "207");
  EXPECT_FALSE(Modified());

  dlg.edP39.Text = "9223372036854775807";  // as --P39 9223372036854775807 types it
  EXPECT_EQ(ErrorOf([&] { dlg.btnRecalcDeclarationClick(); }),
            "Pole P_39: '9223372036854775807' jest poza zakresem (najwyżej 14 cyfr)");
  dlg.edP39.Text = "";
  dlg.edP52.Text = "-9223372036854775808";
  EXPECT_EQ(ErrorOf([&] { dlg.btnRecalcDeclarationClick(); }),
            "Pole P_52: '-9223372036854775808' jest poza zakresem (najwyżej 14 cyfr)");
  EXPECT_EQ(dlg.ActiveControl, &dlg.edP52);
  EXPECT_FALSE(Modified());

  // Digit grouping with blanks, the non-breaking space included.
  dlg.edP52.Text = "";
  dlg.edP39.Text = "12\xC2\xA0" "500";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_39"), "12500");
  EXPECT_EQ(Position("P_48"), "12960");
  EXPECT_EQ(dlg.edP39.Text, "12500");
  EXPECT_EQ(SchemaProblems(dir.File("grouped.xml")), "");
}

TEST_F(BadInputTest, RefundAboveTheExcessIsRefusedWithTheFlashAndNothingRecalculated) {
  Adopt(TwoSalesWithExcess());
  dlg.edP54.Text = "208";
  dlg.edP54Change();
  dlg.rbZwrotClick(dlg.rbZwrot57);
  EXPECT_FALSE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(ui.LastMessage(), "Kwota do zwrotu (P_54) przekracza nadwyżkę podatku naliczonego nad należnym (P_53).");
  EXPECT_EQ(ui.Messages().back().kind, MessageKind::Warning);
  EXPECT_EQ(ui.Pauses(), 1);
  EXPECT_EQ(dlg.edP54.BackColor, Color::Window);
  EXPECT_EQ(dlg.ActiveControl, &dlg.edP54);
  EXPECT_EQ(Position("P_54"), "(brak)");
  EXPECT_FALSE(Modified());

  dlg.edP54.Text = "207";  // the whole excess may be refunded
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_54"), "207");
  EXPECT_EQ(Position("P_62"), "(brak)");
}

TEST_F(BadInputTest, AmountsNoJpkAmountCanBeAreErrorsNamingRowAndElement) {
  const std::pair<const char*, const char*> cases[] = {
      {"NaN", "Wiersz sprzedaży 2, K_19: 'NaN' nie jest poprawną liczbą"},
      {"INF", "Wiersz sprzedaży 2, K_19: 'INF' nie jest poprawną liczbą"},
      {"1e400", "Wiersz sprzedaży 2, K_19: '1e400' nie jest poprawną liczbą"},
      {"12 500,00", "Wiersz sprzedaży 2, K_19: '12 500,00' nie jest poprawną liczbą"},
      {"99999999999999999999999.99",
       "Wiersz sprzedaży 2, K_19: '99999999999999999999999.99' nie mieści się w kwocie (najwyżej 18 cyfr, w tym 2 "
       "po przecinku)"},
      {"999999999999999999.9",
       "Wiersz sprzedaży 2, K_19: '999999999999999999.9' nie mieści się w kwocie (najwyżej 18 cyfr, w tym 2 po "
       "przecinku)"},
  };
  for (auto [amount, message] : cases) {
    V7mFile file = TwoSalesWithExcess();
    file.sales[1].fields.back() = {"K_20", "23"};
    file.sales[1].fields[file.sales[1].fields.size() - 2] = {"K_19", amount};
    Adopt(file);
    EXPECT_EQ(ErrorOf([&] { dlg.btnRecalcDeclarationClick(); }), message) << amount;
    EXPECT_EQ(Position("P_37"), "1100");
    EXPECT_FALSE(Modified());
  }
  // The row totals the exchange writers read say the same; a purchase row names its kind.
  V7mFile file = TwoSalesWithExcess();
  file.purchases[0].fields.back() = {"K_43", "-INF"};
  Adopt(file);
  EXPECT_EQ(ErrorOf([&] { PurchaseTaxOfRow(dlg.LoadedJpk.Ewidencja().ZakupWiersz()[0]); }),
            "Wiersz zakupu 1, K_43: '-INF' nie jest poprawną liczbą");
  EXPECT_EQ(ErrorOf([&] { dlg.RecalcJPK(dlg.LoadedJpk); }), "Wiersz zakupu 1, K_43: '-INF' nie jest poprawną liczbą");
}

TEST_F(BadInputTest, SumsThatWouldOverflowStopNamingThePosition) {
  // 470 rows of the largest amount a schema-valid row may hold: P_10 would be 4.7e18.
  V7mFile file;
  for (int i = 1; i <= 470; ++i) file.sales.push_back(Sale(i, {{"K_10", "9999999999999999.99"}}));
  Adopt(file);
  EXPECT_EQ(ErrorOf([&] { dlg.btnRecalcDeclarationClick(); }),
            "Pozycja P_10 (najwyżej 14 cyfr): wartość 4.7e+18 jest poza zakresem");
  EXPECT_FALSE(dlg.LoadedJpk.FindChild("Deklaracja"));

  // The control sum of the register cannot be written either.
  V7mFile taxes;
  for (int i = 1; i <= 470; ++i) taxes.sales.push_back(Sale(i, {{"K_19", "1"}, {"K_20", "9999999999999999.99"}}));
  Adopt(taxes);
  EXPECT_EQ(ErrorOf([&] { dlg.RecalcJPK(dlg.LoadedJpk); }),
            "PodatekNalezny: suma 4.7E18 jest poza zakresem kwoty (najwyżej 18 cyfr, w tym 2 po przecinku)");

  // Positions within 14 digits each whose sum is not.
  V7mFile two;
  two.sales = {Sale(1, {{"K_10", "60000000000000"}}), Sale(2, {{"K_11", "60000000000000"}})};
  Adopt(two);
  EXPECT_EQ(ErrorOf([&] { dlg.btnRecalcDeclarationClick(); }),
            "Pozycja P_37: wartość 120000000000000 jest poza zakresem (najwyżej 14 cyfr)");
}

TEST_F(BadInputTest, PositionsAndHeaderNumbersOfAFileAreCheckedNamingElementAndLine) {
  V7mFile file = TwoSalesWithExcess();
  file.positions = {{"P_39", "1"}, {"P_48", "-9223372036854775808"}};
  dlg.LoadedJpk = file.Load();
  EXPECT_EQ(ErrorOf([&] { dlg.RefreshInfo(); }),
            "Element P_48 (linia 2 pliku): '-9223372036854775808' jest poza zakresem (najwyżej 14 cyfr)");

  file = TwoSalesWithExcess();
  file.positions = {{"P_38", "NaN"}};
  dlg.LoadedJpk = file.Load();
  EXPECT_EQ(ErrorOf([&] { dlg.RefreshInfo(); }), "Element P_38 (linia 2 pliku): 'NaN' nie jest poprawną liczbą całkowitą");

  file = TwoSalesWithExcess();
  file.miesiac = "NaN";
  dlg.LoadedJpk = file.Load();
  EXPECT_EQ(ErrorOf([&] { dlg.RefreshInfo(); }),
            "Element Miesiac (linia 2 pliku): 'NaN' nie jest poprawną liczbą całkowitą");
}

TEST_F(BadInputTest, AFailedOpenLeavesTheOpenDocument) {
  std::string good = dir.Write("a.xml", TwoSalesWithExcess().Xml());
  std::string notXml = dir.Write("notatki.xml", "To nie jest plik XML\n");
  V7mFile bad = TwoSalesWithExcess();
  bad.sales[0].fields[bad.sales[0].fields.size() - 2] = {"K_19", "12 500,00"};
  std::string badAmount = dir.Write("kwota.xml", bad.Xml());
  ASSERT_TRUE(Open(good));
  dlg.edP39.Text = "5";  // typed, not yet recalculated
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  ASSERT_TRUE(Modified());
  v7m::IXMLJPK before = dlg.LoadedJpk;

  for (const std::string& file : {notXml, badAmount}) {
    ui.QueueAnswer(Answer::No);  // do not save the changes
    EXPECT_NE(ErrorOf([&] { Open(file, mrNo); }), "(no error)") << file;  // "Nowy plik"
    EXPECT_TRUE(dlg.LoadedJpk == before) << file;
    EXPECT_TRUE(Modified());
    EXPECT_EQ(CurrentJpkFileName(), good);
    EXPECT_EQ(saveDlg.fileName, good);
    EXPECT_EQ(dlg.edP39.Text, "5");
    EXPECT_EQ(dlg.Caption, "*" + good + " - Torvik JPK");
  }
  EXPECT_EQ(ErrorOf([&] {
              ui.QueueAnswer(Answer::No);
              Open(badAmount, mrNo);
            }),
            "Wiersz sprzedaży 1, K_19: '12 500,00' nie jest poprawną liczbą");
}

TEST_F(BadInputTest, AFailedMergeLeavesTheOpenDocumentWithoutTheAddedRows) {
  std::string good = dir.Write("a.xml", TwoSalesWithExcess().Xml());
  V7mFile added;
  added.sales = {Sale(1, {{"K_19", "10"}, {"K_20", "2.3"}})};
  added.purchases = {Purchase(1, {{"K_42", "10"}, {"K_46", "5"}}, "KOR/1")};
  std::string positiveK46 = dir.Write("b.xml", added.Xml());
  added.purchases = {Purchase(1, {{"K_42", "10"}, {"K_43", "NaN"}})};
  std::string nan = dir.Write("c.xml", added.Xml());
  ASSERT_TRUE(Open(good));
  for (const std::string& file : {positiveK46, nan}) {
    std::string error = ErrorOf([&] { Open(file, mrYes); });
    EXPECT_NE(error, "(no error)");
    EXPECT_EQ(SaleRows(), 2) << file;
    EXPECT_EQ(dlg.LoadedJpk.Ewidencja().ZakupWiersz().Count(), 1) << file;
    EXPECT_EQ(dlg.edSaleLinesCount.Text, "2");
    EXPECT_EQ(dlg.edSaleTaxSum.Text, "253");
    EXPECT_FALSE(Modified()) << file;
    EXPECT_EQ(CurrentJpkFileName(), good);
    EXPECT_EQ(saveDlg.fileName, good);
  }
  EXPECT_EQ(SchemaProblems(dir.File("after.xml")), "");
}

TEST_F(BadInputTest, ASecondSaveWritesTheLayoutOfTheFirst) {
  Adopt(TwoSalesWithExcess());
  std::string fileName = dir.File("zapis.xml");
  ui.QueueFileName(fileName);
  ASSERT_TRUE(dlg.btnSaveJPKClick());
  std::string first = ReadFile(fileName);
  EXPECT_NE(first.find("\n\t<Naglowek>"), std::string::npos);
  dlg.edP39.Text = "1";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  ui.QueueFileName(fileName);
  ASSERT_TRUE(dlg.btnSaveJPKClick());
  std::string second = ReadFile(fileName);
  EXPECT_NE(second.find("\n\t<Naglowek>"), std::string::npos);
  EXPECT_EQ(second.find("\n  <"), std::string::npos);
  EXPECT_EQ(dlg.LoadedJpk.OwnerDocument()->NodeIndentStr(), "\t");
}
