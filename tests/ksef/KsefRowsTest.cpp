// A number list applied to a JPK_V7M(3) register, the rows left with a default marker,
// and the one warning about sales numbers issued under another NIP.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "ksef/KsefList.h"
#include "ksef/KsefRows.h"
#include "tests/ksef/KsefFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {

class KsefRowsTest : public ::testing::Test {
 protected:
  KsefRowsTest() { Settings() = ProgramSettings{}; }
  ~KsefRowsTest() override { Settings() = ProgramSettings{}; }
  ScriptedUi ui;
  TempDir dir;
};

}  // namespace

TEST_F(KsefRowsTest, TheListReplacesMarkersAndNumbersOfMatchingRowsOnly) {
  const std::string old = KsefNumber("5250001090", "111111111111");
  const std::string fresh = KsefNumber("5250001090", "222222222222");
  const std::string supplier = KsefNumber("7740001454", "333333333333");
  RegisterXml file;
  file.v3 = true;
  file.sales = {SaleRow(1, "FV/1", "5260250274", "<BFK>1</BFK>"),
                SaleRow(2, "FV/2", "5260250274", "<NrKSeF>" + old + "</NrKSeF>"),
                SaleRow(3, "RO/3", "BRAK", "<DI>1</DI><TypDokumentu>RO</TypDokumentu>"),
                SaleRow(4, "FV/4", "5260250274", "<OFF>1</OFF>")};
  file.purchases = {PurchaseRow(1, "FZ/1", "7740001454", "<BFK>1</BFK>"),
                    PurchaseRow(2, "FZ/2", "7740001454", "<BFK>1</BFK>")};
  KsefNumberList list = KsefNumberList::Parse(
      "NumerFaktury,NIP,NumerKSeF\n"
      "FV/1,PL5260250274," +
          fresh +
          "\n"
          "FV/2,5260250274," +
          fresh +
          "\n"
          "FZ/2,774-000-14-54," +
          supplier +
          "\n"
          "FZ/1,5260250274," +
          supplier + "\n",  // another supplier's FZ/1
      "lista.csv");
  v7m::IXMLJPK doc = file.Load();
  EXPECT_EQ(ApplyKsefNumbers(doc, list), 3);
  EXPECT_EQ(KsefColumn(doc, "SprzedazWiersz"), (std::vector<std::string>{fresh, fresh, "DI", "OFF"}));
  EXPECT_EQ(KsefColumn(doc, "ZakupWiersz"), (std::vector<std::string>{"BFK", supplier}));
  std::vector<std::string> left;
  for (const KsefRowInfo& row : RowsWithDefaultMarker(doc)) left.push_back(DescribeKsefRow(row));
  EXPECT_EQ(left, (std::vector<std::string>{"sprzedaż, wiersz 4: FV/4 (OFF)", "zakup, wiersz 1: FZ/1 (BFK)"}));
  EXPECT_EQ(SchemaProblems(doc, dir.File("v3.xml")), "");
}

TEST_F(KsefRowsTest, SalesNumbersOfAnotherIssuerGiveOneWarningNamingTheDocuments) {
  RegisterXml file;
  file.v3 = true;
  file.sales = {SaleRow(1, "FV/1", "5260250274", "<NrKSeF>" + KsefNumber("5250001090") + "</NrKSeF>"),
                SaleRow(2, "FV/2", "5260250274", "<NrKSeF>" + KsefNumber("7740001454") + "</NrKSeF>"),
                SaleRow(3, "FV/3", "5260250274", "<BFK>1</BFK>"),
                SaleRow(4, "FV/4", "5260250274", "<NrKSeF>" + KsefNumber("5260250274") + "</NrKSeF>")};
  // A purchase number is the supplier's: never a warning.
  file.purchases = {PurchaseRow(1, "FZ/1", "7740001454", "<NrKSeF>" + KsefNumber("7740001454") + "</NrKSeF>")};
  v7m::IXMLJPK doc = file.Load();
  EXPECT_EQ(SalesOfAnotherIssuer(doc), (std::vector<std::string>{"FV/2", "FV/4"}));
  WarnAboutKsefIssuers(doc);
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Warning);
  EXPECT_EQ(
      ui.Messages()[0].text,
      "Numer KSeF wystawiono pod innym NIP-em niż NIP podatnika (5250001090) w dokumentach sprzedaży:\rFV/2\rFV/4");

  // The taxpayer as a natural person (etd:NIP) is read as well; no foreign number, no box.
  RegisterXml own;
  own.v3 = true;
  own.person = true;
  own.sales = {SaleRow(1, "FV/1", "5260250274", "<NrKSeF>" + KsefNumber("5250001090") + "</NrKSeF>")};
  ui.Clear();
  WarnAboutKsefIssuers(own.Load());
  EXPECT_TRUE(ui.Messages().empty());
}
