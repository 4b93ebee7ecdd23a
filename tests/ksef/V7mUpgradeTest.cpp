// JPK_V7M(2) to JPK_V7M(3): the header, namespaces and declaration values, the markers by
// the rules with and without a number list, the refund that replaces P_57, the refusals,
// and the schema check of every result.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "base/DateTime.h"
#include "ksef/KsefList.h"
#include "ksef/V7mUpgrade.h"
#include "tests/ksef/KsefFixture.h"
#include "tests/support/ErrorOf.h"

using namespace velkar;
using namespace velkar::test;

namespace {

class V7mUpgradeTest : public ::testing::Test {
 protected:
  V7mUpgradeTest() {
    Settings() = ProgramSettings{};
    Settings().NIP = "5250001090";
    Clock::Freeze(DateTime{2026, 3, 20, 10, 15, 30});
  }
  ~V7mUpgradeTest() override {
    Clock::Unfreeze();
    Settings() = ProgramSettings{};
  }

  // One row of each rule: an invoice, RO and WEW sales; an invoice, VAT_RR, WEW and IMP purchases.
  static RegisterXml EveryRule() {
    RegisterXml file;
    file.sales = {SaleRow(1, "FV/1/2026", "5260250274"),
                  SaleRow(2, "RO/2/2026", "BRAK", "<TypDokumentu>RO</TypDokumentu>"),
                  SaleRow(3, "WEW/3/2026", "BRAK", "<TypDokumentu>WEW</TypDokumentu>"),
                  SaleRow(4, "FP/4/2026", "5260250274", "<TypDokumentu>FP</TypDokumentu>")};
    file.purchases = {PurchaseRow(1, "FZ/1", "7740001454"),
                      PurchaseRow(2, "RR/2", "7740001454", "<DokumentZakupu>VAT_RR</DokumentZakupu>"),
                      PurchaseRow(3, "WEW/3", "7740001454", "<DokumentZakupu>WEW</DokumentZakupu>"),
                      PurchaseRow(4, "SAD/4", "7740001454", "<IMP>1</IMP>")};
    return file;
  }

  static std::string Text(const xml::TXMLNode& node, const char* a, const char* b = nullptr) {
    xml::TXMLNode n = node.FindChild(a);
    if (n && b) n = n.FindChild(b);
    return n ? n.Text() : "(brak)";
  }

  ScriptedUi ui;
  TempDir dir;
};

std::vector<std::string> Described(const std::vector<KsefRowInfo>& rows) {
  std::vector<std::string> out;
  for (const KsefRowInfo& row : rows) out.push_back(DescribeKsefRow(row));
  return out;
}

}  // namespace

TEST_F(V7mUpgradeTest, HeaderNamespacesAndMarkersFollowTheRulesAndTheResultValidates) {
  RegisterXml file = EveryRule();
  file.person = true;
  v7m::IXMLJPK doc = file.Load();
  V7mUpgradeResult result = UpgradeJpkV7(doc, nullptr, "");

  EXPECT_EQ(doc.NamespaceURI(), v7m::kTargetNamespace3);
  EXPECT_EQ(v7m::StructureOfJpkV7(doc), v7m::V7Structure::V3);
  xml::TXMLNode naglowek = doc.FindChild("Naglowek");
  EXPECT_EQ(naglowek.FindChild("KodFormularza").GetAttribute("kodSystemowy"), "JPK_V7M (3)");
  EXPECT_EQ(Text(naglowek, "WariantFormularza"), "3");
  EXPECT_EQ(Text(naglowek, "DataWytworzeniaJPK").back(), 'Z');
  EXPECT_EQ(Text(naglowek, "Rok"), "2026");
  // The person's etd children are in the V7M(3) etd namespace.
  xml::TXMLNode person = doc.FindChild("Podmiot1").FindChild("OsobaFizyczna");
  EXPECT_EQ(person.ChildNodes().First().NamespaceURI(), v7m::kEtdNamespace3);

  EXPECT_EQ(KsefColumn(doc, "SprzedazWiersz"), (std::vector<std::string>{"BFK", "DI", "DI", "BFK"}));
  EXPECT_EQ(KsefColumn(doc, "ZakupWiersz"), (std::vector<std::string>{"BFK", "BFK", "DI", "DI"}));
  EXPECT_EQ(result.numbered, 0);
  EXPECT_EQ(result.refund, "");
  EXPECT_EQ(Described(result.defaultMarked),
            (std::vector<std::string>{"sprzedaż, wiersz 1: FV/1/2026 (BFK)", "sprzedaż, wiersz 4: FP/4/2026 (BFK)",
                                      "zakup, wiersz 1: FZ/1 (BFK)", "zakup, wiersz 2: RR/2 (BFK)"}));
  EXPECT_EQ(SchemaProblems(doc, dir.File("v3.xml")), "");
}

