// KSeF numbers (form and checksum), the marker rules and the KSeF element's place in a row.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "base/Error.h"
#include "ksef/Ksef.h"

using namespace velkar;

namespace {

constexpr const char* kPublishedNumber = "5265877635-20250826-0100001AF629-AF";

// A number of `issuer` with its right checksum.
std::string NumberOf(const std::string& issuer, const std::string& date, const std::string& technical) {
  std::string first32 = issuer + "-" + date + "-" + technical;
  return first32 + "-" + KsefChecksum(first32);
}

std::string ErrorOf(const std::string& number) {
  try {
    CheckKsefNumber(number, "FV 7/2026");
  } catch (const Error& e) {
    return e.what();
  }
  return "";
}

class MarkerSetting {
 public:
  explicit MarkerSetting(const std::string& value) : old_(Settings()) { Settings().ZnacznikKSeF = value; }
  ~MarkerSetting() { Settings() = old_; }

 private:
  ProgramSettings old_;
};

std::vector<std::string> ChildNames(const xml::TXMLNode& row) {
  std::vector<std::string> names;
  for (xml::TXMLNode node = row.ChildNodes().First(); node; node = node.NextSibling()) names.push_back(node.LocalName());
  return names;
}

}  // namespace

TEST(KsefNumber, ThePublishedExampleHasItsChecksumAndPasses) {
  EXPECT_EQ(KsefChecksum(std::string_view(kPublishedNumber).substr(0, 32)), "AF");
  EXPECT_EQ(CheckKsefNumber(kPublishedNumber, "FV 1"), kPublishedNumber);
  // Blanks around it are no part of the number.
  EXPECT_EQ(CheckKsefNumber(std::string(" \t") + kPublishedNumber + " ", "FV 1"), kPublishedNumber);
}

TEST(KsefNumber, WrongFormsAndChecksumsNameTheDocument) {
  std::string good = NumberOf("7250012344", "20260305", "4C2E91A07B3D");
  EXPECT_EQ(CheckKsefNumber(good, "FV 7/2026"), good);
  std::string wrongSum = good.substr(0, 33) + (good.substr(33) == "00" ? "01" : "00");
  EXPECT_EQ(ErrorOf(wrongSum), "Błędny numer KSeF dokumentu FV 7/2026: " + wrongSum);
  std::string lower = NumberOf("7250012344", "20260305", "4c2e91a07b3d");
  EXPECT_NE(ErrorOf(lower), "") << "lower-case hex is not the schema's form";
  EXPECT_NE(ErrorOf(NumberOf("0250012344", "20260305", "4C2E91A07B3D")), "") << "a NIP never starts with 0";
  EXPECT_NE(ErrorOf(NumberOf("7250012344", "20261305", "4C2E91A07B3D")), "") << "month 13";
  EXPECT_NE(ErrorOf(NumberOf("7250012344", "20190305", "4C2E91A07B3D")), "") << "before 2020";
  EXPECT_NE(ErrorOf(""), "");
  EXPECT_NE(ErrorOf(good + "0"), "");
  EXPECT_NE(ErrorOf("x" + good), "");
}

TEST(KsefNumber, OtherIssuersAndTheOlderFormAreAccepted) {
  EXPECT_NO_THROW(CheckKsefNumber(NumberOf("M123456789", "20260305", "4C2E91A07B3D"), "a"));
  EXPECT_NO_THROW(CheckKsefNumber(NumberOf("ABC1234567", "20260305", "4C2E91A07B3D"), "a"));
  // 36 characters: a hyphen inside the technical part; its checksum rule is not published.
  EXPECT_NO_THROW(CheckKsefNumber("9999999999-20240101-FFFFFF-FFFFFF-FF", "a"));
}

TEST(KsefNumber, TheIssuerIsComparedWithTheNipDigits) {
  EXPECT_FALSE(KsefIssuerDiffers(kPublishedNumber, "526-587-76-35"));
  EXPECT_FALSE(KsefIssuerDiffers(kPublishedNumber, "PL 5265877635"));
  EXPECT_TRUE(KsefIssuerDiffers(kPublishedNumber, "5250001090"));
}

