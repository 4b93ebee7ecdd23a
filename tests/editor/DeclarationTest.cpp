// The declaration recalculation: positions from the register and the edits, rounding,
// clipping, refund checks, schema order and validity; and removing the declaration.
#include <gtest/gtest.h>

#include "base/Paths.h"
#include "tests/editor/V7mFixture.h"

using namespace velkar;
using namespace velkar::test;

using DeclarationTest = EditorTest;

TEST_F(DeclarationTest, RegisterOfFpRowsOnlyGivesZeroTax) {
  V7mFile file;
  file.sales = {TypedSale(1, "FP", {{"K_19", "100"}, {"K_20", "23"}})};
  Adopt(file);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(PositionNames(), (std::vector<std::string>{"P_37", "P_38", "P_48", "P_51", "P_53"}));
  EXPECT_EQ(Position("P_37"), "0");
  EXPECT_EQ(Position("P_38"), "0");
  EXPECT_EQ(Position("P_48"), "0");  // no purchase rows: P_48 = P_39
  EXPECT_EQ(Position("P_51"), "0");
  EXPECT_EQ(Position("P_53"), "0");
  EXPECT_EQ(Position("P_ORDZU"), "(brak)");  // an empty edORDZU writes no P_ORDZU
  xml::TXMLNode deklaracja = dlg.LoadedJpk.FindChild("Deklaracja");
  xml::TXMLNode kod = deklaracja.FindChild("Naglowek").FindChild("KodFormularzaDekl");
  EXPECT_EQ(kod.Text(), "VAT-7");
  EXPECT_EQ(kod.GetAttribute("kodSystemowy"), "VAT-7 (22)");
  EXPECT_EQ(kod.GetAttribute("rodzajZobowiazania"), "Z");
  EXPECT_EQ(deklaracja.FindChild("Pouczenia").Text(), "1");
  EXPECT_EQ(dlg.LoadedJpk.ChildNodes().IndexOf(deklaracja), 2);
  EXPECT_EQ(dlg.gbDeklaracja.Text, "Deklaracja");
  EXPECT_TRUE(dlg.btnClearDeclaration.Enabled);
  EXPECT_EQ(SchemaProblems(dir.File("d.xml")), "");
}

TEST_F(DeclarationTest, HalvesRoundAwayFromZeroOnBothSidesOfTheRegister) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "10.25"}, {"K_20", "10.25"}}), Sale(2, {{"K_19", "0.25"}, {"K_20", "0.25"}}),
                Sale(3, {{"K_15", "-10.5"}, {"K_16", "-0.5"}}), Sale(4, {{"K_17", "11.5"}, {"K_18", "-11.5"}})};
  file.purchases = {Purchase(1, {{"K_40", "10"}, {"K_41", "10.5"}, {"K_42", "11"}, {"K_43", "11.5"}}),
                    Purchase(2, {{"K_40", "-10.5"}, {"K_41", "-2.5"}})};
  Adopt(file);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_19"), "11");  // 10.5
  EXPECT_EQ(Position("P_20"), "11");
  EXPECT_EQ(Position("P_15"), "-11");  // -10.5
  EXPECT_EQ(Position("P_16"), "-1");   // -0.5
  EXPECT_EQ(Position("P_17"), "12");   // 11.5
  EXPECT_EQ(Position("P_18"), "-12");  // -11.5
  EXPECT_EQ(Position("P_40"), "-1");   // -0.5
  EXPECT_EQ(Position("P_41"), "8");    // 8.0
  EXPECT_EQ(Position("P_42"), "11");
  EXPECT_EQ(Position("P_43"), "12");  // 11.5
  EXPECT_EQ(Position("P_37"), "12");
  EXPECT_EQ(Position("P_38"), "-2");

  V7mFile purchases;
  purchases.purchases = {Purchase(1, {{"K_42", "5.25"}, {"K_43", "5.25"}}),
                         Purchase(2, {{"K_42", "5.25"}, {"K_43", "5.25"}})};
  Adopt(purchases);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_42"), "11");  // 10.5 rounds up, as every declaration amount
  EXPECT_EQ(Position("P_43"), "11");
  EXPECT_EQ(Position("P_48"), "11");
}