TEST_F(V7mUpgradeTest, NumbersFromTheListComeFirstAndTheDefaultComesFromTheSettings) {
  Settings().ZnacznikKSeF = "OFF";
  const std::string sale = KsefNumber("5250001090", "00000000000A");
  const std::string purchase = KsefNumber("7740001454", "00000000000B");
  KsefNumberList list = KsefNumberList::Parse(
      "NumerFaktury;NIP;NumerKSeF\nFV/1/2026;5260250274;" + sale + "\nSAD/4;7740001454;" + purchase + "\n",
      "lista.csv");
  v7m::IXMLJPK doc = EveryRule().Load();
  V7mUpgradeResult result = UpgradeJpkV7(doc, &list, "");
  EXPECT_EQ(KsefColumn(doc, "SprzedazWiersz"), (std::vector<std::string>{sale, "DI", "DI", "OFF"}));
  EXPECT_EQ(KsefColumn(doc, "ZakupWiersz"), (std::vector<std::string>{"OFF", "OFF", "DI", purchase}));
  EXPECT_EQ(result.numbered, 2);
  EXPECT_EQ(Described(result.defaultMarked),
            (std::vector<std::string>{"sprzedaż, wiersz 4: FP/4/2026 (OFF)", "zakup, wiersz 1: FZ/1 (OFF)",
                                      "zakup, wiersz 2: RR/2 (OFF)"}));
  EXPECT_EQ(SchemaProblems(doc, dir.File("v3.xml")), "");

  // With DI as the default no invoice row is left with BFK or OFF.
  Settings().ZnacznikKSeF = "DI";
  v7m::IXMLJPK other = EveryRule().Load();
  EXPECT_TRUE(UpgradeJpkV7(other, nullptr, "").defaultMarked.empty());
  EXPECT_EQ(KsefColumn(other, "SprzedazWiersz"), (std::vector<std::string>{"DI", "DI", "DI", "DI"}));
}

