// JPK_V7M(3) in the file services: the structure by period, its header, the schema check
// under its own catalog, the prefix repair keeping the structure, and reading it back.
#include <gtest/gtest.h>

#include <regex>

#include "app/ui/ScriptedUi.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/JpkStructures.h"
#include "ksef/Ksef.h"
#include "tests/jpkfiles/JpkFixtures.h"

using namespace velkar;

namespace {

// A person's JPK_V7M register of March 2026 (clock: 10 April 2026, 11:30 summer time) with a
// sale of a KSeF invoice and a purchase on paper, written through the program's path.
v7m::IXMLJPK NewMarch2026(bool withMarkers = true) {
  v7m::IXMLJPK doc = NewJpkV7ForPeriod(Settings().CurDate);
  InitJpkV7Doc(doc);
  SetJpkV7Header(doc, false);
  auto sale = doc.Ewidencja().SprzedazWiersz().Add();
  sale.Set_LpSprzedazy(1);
  sale.Set_NrKontrahenta("9510023453");
  sale.Set_NazwaKontrahenta("Hurtownia Północ Sp. z o.o.");
  sale.Set_DowodSprzedazy("FS/2026/03/0007");
  sale.Set_DataWystawienia("2026-03-05");
  if (withMarkers) SetRowKsef(sale, KsefMarker::NrKSeF, "5265877635-20250826-0100001AF629-AF");
  sale.Set_K_19(2500);
  sale.Set_K_20(575);
  doc.Ewidencja().SprzedazCtrl().Set_LiczbaWierszySprzedazy(1);
  doc.Ewidencja().SprzedazCtrl().Set_PodatekNalezny(575);
  auto purchase = doc.Ewidencja().ZakupWiersz().Add();
  purchase.Set_LpZakupu(1);
  purchase.Set_NrDostawcy("6760002226");
  purchase.Set_NazwaDostawcy("Jan Nowak Usługi Remontowe");
  purchase.Set_DowodZakupu("3/03/2026");
  purchase.Set_DataZakupu("2026-03-09");
  if (withMarkers) SetRowKsef(purchase, KsefMarker::BFK);
  purchase.Set_K_42(800);
  purchase.Set_K_43(184);
  doc.Ewidencja().ZakupCtrl().Set_LiczbaWierszyZakupow(1);
  doc.Ewidencja().ZakupCtrl().Set_PodatekNaliczony(184);
  return doc;
}

class March2026 : public ::testing::Test {
 protected:
  March2026() : taxpayer_(Person()) { Clock::Freeze({2026, 4, 10, 11, 30, 0}); }
  static ProgramSettings Person() {
    ProgramSettings s = test::PersonSettings();
    s.CurDate = {2026, 3, 31};
    return s;
  }
  test::TaxpayerScope taxpayer_;
  test::SchemaDirForProgram schemas_;
  test::TempDir dir_;
  ScriptedUi ui_;
};

}  // namespace

TEST(V7Structure, FebruaryTwoThousandTwentySixIsTheFirstPeriodOfTheThirdStructure) {
  EXPECT_EQ(V7StructureForPeriod({2026, 1, 31}), v7m::V7Structure::V2);
  EXPECT_EQ(V7StructureForPeriod({2026, 2, 1}), v7m::V7Structure::V3);
  EXPECT_EQ(V7StructureForPeriod({2025, 12, 1}), v7m::V7Structure::V2);
  EXPECT_EQ(V7StructureForPeriod({2027, 1, 1}), v7m::V7Structure::V3);
  EXPECT_EQ(v7m::StructureOfJpkV7(NewJpkV7ForPeriod({2026, 1, 1})), v7m::V7Structure::V2);
  EXPECT_EQ(v7m::StructureOfJpkV7(NewJpkV7ForPeriod({2026, 2, 1})), v7m::V7Structure::V3);
  EXPECT_EQ(std::string(StructureOf(v7m::V7Structure::V3).systemCode), "JPK_V7M (3)");
  EXPECT_EQ(FindJpkStructure(v7m::kTargetNamespace3), &StructureOf(v7m::V7Structure::V3));
  EXPECT_EQ(FindJpkStructure(v7m::kTargetNamespace07081), nullptr);
}

