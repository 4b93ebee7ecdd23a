// The JPK_V7M(2) binding: a document built through the typed properties, saved, loaded and
// read back; element order by first access; the optional declaration; the amount edge
// cases on sales rows; and a schema check of the written file.
#include <gtest/gtest.h>

#include <cmath>

#include "model/v7m/JpkV7.h"
#include "tests/model/SchemaCheck.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using namespace velkar::v7m;
using xml::EConvertError;
using xml::EIntfCastError;

namespace {

// Header and taxpayer as the file services write them (natural person).
void FillHeader(const IXMLJPK& jpk) {
  jpk.OwnerDocument()->DocumentElement().DeclareNamespace("etd", kEtdNamespace);
  IXMLJPK_Naglowek h = jpk.Naglowek();
  h.KodFormularza().SetText("JPK_VAT");
  h.KodFormularza().Set_kodSystemowy("JPK_V7M (2)");
  h.KodFormularza().Set_wersjaSchemy("1-0E");
  h.Set_WariantFormularza(2);
  h.Set_DataWytworzeniaJPK("2024-04-02T09:05:07");
  h.Set_NazwaSystemu("Velkar");
  h.CelZlozenia().Set_poz("P_7");
  h.CelZlozenia().SetText("1");
  h.Set_KodUrzedu("1471");
  h.Set_Rok("2024");
  h.Set_Miesiac(3);
  IXMLJPK_Podmiot1 p = jpk.Podmiot1();
  p.Set_rola("Podatnik");
  p.OsobaFizyczna().Set_NIP("5261040828");
  p.OsobaFizyczna().Set_ImiePierwsze("Jan");
  p.OsobaFizyczna().Set_Nazwisko("Kowalski");
  p.OsobaFizyczna().Set_DataUrodzenia("1970-01-31");
  p.OsobaFizyczna().Set_Email("jan@example.pl");
}

void FillRegister(const IXMLJPK& jpk) {
  IXMLJPK_Ewidencja e = jpk.Ewidencja();
  IXMLJPK_Ewidencja_SprzedazWiersz s = e.SprzedazWiersz().Add();
  s.Set_LpSprzedazy(1);
  s.Set_KodKrajuNadaniaTIN("PL");
  s.Set_NrKontrahenta("5261040828");
  s.Set_NazwaKontrahenta("Firma & Syn \"Łoś\"");
  s.Set_DowodSprzedazy("FV 1/03/2024");
  s.Set_DataWystawienia("2024-03-05");
  s.Set_GTU_06(1);
  s.Set_TP(1);
  s.Set_K_19(1000);
  s.Set_K_20(230);
  e.SprzedazCtrl().Set_LiczbaWierszySprzedazy(1);
  e.SprzedazCtrl().Set_PodatekNalezny(230);
  IXMLJPK_Ewidencja_ZakupWiersz z = e.ZakupWiersz().Add();
  z.Set_LpZakupu(1);
  z.Set_NrDostawcy("7740001454");
  z.Set_NazwaDostawcy("Dostawca");
  z.Set_DowodZakupu("FZ 7");
  z.Set_DataZakupu("2024-03-01");
  z.Set_K_42(100.5);
  z.Set_K_43(23.12);
  e.ZakupCtrl().Set_LiczbaWierszyZakupow(1);
  e.ZakupCtrl().Set_PodatekNaliczony(23.12);
}

}  // namespace

TEST(JpkV7, NewDocumentHasTheRootInTheDefaultNamespace) {
  IXMLJPK jpk = NewJpkV7();
  EXPECT_EQ(jpk.OwnerDocument()->SaveToXML(),
            "<?xml version=\"1.0\"?>\n<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\"/>\n");
  EXPECT_EQ(jpk.OwnerDocument()->Version(), "1.0");
  EXPECT_FALSE(jpk.OwnerDocument()->Modified());
}

