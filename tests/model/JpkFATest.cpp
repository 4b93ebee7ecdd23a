// The JPK_FA(4) binding: a document built through the typed properties in schema order,
// validated, loaded and read back; flags; the etd address by prefixed name.
#include <gtest/gtest.h>

#include "model/fa/JpkFA.h"
#include "tests/model/SchemaCheck.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using namespace velkar::fa;

namespace {

IXMLJPKFA BuildInvoiceFile() {
  IXMLJPKFA jpk = NewJpkFA();
  jpk.OwnerDocument()->DocumentElement().DeclareNamespace("etd", kEtdNamespace);
  IXMLJPK_Naglowek h = jpk.Naglowek();
  h.KodFormularza().SetText("JPK_FA");
  h.KodFormularza().Set_kodSystemowy("JPK_FA (4)");
  h.KodFormularza().Set_wersjaSchemy("1-0");
  h.Set_WariantFormularza(4);
  h.Set_CelZlozenia(1);
  h.Set_DataWytworzeniaJPK("2024-04-02T09:05:07");
  h.Set_DataOd("2024-03-01");
  h.Set_DataDo("2024-03-31");
  h.Set_KodUrzedu("1471");
  IXMLJPK_Podmiot1 p = jpk.Podmiot1();
  p.IdentyfikatorPodmiotu().Set_NIP("5261040828");
  p.IdentyfikatorPodmiotu().Set_PelnaNazwa("Firma Sp. z o.o.");
  p.AdresPodmiotu().Set_KodKraju("PL");
  p.AdresPodmiotu().Set_Wojewodztwo("mazowieckie");
  p.AdresPodmiotu().Set_Powiat("Warszawa");
  p.AdresPodmiotu().Set_Gmina("Warszawa");
  p.AdresPodmiotu().Set_Ulica("Prosta");
  p.AdresPodmiotu().Set_NrDomu("1");
  p.AdresPodmiotu().Set_Miejscowosc("Warszawa");
  p.AdresPodmiotu().Set_KodPocztowy("00-001");
  IXMLJPK_Faktura f = jpk.Faktura().Add();
  f.Set_KodWaluty("PLN");
  f.Set_P_1("2024-03-05");
  f.Set_P_2A("FV 1/2024");
  f.Set_P_3A("Nabywca");
  f.Set_P_3B("Adres nabywcy");
  f.Set_P_3C("Firma Sp. z o.o.");
  f.Set_P_3D("Adres sprzedawcy");
  f.Set_P_4B("5261040828");
  f.Set_P_13_1(1000);
  f.Set_P_14_1(230);
  f.Set_P_15(1230);
  f.Set_P_16(false);
  f.Set_P_17(false);
  f.Set_P_18(false);
  f.Set_P_18A(false);
  f.Set_P_19(false);
  f.Set_P_20(false);
  f.Set_P_21(false);
  f.Set_P_22(false);
  f.Set_P_23(false);
  f.Set_P_106E_2(false);
  f.Set_P_106E_3(false);
  f.Set_RodzajFaktury("VAT");
  jpk.FakturaCtrl().Set_LiczbaFaktur(1);
  jpk.FakturaCtrl().Set_WartoscFaktur(1230);
  IXMLJPK_FakturaWiersz w = jpk.FakturaWiersz().Add();
  w.Set_P_2B("FV 1/2024");
  w.Set_P_7("Towar");
  w.Set_P_8A("szt");
  w.Set_P_8B(2);
  w.Set_P_9A(500);
  w.Set_P_11(1000);
  w.Set_P_12("23");
  jpk.FakturaWierszCtrl().Set_LiczbaWierszyFaktur(1);
  jpk.FakturaWierszCtrl().Set_WartoscWierszyFaktur(1000);
  return jpk;
}

}  // namespace