TEST_F(DeclarationTest, TaxToPayAndExcess) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "4347.83"}, {"K_20", "1000"}})};
  file.purchases = {Purchase(1, {{"K_42", "5217.39"}, {"K_43", "1200"}})};
  Adopt(file);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_38"), "1000");
  EXPECT_EQ(Position("P_48"), "1200");
  EXPECT_EQ(Position("P_51"), "0");
  EXPECT_EQ(Position("P_53"), "200");
  EXPECT_EQ(Position("P_62"), "200");
  EXPECT_TRUE(dlg.gbNadwyzkaPodatku.Enabled);

  dlg.edP54.Text = "150";
  dlg.edP54Change();
  dlg.rbZwrotClick(dlg.rbZwrot57);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_54"), "150");
  EXPECT_EQ(Position("P_57"), "1");
  EXPECT_EQ(Position("P_55"), "(brak)");
  EXPECT_EQ(Position("P_62"), "50");
  EXPECT_EQ(PositionNames(), (std::vector<std::string>{"P_19", "P_20", "P_37", "P_38", "P_42", "P_43", "P_48", "P_51",
                                                       "P_53", "P_54", "P_57", "P_62"}));
  EXPECT_EQ(SchemaProblems(dir.File("d.xml")), "");
  // The edits keep what the file says, so a second recalculation gives the same.
  EXPECT_TRUE(dlg.rbZwrot57.Checked);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_62"), "50");

  // Offset of the refund against future liabilities, with its amount and kind.
  dlg.cbP59.Checked = true;
  dlg.cbP59Click();
  dlg.edP60.Text = "100";
  dlg.edP61.Text = "CIT-8";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_59"), "1");
  EXPECT_EQ(Position("P_60"), "100");
  EXPECT_EQ(Position("P_61"), "CIT-8");
  EXPECT_EQ(SchemaProblems(dir.File("d.xml")), "");
}

TEST_F(DeclarationTest, CashRegisterDeductionIsClippedToTheTaxLeftAndShownInMoneyGreen) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "4347.83"}, {"K_20", "1000"}})};
  file.purchases = {Purchase(1, {{"K_42", "1739.13"}, {"K_43", "400"}})};
  Adopt(file);
  dlg.edP49.Text = "800";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_49"), "600");
  EXPECT_EQ(Position("P_51"), "0");
  EXPECT_EQ(dlg.edP49.Text, "600");
  EXPECT_EQ(dlg.edP49.BackColor, Color::MoneyGreen);

  // What is left after P_49 limits P_50; a deduction that fits keeps the window colour.
  dlg.edP49.Text = "100";
  dlg.edP50.Text = "700";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(dlg.edP49.BackColor, Color::Window);
  EXPECT_EQ(Position("P_50"), "500");
  EXPECT_EQ(dlg.edP50.BackColor, Color::MoneyGreen);
  EXPECT_EQ(Position("P_51"), "0");

  dlg.edP49.Text = "";
  dlg.edP50.Text = "";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_51"), "600");
  EXPECT_EQ(Position("P_53"), "0");
}

TEST_F(DeclarationTest, BoundariesBetweenTaxToPayAndExcess) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "4352.17"}, {"K_20", "1001"}})};
  file.purchases = {Purchase(1, {{"K_42", "4347.83"}, {"K_43", "1000"}})};
  Adopt(file);
  dlg.edP52.Text = "30";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());  // P_38 = P_48 + 1
  EXPECT_EQ(Position("P_51"), "1");
  EXPECT_EQ(Position("P_53"), "0");
  EXPECT_EQ(Position("P_52"), "30");
  EXPECT_EQ(PositionNames()[7], "P_51");  // P_51 stands before P_52 whatever the order of computing
  EXPECT_EQ(PositionNames()[8], "P_52");

  dlg.edP39.Text = "1";  // now P_38 = P_48
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_48"), "1001");
  EXPECT_EQ(Position("P_51"), "0");
  EXPECT_EQ(Position("P_53"), "30");
}