TEST(JpkV7, ADocumentBuiltThroughTheModelIsSavedLoadedAndReadBack) {
  test::TempDir dir;
  IXMLJPK jpk = NewJpkV7();
  FillHeader(jpk);
  FillRegister(jpk);
  std::string file = dir.File("2024-03_JPK_V7M.xml");
  jpk.OwnerDocument()->SaveToFile(file);

  IXMLJPK back = LoadJpkV7(file);
  EXPECT_EQ(back.Naglowek().KodFormularza().Text(), "JPK_VAT");
  EXPECT_EQ(back.Naglowek().KodFormularza().kodSystemowy(), "JPK_V7M (2)");
  EXPECT_EQ(back.Naglowek().KodFormularza().wersjaSchemy(), "1-0E");
  EXPECT_EQ(back.Naglowek().WariantFormularza(), 2);
  EXPECT_EQ(back.Naglowek().CelZlozenia().poz(), "P_7");
  EXPECT_EQ(back.Naglowek().Rok(), "2024");
  EXPECT_EQ(back.Naglowek().Miesiac(), 3);
  EXPECT_EQ(back.Podmiot1().rola(), "Podatnik");
  EXPECT_EQ(back.Podmiot1().OsobaFizyczna().NIP(), "5261040828");
  EXPECT_EQ(back.Podmiot1().OsobaFizyczna().DataUrodzenia(), "1970-01-31");
  EXPECT_EQ(back.Podmiot1().OsobaFizyczna().Email(), "jan@example.pl");
  IXMLJPK_Ewidencja_SprzedazWiersz s = back.Ewidencja().SprzedazWiersz()[0];
  EXPECT_EQ(s.NazwaKontrahenta(), "Firma & Syn \"Łoś\"");
  EXPECT_EQ(s.GTU_06(), 1);
  EXPECT_EQ(s.K_19(), 1000.0);
  EXPECT_EQ(s.ChildFloat("K_20"), 230.0);
  EXPECT_EQ(back.Ewidencja().SprzedazCtrl().LiczbaWierszySprzedazy(), 1);
  EXPECT_EQ(back.Ewidencja().ZakupWiersz().Count(), 1);
  EXPECT_EQ(back.Ewidencja().ZakupWiersz()[0].K_43(), 23.12);
  EXPECT_EQ(back.Ewidencja().ZakupCtrl().PodatekNaliczony(), 23.12);
  EXPECT_EQ(back.OwnerDocument()->FileName(), file);
  if (!test::CanValidate()) GTEST_SKIP() << "XSD bundle or xmllint not found";
  EXPECT_EQ(test::SchemaErrors("v7m2/Schemat_JPK_V7M(2)_v1-0E.xsd", file), "");
}

TEST(JpkV7, ElementsAreWrittenInTheOrderOfFirstAccess) {
  IXMLJPK jpk = NewJpkV7();
  jpk.Podmiot1().Set_rola("Podatnik");
  jpk.Naglowek().Set_Rok("2024");
  std::string xml = jpk.OwnerDocument()->SaveToXML();
  EXPECT_LT(xml.find("<Podmiot1"), xml.find("<Naglowek"));

  IXMLJPK_Ewidencja_SprzedazWiersz row = jpk.Ewidencja().SprzedazWiersz().Add();
  row.Set_K_20(23);
  row.Set_K_19(100);
  EXPECT_EQ(row.ChildNodes()[0].LocalName(), "K_20");
  EXPECT_EQ(row.ChildNodes()[1].LocalName(), "K_19");
}

TEST(JpkV7, AbsentDeclarationIsFoundAbsentButATypedReadLeavesAnEmptyElement) {
  IXMLJPK jpk = LoadJpkV7FromXML(
      "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\"><Naglowek/><Podmiot1/><Ewidencja/></JPK>");
  EXPECT_FALSE(jpk.FindChild("Deklaracja"));
  EXPECT_EQ(jpk.ChildNodes().Count(), 3);
  IXMLJPK_Deklaracja d = jpk.Deklaracja();
  EXPECT_TRUE(jpk.FindChild("Deklaracja"));
  EXPECT_EQ(jpk.ChildNodes().Count(), 4);
  EXPECT_FALSE(d.HasChildNodes());
  EXPECT_NE(jpk.OwnerDocument()->SaveToXML().find("<Ewidencja/><Deklaracja/></JPK>"), std::string::npos);
}

TEST(JpkV7, SalesAmountsAreWrittenWithFifteenSignificantDigits) {
  IXMLJPK jpk = NewJpkV7();
  IXMLJPK_Ewidencja_SprzedazWiersz row = jpk.Ewidencja().SprzedazWiersz().Add();
  struct Case {
    double value;
    const char* text;
  } cases[] = {{1234.5, "1234.5"}, {100, "100"}, {0.1 + 0.2, "0.3"}, {10.005, "10.005"}, {-12.34, "-12.34"}};
  for (const Case& c : cases) {
    row.Set_K_10(c.value);
    EXPECT_EQ(row.ChildText("K_10"), c.text);
  }
  EXPECT_EQ(row.ChildNodes().Count(), 1);  // the one element was rewritten each time
}

TEST(JpkV7, SalesAmountsReadBlankAsZeroInfinityAsInfinityAndRefuseCommas) {
  IXMLJPK jpk = LoadJpkV7FromXML(
      "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\"><Ewidencja><SprzedazWiersz>"
      "<K_10>  </K_10><K_11>INF</K_11><K_12>12,50</K_12></SprzedazWiersz></Ewidencja></JPK>");
  IXMLJPK_Ewidencja_SprzedazWiersz row = jpk.Ewidencja().SprzedazWiersz().First();
  EXPECT_EQ(row.K_10(), 0.0);
  EXPECT_TRUE(std::isinf(row.K_11()));
  EXPECT_THROW(row.K_12(), EConvertError);
}