TEST(JpkFA, AnInvoiceFileBuiltInSchemaOrderIsValidAndReadsBack) {
  test::TempDir dir;
  std::string file = dir.File("2024-03_JPK_FA.xml");
  BuildInvoiceFile().OwnerDocument()->SaveToFile(file);

  IXMLJPKFA back = LoadJpkFA(file);
  EXPECT_EQ(back.Naglowek().KodFormularza().kodSystemowy(), "JPK_FA (4)");
  EXPECT_EQ(back.Naglowek().CelZlozenia(), 1);
  EXPECT_EQ(back.Podmiot1().IdentyfikatorPodmiotu().NIP(), "5261040828");
  EXPECT_EQ(back.Podmiot1().AdresPodmiotu().KodPocztowy(), "00-001");
  EXPECT_EQ(back.Faktura().Count(), 1);
  IXMLJPK_Faktura f = back.Faktura()[0];
  EXPECT_EQ(f.P_2A(), "FV 1/2024");
  EXPECT_EQ(f.P_14_1(), 230.0);
  EXPECT_FALSE(f.P_16());
  EXPECT_EQ(back.FakturaWiersz()[0].P_9A(), 500.0);
  EXPECT_EQ(back.FakturaWierszCtrl().LiczbaWierszyFaktur(), 1);
  if (!test::CanValidate()) GTEST_SKIP() << "XSD bundle or xmllint not found";
  EXPECT_EQ(test::SchemaErrors("fa4/Schemat_JPK_FA(4)_v1-0.xsd", file), "");
}

TEST(JpkFA, FlagsWriteWordsAndReadOneAsTrue) {
  IXMLJPKFA jpk = LoadJpkFAFromXML("<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2022/02/17/02171/\"><Faktura>"
                                   "<P_16>1</P_16><P_17>false</P_17></Faktura></JPK>");
  IXMLJPK_Faktura f = jpk.Faktura().First();
  EXPECT_TRUE(f.P_16());
  EXPECT_FALSE(f.P_17());
  f.Set_P_16(true);
  f.Set_P_18(false);
  EXPECT_EQ(f.ChildText("P_16"), "true");
  EXPECT_EQ(f.ChildText("P_18"), "false");
}

TEST(JpkFA, AddressChildrenAreEtdElementsFoundByPrefixedName) {
  IXMLJPKFA jpk = NewJpkFA();
  jpk.Podmiot1().AdresPodmiotu().Set_KodKraju("PL");
  jpk.Podmiot1().AdresPodmiotu2().Set_KodKraju("DE");
  std::string xml = jpk.OwnerDocument()->SaveToXML();
  EXPECT_NE(xml.find("<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2022/02/17/02171/\" "
                     "xmlns:etd=\"http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2018/08/24/eD/DefinicjeTypy/\">"),
            std::string::npos);
  EXPECT_NE(xml.find("<AdresPodmiotu><etd:KodKraju>PL</etd:KodKraju></AdresPodmiotu>"), std::string::npos);
  // The foreign address is of the common-definitions type too: its children are etd elements.
  EXPECT_NE(xml.find("<AdresPodmiotu2><etd:KodKraju>DE</etd:KodKraju></AdresPodmiotu2>"), std::string::npos);
  EXPECT_TRUE(jpk.Podmiot1().AdresPodmiotu().FindChild("etd:KodKraju"));
  EXPECT_EQ(jpk.Podmiot1().AdresPodmiotu().KodKraju(), "PL");
  EXPECT_EQ(jpk.Podmiot1().AdresPodmiotu().ChildNodes().Count(), 1);
}

TEST(JpkFA, InvoicesWithoutLinesAreAllowedAndOrdersNestTheirLines) {
  IXMLJPKFA jpk = NewJpkFA();
  jpk.Faktura().Add().Set_P_2A("A");
  jpk.Faktura().Add().Set_P_2A("B");
  jpk.FakturaCtrl().Set_LiczbaFaktur(2);
  IXMLJPK_Zamowienie z = jpk.Zamowienie().Add();
  z.Set_P_2AZ("ZAL 1");
  z.Set_WartoscZamowienia(100);
  z.ZamowienieWiersz().Add().Set_P_7Z("usługa");
  z.ZamowienieWiersz().Add().Set_P_11NettoZ(81.3);
  EXPECT_EQ(jpk.Faktura().Count(), 2);
  EXPECT_EQ(jpk.FakturaWiersz().Count(), 0);
  EXPECT_EQ(jpk.Zamowienie()[0].ZamowienieWiersz().Count(), 2);
  EXPECT_EQ(jpk.Zamowienie()[0].ZamowienieWiersz()[1].P_11NettoZ(), 81.3);
  EXPECT_EQ(z.ChildNodes().Count(), 4);  // the order's lines are its own children
}
