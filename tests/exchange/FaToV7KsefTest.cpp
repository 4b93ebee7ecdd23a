// JPK_FA(4) to JPK_V7M by the working period: from February 2026 a JPK_V7M(3) register
// whose rows carry the default KSeF marker; January 2026 stays JPK_V7M(2).
#include "exchange/FaToV7.h"
#include "jpkfiles/SchemaValidation.h"
#include "tests/exchange/ExchangeFixture.h"
#include "tests/ksef/KsefFixture.h"

namespace velkar::test {
namespace {

constexpr const char* kOther = "7740001454";

class FaToV7KsefTest : public ExchangeTest {
 protected:
  v7m::IXMLJPK Convert(const DateTime& period) {
    Settings().CurDate = period;
    // A JPK_V7M(3) file is made from February 2026 on: so is its creation stamp.
    Clock::Freeze(DateTime{2026, 3, 2, 9, 5, 7});
    FaFile file;
    file.invoices = {MakeInvoice("FV/1/2026", kTaxpayerNip, kOther, {{"P_13_1", "200.00"}, {"P_14_1", "46.00"}}),
                     MakeInvoice("FS/7/2026", kOther, kTaxpayerNip, {{"P_13_1", "100.00"}, {"P_14_1", "23.00"}})};
    std::string input = dir.Write("faktury.xml", file.Xml());
    Choose(kFormatFa, kFormatV7, input, dir.Path());
    EXPECT_TRUE(dlg.btnMakeItClick()) << ui.LastMessage();
    return v7m::LoadJpkV7(dir.File("JPK_FA_to_V7_faktury.xml"));
  }
  std::string Problems() {
    JpkValidation result = ValidateJpkFile(dir.File("JPK_FA_to_V7_faktury.xml"));
    return result.violations.empty() ? "" : DescribeViolation(result.violations[0]);
  }
};

TEST_F(FaToV7KsefTest, FebruaryGivesV7m3WithTheDefaultMarkerOnEveryRow) {
  Settings().ZnacznikKSeF = "OFF";
  v7m::IXMLJPK v7 = Convert(DateTime{2026, 2, 15});
  EXPECT_EQ(v7m::StructureOfJpkV7(v7), v7m::V7Structure::V3);
  EXPECT_EQ(v7.FindChild("Naglowek").FindChild("KodFormularza").GetAttribute("kodSystemowy"), "JPK_V7M (3)");
  EXPECT_EQ(KsefColumn(v7, "SprzedazWiersz"), (std::vector<std::string>{"OFF"}));
  EXPECT_EQ(KsefColumn(v7, "ZakupWiersz"), (std::vector<std::string>{"OFF"}));
  EXPECT_EQ(Problems(), "");
}

TEST_F(FaToV7KsefTest, JanuaryStaysV7m2WithoutMarkers) {
  v7m::IXMLJPK v7 = Convert(DateTime{2026, 1, 31});
  EXPECT_EQ(v7.NamespaceURI(), v7m::kTargetNamespace);
  EXPECT_EQ(KsefColumn(v7, "SprzedazWiersz"), (std::vector<std::string>{"(brak)"}));
  EXPECT_EQ(KsefColumn(v7, "ZakupWiersz"), (std::vector<std::string>{"(brak)"}));
  EXPECT_EQ(Problems(), "");
}

}  // namespace
}  // namespace velkar::test
