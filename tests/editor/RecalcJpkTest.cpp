// RecalcJPK: numbering, contractor placeholders, purchase document numbers and the
// control records, changed only where they differ.
#include <gtest/gtest.h>

#include "tests/editor/V7mFixture.h"

using namespace velkar;
using namespace velkar::test;

using RecalcJpkTest = EditorTest;

namespace {
std::string CtrlText(const v7m::IXMLJPK& jpk, const char* ctrl, const char* field) {
  return jpk.FindChild("Ewidencja").FindChild(ctrl).FindChild(field).Text();
}
}  // namespace

TEST_F(RecalcJpkTest, AConsistentFileStaysUnmodified) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100.10"}, {"K_20", "23.02"}}),
                TypedSale(2, "FP", {{"K_19", "50"}, {"K_20", "11.5"}}), Sale(3, {{"K_15", "10"}, {"K_16", "0.5"}})};
  file.saleTax = "23.52";
  file.purchases = {Purchase(1, {{"K_42", "100"}, {"K_43", "23"}})};
  file.purchaseTax = "23.00";
  Adopt(file);
  dlg.RecalcJPK(dlg.LoadedJpk);
  EXPECT_FALSE(Modified());
  EXPECT_EQ(ui.BusyDepth(), 0);
  dlg.RefreshInfo();
  EXPECT_EQ(dlg.Caption, "nowy plik - Torvik JPK");
}

TEST_F(RecalcJpkTest, RenumbersTidiesAndRewritesTheControlRecords) {
  V7mFile file;
  file.sales = {Sale(7, {{"K_19", "100"}, {"K_20", "23"}}, "brak", "Brak danych"),
                Sale(7, {{"K_19", "10"}, {"K_20", "2.3"}}, "5260250274", "Abrakadabra Sp. z o.o."),
                TypedSale(9, "FP", {{"K_19", "10"}, {"K_20", "2.3"}})};
  file.saleCount = "1";
  file.saleTax = "1";
  file.purchases = {Purchase(5, {{"K_42", "10"}, {"K_43", "2.30"}}, "  FZ 1/03 "),
                    Purchase(5, {{"K_42", "10"}, {"K_43", "0.70"}, {"K_46", "-0.5"}})};
  file.purchaseCount = "x";
  dlg.LoadedJpk = file.Load();  // RefreshInfo would refuse the count before it is mended
  dlg.RecalcJPK(dlg.LoadedJpk);
  EXPECT_TRUE(Modified());
  v7m::IXMLJPK_Ewidencja ewidencja = dlg.LoadedJpk.Ewidencja();
  auto sales = ewidencja.SprzedazWiersz();
  EXPECT_EQ(sales[0].LpSprzedazy(), 1);
  EXPECT_EQ(sales[1].LpSprzedazy(), 2);
  EXPECT_EQ(sales[2].LpSprzedazy(), 3);
  EXPECT_EQ(sales[0].NrKontrahenta(), "BRAK");
  EXPECT_EQ(sales[0].NazwaKontrahenta(), "BRAK");
  EXPECT_EQ(sales[1].NazwaKontrahenta(), "Abrakadabra Sp. z o.o.");                   // "brak" inside a word is a name
  EXPECT_EQ(CtrlText(dlg.LoadedJpk, "SprzedazCtrl", "LiczbaWierszySprzedazy"), "3");  // FP rows are counted
  EXPECT_EQ(CtrlText(dlg.LoadedJpk, "SprzedazCtrl", "PodatekNalezny"), "25.3");       // but add no tax
  auto purchases = ewidencja.ZakupWiersz();
  EXPECT_EQ(purchases[0].LpZakupu(), 1);
  EXPECT_EQ(purchases[1].LpZakupu(), 2);
  EXPECT_EQ(purchases[0].DowodZakupu(), "FZ 1/03");
  EXPECT_EQ(CtrlText(dlg.LoadedJpk, "ZakupCtrl", "LiczbaWierszyZakupow"), "2");
  EXPECT_EQ(CtrlText(dlg.LoadedJpk, "ZakupCtrl", "PodatekNaliczony"), "2.5");
  EXPECT_EQ(SchemaProblems(dir.File("r.xml")), "");
}

TEST_F(RecalcJpkTest, MissingControlRecordsAreCreatedInSchemaOrder) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  file.purchases = {Purchase(1, {{"K_42", "100"}, {"K_43", "23"}})};
  file.saleCount = file.purchaseCount = "-";
  Adopt(file);
  dlg.RecalcJPK(dlg.LoadedJpk);
  std::vector<std::string> names;
  for (xml::TXMLNode child : dlg.LoadedJpk.FindChild("Ewidencja").ChildNodes()) names.push_back(child.LocalName());
  EXPECT_EQ(names, (std::vector<std::string>{"SprzedazWiersz", "SprzedazCtrl", "ZakupWiersz", "ZakupCtrl"}));
  EXPECT_EQ(SchemaProblems(dir.File("r.xml")), "");

  // Without purchase rows but with ZakupCtrl, SprzedazCtrl still goes before it.
  V7mFile onlyCtrl;
  onlyCtrl.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  onlyCtrl.saleCount = "-";
  Adopt(onlyCtrl);
  dlg.RecalcJPK(dlg.LoadedJpk);
  names.clear();
  for (xml::TXMLNode child : dlg.LoadedJpk.FindChild("Ewidencja").ChildNodes()) names.push_back(child.LocalName());
  EXPECT_EQ(names, (std::vector<std::string>{"SprzedazWiersz", "SprzedazCtrl", "ZakupCtrl"}));
  EXPECT_EQ(SchemaProblems(dir.File("r.xml")), "");
}

TEST_F(RecalcJpkTest, PositiveK46IsRefused) {
  V7mFile file;
  file.purchases = {Purchase(1, {{"K_42", "10"}, {"K_43", "2.3"}, {"K_46", "0.01"}}, "FZ/46")};
  Adopt(file);
  try {
    dlg.RecalcJPK(dlg.LoadedJpk);
    FAIL();
  } catch (const Error& error) {
    EXPECT_EQ(std::string(error.what()), "Powinna być wartość ujemna.\rDokument: FZ/46 Pole K_46");
  }
  EXPECT_EQ(ui.BusyDepth(), 0);
}

TEST_F(RecalcJpkTest, NothingHappensWithoutARegister) {
  V7mFile file;
  file.ewidencja = false;
  Adopt(file);
  dlg.RecalcJPK(dlg.LoadedJpk);
  dlg.RecalcJPK(v7m::IXMLJPK());
  EXPECT_FALSE(dlg.LoadedJpk.FindChild("Ewidencja"));
  EXPECT_FALSE(Modified());
}