TEST_F(DeclarationTest, CorrectionRowsGiveP68AndP69) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "1000"}, {"K_20", "230"}}),
                CorrectionSale(2, {{"K_19", "-100.40"}, {"K_20", "-23.09"}}),
                CorrectionSale(3, {{"K_15", "-50"}, {"K_16", "0"}})};
  Adopt(file);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_68"), "-150");
  EXPECT_EQ(Position("P_69"), "-23");
  EXPECT_EQ(Position("P_19"), "900");
  EXPECT_EQ(SchemaProblems(dir.File("d.xml")), "");

  V7mFile zero;
  zero.sales = {CorrectionSale(1, {{"K_19", "0"}, {"K_20", "0"}})};
  Adopt(zero);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_68"), "(brak)");
  EXPECT_EQ(Position("P_69"), "(brak)");

  // A base correction without a tax correction still writes the pair P_68, P_69.
  V7mFile baseOnly;
  baseOnly.sales = {CorrectionSale(1, {{"K_15", "-50"}, {"K_16", "0"}})};
  Adopt(baseOnly);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_68"), "-50");
  EXPECT_EQ(Position("P_69"), "0");
  EXPECT_EQ(SchemaProblems(dir.File("d.xml")), "");
}

TEST_F(DeclarationTest, PositiveAmountInACorrectionRowIsRefusedAndNothingChanges) {
  V7mFile file;
  file.sales = {CorrectionSale(4, {{"K_19", "-10"}, {"K_20", "2.3"}}),
                CorrectionSale(5, {{"K_17", "1"}, {"K_18", "-1"}})};
  file.positions = {{"P_38", "7"}, {"P_51", "7"}};
  Adopt(file);
  try {
    dlg.btnRecalcDeclarationClick();
    FAIL();
  } catch (const Error& error) {
    // Positions are checked in order: K_17 of row 5 comes before K_20 of row 4.
    EXPECT_EQ(std::string(error.what()), "KorektaPodstawyOpodt: Powinna być wartość ujemna.\rPozycja: 5");
  }
  EXPECT_EQ(Position("P_38"), "7");
  EXPECT_FALSE(Modified());
}

TEST_F(DeclarationTest, RefundAmountAndTermMustComeTogether) {
  V7mFile file;
  file.positions = {{"P_38", "7"}, {"P_51", "7"}};
  Adopt(file);
  dlg.rbZwrot55.Checked = true;
  EXPECT_FALSE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(ui.LastMessage(), "Nie wpisano kwoty do zwrotu (P_54)\ra wybrano w jakiej formie go dokonać.");
  EXPECT_EQ(ui.Messages().back().kind, MessageKind::Warning);
  EXPECT_EQ(ui.Pauses(), 1);
  EXPECT_EQ(dlg.edP54.BackColor, Color::Window);

  dlg.rbZwrot55.Checked = false;
  dlg.edP54.Text = "10";
  EXPECT_FALSE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(ui.LastMessage(), "Wpisano kwotę do zwrotu (P_54) ale nie wybrano\rw jakiej formie go dokonać.");
  EXPECT_EQ(ui.Pauses(), 2);
  EXPECT_FALSE(Modified());
  EXPECT_EQ(Position("P_38"), "7");
}