TEST_F(March2026, TheHeaderHasTheNewCodesAndAStampInUtc) {
  v7m::IXMLJPK doc = NewMarch2026();
  auto header = doc.Naglowek();
  EXPECT_EQ(header.KodFormularza().kodSystemowy(), "JPK_V7M (3)");
  EXPECT_EQ(header.WariantFormularza(), 3);
  EXPECT_EQ(header.DataWytworzeniaJPK(), "2026-04-10T09:30:00Z");  // Warsaw is two hours ahead in April
  EXPECT_EQ(header.Rok(), "2026");
  EXPECT_EQ(doc.FindNamespaceURI("etd"), v7m::kEtdNamespace3);
  EXPECT_EQ(doc.Podmiot1().OsobaFizyczna().FindChild("etd:NIP").NamespaceURI(), v7m::kEtdNamespace3);
}

TEST_F(March2026, AFileWithMarkersIsValidAndOneWithoutIsNot) {
  v7m::IXMLJPK doc = NewMarch2026();
  std::string file = dir_.File("2026-03.xml");
  SaveJpkFile(doc, file);
  EXPECT_TRUE(ui_.Messages().empty()) << ui_.Messages()[0].text;  // no schema warning
  JpkValidation valid = ValidateJpkFile(file, test::SchemaDir());
  EXPECT_EQ(valid.structure, "JPK_V7M (3)");
  EXPECT_TRUE(valid.Valid()) << DescribeViolation(valid.violations[0]);

  v7m::IXMLJPK bare = NewMarch2026(false);
  std::string bareFile = dir_.File("bez.xml");
  SaveJpkFile(bare, bareFile);
  JpkValidation invalid = ValidateJpkFile(bareFile, test::SchemaDir());
  ASSERT_FALSE(invalid.Valid());
  EXPECT_EQ(invalid.violations[0].element, "K_19");
  ASSERT_EQ(ui_.Messages().size(), 1u);
  EXPECT_NE(ui_.Messages()[0].text.find("nie jest zgodny ze schematem JPK_V7M (3)"), std::string::npos);
}

TEST_F(March2026, AFileReadBackKeepsItsStructureAndItsEtdNamespace) {
  std::string file = dir_.File("2026-03.xml");
  {
    v7m::IXMLJPK doc = NewMarch2026();
    SaveJpkFile(doc, file);
  }
  v7m::IXMLJPK loaded = v7m::LoadJpkV7(file);
  EXPECT_EQ(v7m::StructureOfJpkV7(loaded), v7m::V7Structure::V3);
  EXPECT_EQ(loaded.Podmiot1().OsobaFizyczna().NIP(), "5250001090");
  std::string number;
  EXPECT_EQ(RowKsef(loaded.Ewidencja().SprzedazWiersz()[0], &number), KsefMarker::NrKSeF);
  EXPECT_EQ(number, "5265877635-20250826-0100001AF629-AF");
  EXPECT_EQ(RowKsef(loaded.Ewidencja().ZakupWiersz()[0]), KsefMarker::BFK);
}

TEST_F(March2026, ThePrefixRepairKeepsTheThirdStructure) {
  std::string own = dir_.File("own.xml");
  {
    v7m::IXMLJPK doc = NewMarch2026();
    SaveJpkFile(doc, own);
  }
  std::string text = test::ReadFile(own);
  std::string prefixed = std::regex_replace(text, std::regex("<(/?)(?!etd:|\\?|!)([A-Za-z_])"), "<$1tns:$2");
  prefixed = std::regex_replace(prefixed, std::regex(" xmlns=\""), " xmlns:tns=\"");
  std::string file = dir_.Write("obcy.xml", prefixed);

  ui_.QueueAnswer(Answer::Yes);
  v7m::IXMLJPK doc = v7m::LoadJpkV7(file);
  EXPECT_TRUE(CheckJpkV7Prefixes(doc, file));
  EXPECT_EQ(v7m::StructureOfJpkV7(doc), v7m::V7Structure::V3);
  EXPECT_EQ(test::ReadFile(file), text);
  EXPECT_TRUE(ValidateJpkFile(file, test::SchemaDir()).Valid());
}