TEST_F(V7mUpgradeTest, P57NeedsARefundChoiceWhichTakesItsValueAndPlace) {
  RegisterXml file = EveryRule();
  file.positions = "<P_38>0</P_38><P_51>0</P_51><P_53>100</P_53><P_54>100</P_54><P_57>1</P_57><P_62>0</P_62>";
  v7m::IXMLJPK refused = file.Load();
  EXPECT_EQ(ErrorOf([&] { UpgradeJpkV7(refused, nullptr, ""); }),
            "Plik ma zwrot w terminie 60 dni (P_57), którego nie ma JPK_V7M (3): wybierz inny termin zwrotu "
            "(--zwrot 540|55|56|560|58; podstawowy to 560, 40 dni)");
  EXPECT_EQ(refused.NamespaceURI(), v7m::kTargetNamespace);  // nothing changed
  EXPECT_EQ(KsefColumn(refused, "SprzedazWiersz")[0], "(brak)");
  EXPECT_EQ(ErrorOf([&] { UpgradeJpkV7(refused, nullptr, "57"); }),
            "Niepoprawny termin zwrotu: 57 (dozwolone: 540, 55, 56, 560, 58)");

  for (const char* choice : {"560", "540", "58"}) {
    v7m::IXMLJPK doc = file.Load();
    V7mUpgradeResult result = UpgradeJpkV7(doc, nullptr, choice);
    xml::TXMLNode deklaracja = doc.FindChild("Deklaracja");
    std::string element = std::string("P_") + choice;
    EXPECT_EQ(result.refund, element);
    EXPECT_EQ(Text(deklaracja, "PozycjeSzczegolowe", element.c_str()), "1");
    EXPECT_EQ(Text(deklaracja, "PozycjeSzczegolowe", "P_57"), "(brak)");
    EXPECT_EQ(deklaracja.FindChild("Naglowek").FindChild("KodFormularzaDekl").GetAttribute("kodSystemowy"),
              "VAT-7 (23)");
    EXPECT_EQ(Text(deklaracja, "Naglowek", "WariantFormularzaDekl"), "23");
    EXPECT_EQ(SchemaProblems(doc, dir.File("v3.xml")), "") << choice;
  }
  // Without P_57 a refund choice is not used.
  file.positions = "<P_38>0</P_38><P_51>0</P_51><P_53>100</P_53><P_54>100</P_54><P_55>1</P_55><P_62>0</P_62>";
  v7m::IXMLJPK doc = file.Load();
  EXPECT_EQ(UpgradeJpkV7(doc, nullptr, "560").refund, "");
  EXPECT_EQ(Text(doc.FindChild("Deklaracja"), "PozycjeSzczegolowe", "P_55"), "1");
  EXPECT_EQ(SchemaProblems(doc, dir.File("v3.xml")), "");
}

TEST_F(V7mUpgradeTest, RefusesEarlierPeriodsV3AndOtherFiles) {
  RegisterXml january = EveryRule();
  january.miesiac = "1";
  v7m::IXMLJPK doc = january.Load();
  EXPECT_EQ(ErrorOf([&] { UpgradeJpkV7(doc, nullptr, ""); }), "Okres 2026-01 rozlicza się w strukturze JPK_V7M (2)");
  EXPECT_EQ(doc.NamespaceURI(), v7m::kTargetNamespace);
  RegisterXml old = EveryRule();
  old.rok = "2025";
  old.miesiac = "12";
  EXPECT_EQ(ErrorOf([&] { UpgradeJpkV7(old.Load(), nullptr, ""); }),
            "Okres 2025-12 rozlicza się w strukturze JPK_V7M (2)");
  RegisterXml v3 = EveryRule();
  v3.v3 = true;
  EXPECT_EQ(ErrorOf([&] { UpgradeJpkV7(v3.Load(), nullptr, ""); }), "Plik jest już w strukturze JPK_V7M (3)");
  EXPECT_EQ(ErrorOf([&] {
              UpgradeJpkV7(v7m::LoadJpkV7FromXML("<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2022/02/17/02171/\"/>"),
                           nullptr, "");
            }),
            "Plik nie jest w strukturze JPK_V7M (2)");
}

TEST_F(V7mUpgradeTest, TheEarlierPublicationAndASchemaLocationAreRenamedToo) {
  std::string xml = EveryRule().Xml();
  xml = ReplaceAll(xml, v7m::kTargetNamespace, v7m::kTargetNamespace07081);
  xml = ReplaceAll(xml, "<JPK ",
                   std::string("<JPK xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                               "xsi:schemaLocation=\"") +
                       v7m::kTargetNamespace07081 + " schemat.xsd\" ");
  v7m::IXMLJPK doc = v7m::LoadJpkV7FromXML(xml);
  UpgradeJpkV7(doc, nullptr, "");
  EXPECT_EQ(doc.NamespaceURI(), v7m::kTargetNamespace3);
  EXPECT_EQ(doc.GetAttribute("xsi:schemaLocation"), std::string(v7m::kTargetNamespace3) + " schemat.xsd");
  EXPECT_EQ(SchemaProblems(doc, dir.File("v3.xml")), "");
}