TEST_F(DeclarationTest, OffsetNeedsARefundItsAmountAndItsKind) {
  V7mFile file;
  file.purchases = {Purchase(1, {{"K_42", "100"}, {"K_43", "23"}})};
  Adopt(file);
  dlg.cbP59.Checked = true;
  EXPECT_FALSE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(ui.LastMessage(), "Zaznaczono zaliczenie zwrotu (P_59) ale nie wpisano\rkwoty do zwrotu (P_54).");
  dlg.edP54.Text = "23";
  dlg.rbZwrot58.Checked = true;
  EXPECT_FALSE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(ui.LastMessage(),
            "Zaznaczono zaliczenie zwrotu (P_59) ale nie wpisano\rkwoty na poczet przyszłych zobowiązań (P_60).");
  dlg.edP60.Text = "0";
  dlg.edP61.Text = "  ";
  EXPECT_FALSE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(ui.LastMessage(), "Zaznaczono zaliczenie zwrotu (P_59) ale nie wpisano\rrodzaju zobowiązania (P_61).");
  dlg.edP61.Text = "VAT";
  EXPECT_FALSE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(ui.LastMessage(), "Kwota na poczet przyszłych zobowiązań (P_60)\rmusi być większa od zera.");
  EXPECT_FALSE(dlg.LoadedJpk.FindChild("Deklaracja"));

  // A kind of liability left in the disabled edit from an earlier file is not written
  // without the offset.
  dlg.cbP59.Checked = false;
  dlg.edP60.Text = "10";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_58"), "1");
  EXPECT_EQ(Position("P_61"), "(brak)");
  EXPECT_EQ(Position("P_60"), "(brak)");
  EXPECT_EQ(SchemaProblems(dir.File("d.xml")), "");
}

TEST_F(DeclarationTest, ReasonsForACorrectionAndTypedPositionsAreKept) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  Adopt(file);
  dlg.edORDZU.Text = "Korekta stawki";
  dlg.edP39.Text = "5";
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  EXPECT_EQ(Position("P_ORDZU"), "Korekta stawki");
  EXPECT_EQ(PositionNames().back(), "P_ORDZU");
  EXPECT_EQ(dlg.edORDZU.Text, "Korekta stawki");
  EXPECT_EQ(Position("P_39"), "5");
  EXPECT_EQ(Position("P_51"), "18");
  dlg.edP39.Text = "5,5";
  EXPECT_THROW(dlg.btnRecalcDeclarationClick(), xml::EConvertError);
  EXPECT_EQ(Position("P_39"), "5");
}

TEST_F(DeclarationTest, ClearingTheDeclarationSavesTheRegisterAtOnce) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  file.saleTax = "23";
  file.positions = {{"P_19", "100"}, {"P_20", "23"}, {"P_37", "100"}, {"P_38", "23"}, {"P_51", "23"}};
  std::string fileName = dir.Write("2024-03.xml", file.Xml());
  CurrentJpkFileName() = fileName;
  Adopt(file);
  dlg.btnClearDeclarationClick();
  EXPECT_EQ(ui.LastMessage(), "Zapisano JPK bez części deklaracyjnej do pliku:\r" + fileName);
  EXPECT_FALSE(dlg.LoadedJpk.FindChild("Deklaracja"));
  EXPECT_FALSE(Modified());
  EXPECT_FALSE(dlg.btnClearDeclaration.Enabled);
  std::string saved = ReadFile(fileName);
  EXPECT_EQ(saved.find("Deklaracja"), std::string::npos);
  EXPECT_NE(saved.find("<Podmiot1 rola=\"Podatnik\">"), std::string::npos);
  EXPECT_NE(saved.find("\t\t<SprzedazWiersz>\n"), std::string::npos);
  EXPECT_TRUE(ValidateJpkFile(fileName).Valid());
}

TEST_F(DeclarationTest, ClearingANewDocumentAsksWhereToSave) {
  V7mFile file;
  file.positions = {{"P_38", "0"}, {"P_51", "0"}};
  Adopt(file);
  ui.QueueFileName("");  // the save dialog is cancelled
  dlg.btnClearDeclarationClick();
  EXPECT_FALSE(dlg.LoadedJpk.FindChild("Deklaracja"));
  EXPECT_EQ(ui.FileDialogs().size(), 1u);
  EXPECT_FALSE(FileExists(kNewJpkFileName));
  EXPECT_TRUE(ui.Messages().empty());
}
