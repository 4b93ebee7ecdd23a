// The identification part of generated register rows: element order, left-out dates and
// prefixes, and the GTU and procedure masks.
#include <gtest/gtest.h>

#include "generate/RowBuilders.h"
#include "model/v7m/JpkV7.h"

using namespace velkar;

namespace {

std::vector<std::string> Names(const xml::TXMLNode& row) {
  std::vector<std::string> names;
  for (xml::TXMLNode child : row.ChildNodes()) names.push_back(child.LocalName() + "=" + child.Text());
  return names;
}

TEST(RowBuilders, SaleRowLeavesOutWhatItDoesNotNeed) {
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  auto row = doc.Ewidencja().SprzedazWiersz().Add();
  SetSaleLineV7(row, 3, "", "5260250274", "Alfa", "FV 1", "2024-03-05", "2024-03-05", "", 5, 4);
  EXPECT_EQ(Names(row), (std::vector<std::string>{"LpSprzedazy=3", "NrKontrahenta=5260250274", "NazwaKontrahenta=Alfa",
                                                  "DowodSprzedazy=FV 1", "DataWystawienia=2024-03-05", "GTU_01=1",
                                                  "GTU_03=1", "TP=1"}));
}

TEST(RowBuilders, SaleRowWritesPrefixOtherSaleDateTypeAndEveryMaskBit) {
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  auto row = doc.Ewidencja().SprzedazWiersz().Add();
  // Bits 0..12 of the GTU mask; bits 0..11 of the procedure mask, bit 12 (MPP) has no element.
  SetSaleLineV7(row, 1, "DE", "811234567", "Müller", "FV 2", "2024-03-05", "2024-02-29", "FP", 0x3FFF, 0x1FFF);
  std::vector<std::string> names = Names(row);
  ASSERT_EQ(names.size(), 8u + 13u + 12u);
  EXPECT_EQ(names[1], "KodKrajuNadaniaTIN=DE");
  EXPECT_EQ(names[6], "DataSprzedazy=2024-02-29");
  EXPECT_EQ(names[7], "TypDokumentu=FP");
  EXPECT_EQ(names[8], "GTU_01=1");
  EXPECT_EQ(names[20], "GTU_13=1");
  EXPECT_EQ(names[21], "WSTO_EE=1");
  EXPECT_EQ(names[22], "IED=1");
  EXPECT_EQ(names[32], "B_MPV_PROWIZJA=1");
}

TEST(RowBuilders, MasksOfZeroNegativeOrOnlyHighBitsSetNothing) {
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  auto row = doc.Ewidencja().SprzedazWiersz().Add();
  SetSaleLineV7(row, 1, "", "brak", "Klient", "PAR 1", "2024-03-05", "2024-03-05", "", -1, 4096);
  ApplyGtuMask(row, 8192);
  ApplyProcedureMask(row, -4);
  EXPECT_EQ(Names(row).size(), 5u);
}

TEST(RowBuilders, PurchaseRowLeavesOutAnEqualReceiptDate) {
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  auto same = doc.Ewidencja().ZakupWiersz().Add();
  SetBuyLineV7(same, 1, "", "7740001454", "Beta", "FZ 1", "2024-03-02", "2024-03-02", "", false);
  EXPECT_EQ(Names(same), (std::vector<std::string>{"LpZakupu=1", "NrDostawcy=7740001454", "NazwaDostawcy=Beta",
                                                   "DowodZakupu=FZ 1", "DataZakupu=2024-03-02"}));
  auto other = doc.Ewidencja().ZakupWiersz().Add();
  SetBuyLineV7(other, 2, "CZ", "12345678", "Gamma", "SAD 1", "2024-03-02", "2024-03-04", "MK", true);
  EXPECT_EQ(Names(other), (std::vector<std::string>{"LpZakupu=2", "KodKrajuNadaniaTIN=CZ", "NrDostawcy=12345678",
                                                    "NazwaDostawcy=Gamma", "DowodZakupu=SAD 1",
                                                    "DataZakupu=2024-03-02", "DataWplywu=2024-03-04",
                                                    "DokumentZakupu=MK", "IMP=1"}));
  // A receipt date the register left empty is no date either.
  auto empty = doc.Ewidencja().ZakupWiersz().Add();
  SetBuyLineV7(empty, 3, "", "7740001454", "Beta", "FZ 3", "2024-03-02", "", "", false);
  EXPECT_EQ(Names(empty).size(), 5u);
}

}  // namespace