TEST(JpkV7, CountsAre64BitAndTheMonthIsANumberWhileTheYearIsText) {
  IXMLJPK jpk = NewJpkV7();
  jpk.Ewidencja().SprzedazCtrl().Set_LiczbaWierszySprzedazy(5000000000LL);
  EXPECT_EQ(jpk.Ewidencja().SprzedazCtrl().LiczbaWierszySprzedazy(), 5000000000LL);
  jpk.Naglowek().Set_Rok("2024");
  jpk.Naglowek().Set_Miesiac(3);
  EXPECT_EQ(jpk.Naglowek().ChildText("Rok"), "2024");
  EXPECT_EQ(jpk.Naglowek().ChildText("Miesiac"), "3");
}

TEST(JpkV7, DeclarationPositionsAreReachedTypedAndByName) {
  IXMLJPK jpk = NewJpkV7();
  IXMLJPK_Deklaracja_PozycjeSzczegolowe p = jpk.Deklaracja().PozycjeSzczegolowe();
  p.Set_P_38(120);
  p.Set_P_540(1);
  p.Set_P_660(1);
  p.Set_P_ORDZU("uzasadnienie");
  p.SetChildInt("P_51", 95);
  EXPECT_EQ(p.ChildInt("P_38"), 120);
  EXPECT_EQ(p.P_51(), 95);
  EXPECT_EQ(p.P_540(), 1);
  EXPECT_EQ(p.P_ORDZU(), "uzasadnienie");
  jpk.Deklaracja().Naglowek().KodFormularzaDekl().Set_kodPodatku("VAT");
  jpk.Deklaracja().Naglowek().Set_WariantFormularzaDekl(22);
  EXPECT_EQ(jpk.Deklaracja().Naglowek().KodFormularzaDekl().kodPodatku(), "VAT");
  p.ChildNodes().Clear();
  EXPECT_EQ(p.ChildNodes().Count(), 0);
}

TEST(JpkV7, TheTaxpayerNipIsReadFromThePersonOrTheCompany) {
  IXMLJPK person = LoadJpkV7FromXML(
      "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\" xmlns:etd=\"http://crd.gov.pl/xml/schematy/dziedzinowe/"
      "mf/2021/06/08/eD/DefinicjeTypy/\"><Podmiot1 rola=\"Podatnik\"><OsobaFizyczna><etd:NIP>1111111111</etd:NIP>"
      "<etd:ImiePierwsze>A</etd:ImiePierwsze></OsobaFizyczna></Podmiot1></JPK>");
  EXPECT_EQ(person.Podmiot1().OsobaFizyczna().NIP(), "1111111111");
  EXPECT_EQ(person.Podmiot1().OsobaFizyczna().ImiePierwsze(), "A");
  IXMLJPK company = LoadJpkV7FromXML(
      "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\"><Podmiot1><OsobaNiefizyczna><NIP>2222222222</NIP>"
      "<PelnaNazwa>Sp. z o.o.</PelnaNazwa></OsobaNiefizyczna></Podmiot1></JPK>");
  EXPECT_FALSE(company.Podmiot1().FindChild("OsobaFizyczna"));
  EXPECT_EQ(company.Podmiot1().OsobaNiefizyczna().NIP(), "2222222222");
  EXPECT_EQ(company.Podmiot1().OsobaNiefizyczna().PelnaNazwa(), "Sp. z o.o.");
}

TEST(JpkV7, RowsCastFromGenericNodesAndOtherElementsRefuse) {
  IXMLJPK jpk = NewJpkV7();
  jpk.Ewidencja().SprzedazWiersz().Add().Set_LpSprzedazy(7);
  jpk.Ewidencja().SprzedazCtrl();
  xml::TXMLNode first = jpk.Ewidencja().ChildNodes()[0];
  EXPECT_EQ(xml::Cast<IXMLJPK_Ewidencja_SprzedazWiersz>(first).LpSprzedazy(), 7);
  EXPECT_THROW(xml::Cast<IXMLJPK_Ewidencja_ZakupWiersz>(first), EIntfCastError);
  EXPECT_THROW(xml::Cast<IXMLJPK_Ewidencja_SprzedazWiersz>(jpk.Ewidencja().ChildNodes()[1]), EIntfCastError);
}

TEST(JpkV7, LoadTakesTheRootAsItIsAndPrefixedDocumentsKeepTheirPrefix) {
  IXMLJPK jpk = LoadJpkV7FromXML("<tns:JPK xmlns:tns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\"><tns:Naglowek>"
                                 "<tns:Rok>2023</tns:Rok></tns:Naglowek></tns:JPK>");
  EXPECT_EQ(jpk.Naglowek().Rok(), "2023");
  jpk.Naglowek().Set_Miesiac(12);
  EXPECT_NE(jpk.OwnerDocument()->SaveToXML().find("<tns:Miesiac>12</tns:Miesiac>"), std::string::npos);
  IXMLJPK other = LoadJpkV7FromXML("<Inny/>");
  EXPECT_EQ(other.LocalName(), "Inny");
}