TEST(KsefMarkers, ReceiptsInternalDocumentsAndImportsAreNoInvoices) {
  MarkerSetting setting("OFF");
  EXPECT_EQ(SaleRowMarker("RO"), KsefMarker::DI);
  EXPECT_EQ(SaleRowMarker("WEW"), KsefMarker::DI);
  EXPECT_EQ(SaleRowMarker("FP"), KsefMarker::OFF);
  EXPECT_EQ(SaleRowMarker(""), KsefMarker::OFF);
  EXPECT_EQ(PurchaseRowMarker("WEW", false), KsefMarker::DI);
  EXPECT_EQ(PurchaseRowMarker("", true), KsefMarker::DI);
  EXPECT_EQ(PurchaseRowMarker("VAT_RR", false), KsefMarker::OFF);
  EXPECT_EQ(PurchaseRowMarker("MK", false), KsefMarker::OFF);
}

TEST(KsefMarkers, TheDefaultComesFromTheConfiguration) {
  {
    MarkerSetting setting("");
    EXPECT_EQ(DefaultKsefMarker(), KsefMarker::BFK);
  }
  {
    MarkerSetting setting(" di ");
    EXPECT_EQ(DefaultKsefMarker(), KsefMarker::DI);
  }
  for (const char* bad : {"XYZ", "NrKSeF"}) {
    MarkerSetting setting(bad);
    EXPECT_THROW(DefaultKsefMarker(), Error) << bad;
  }
  EXPECT_EQ(ProgramSettings().ZnacznikKSeF, "BFK");
}

TEST(KsefRow, TheElementGoesAfterTheDatesAndReplacesAnEarlierOne) {
  v7m::IXMLJPK doc = v7m::NewJpkV7(v7m::V7Structure::V3);
  auto sale = doc.Ewidencja().SprzedazWiersz().Add();
  sale.Set_LpSprzedazy(1);
  sale.Set_DowodSprzedazy("FV 1");
  sale.Set_DataWystawienia("2026-03-05");
  sale.Set_TypDokumentu("FP");
  sale.Set_K_19(100);
  SetRowKsef(sale, KsefMarker::BFK);
  EXPECT_EQ(ChildNames(sale),
            (std::vector<std::string>{"LpSprzedazy", "DowodSprzedazy", "DataWystawienia", "BFK", "TypDokumentu", "K_19"}));
  EXPECT_EQ(sale.FindChild("BFK").Text(), "1");

  SetRowKsef(sale, KsefMarker::NrKSeF, kPublishedNumber);
  EXPECT_EQ(ChildNames(sale), (std::vector<std::string>{"LpSprzedazy", "DowodSprzedazy", "DataWystawienia", "NrKSeF",
                                                        "TypDokumentu", "K_19"}));
  std::string number;
  EXPECT_EQ(RowKsef(sale, &number), KsefMarker::NrKSeF);
  EXPECT_EQ(number, kPublishedNumber);

  auto withSaleDate = doc.Ewidencja().SprzedazWiersz().Add();
  withSaleDate.Set_DataWystawienia("2026-03-05");
  withSaleDate.Set_DataSprzedazy("2026-03-04");
  withSaleDate.Set_K_19(100);
  SetRowKsef(withSaleDate, KsefMarker::DI);
  EXPECT_EQ(ChildNames(withSaleDate), (std::vector<std::string>{"DataWystawienia", "DataSprzedazy", "DI", "K_19"}));

  auto purchase = doc.Ewidencja().ZakupWiersz().Add();
  purchase.Set_LpZakupu(1);
  purchase.Set_DataZakupu("2026-03-09");
  purchase.Set_DataWplywu("2026-03-10");
  purchase.Set_K_42(800);
  EXPECT_EQ(RowKsef(purchase), std::nullopt);
  SetRowKsef(purchase, KsefMarker::DI);
  SetRowKsef(purchase, KsefMarker::OFF);
  EXPECT_EQ(ChildNames(purchase), (std::vector<std::string>{"LpZakupu", "DataZakupu", "DataWplywu", "OFF", "K_42"}));
  EXPECT_EQ(RowKsef(purchase), KsefMarker::OFF);
  EXPECT_EQ(purchase.FindChild("OFF").NamespaceURI(), v7m::kTargetNamespace3);
}

TEST(KsefMarkers, NamesReadBack) {
  for (KsefMarker m : {KsefMarker::NrKSeF, KsefMarker::OFF, KsefMarker::BFK, KsefMarker::DI})
    EXPECT_EQ(ParseKsefMarker(KsefMarkerName(m)), m);
  EXPECT_EQ(ParseKsefMarker("bfk"), KsefMarker::BFK);
  EXPECT_EQ(ParseKsefMarker("B F K"), std::nullopt);
}
