// The JPK_KR(1) binding: an accounting-book file built in schema order, validated and read
// back; the `typ` attribute first in each entry; etd blocks read at their positions.
#include <gtest/gtest.h>

#include "model/kr/JpkKR.h"
#include "tests/model/SchemaCheck.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using namespace velkar::kr;

TEST(JpkKR, ABookFileBuiltInSchemaOrderIsValidAndReadsBack) {
  IXMLJPKKR jpk = NewJpkKR();
  xml::TXMLNode root = jpk.OwnerDocument()->DocumentElement();
  root.DeclareNamespace("etd", kEtdNamespace);
  root.DeclareNamespace("xsi", kXsiNamespace);
  IXMLTNaglowek h = jpk.Naglowek();
  h.KodFormularza().SetText("JPK_KR");
  h.KodFormularza().Set_kodSystemowy("JPK_KR (1)");
  h.KodFormularza().Set_wersjaSchemy("1-0");
  h.Set_WariantFormularza(1);
  h.Set_CelZlozenia(1);
  h.Set_DataWytworzeniaJPK("2024-04-02T09:05:07");
  h.Set_DataOd("2024-03-01");
  h.Set_DataDo("2024-03-31");
  h.Set_DomyslnyKodWaluty("PLN");
  h.Set_KodUrzedu(1471);
  IXMLJPK_Podmiot1 p = jpk.Podmiot1();
  p.IdentyfikatorPodmiotu().Set_NIP("5261040828");
  p.IdentyfikatorPodmiotu().Set_PelnaNazwa("Biuro");
  p.AdresPodmiotu().Set_KodKraju("PL");
  p.AdresPodmiotu().Set_Wojewodztwo("mazowieckie");
  p.AdresPodmiotu().Set_Powiat("Warszawa");
  p.AdresPodmiotu().Set_Gmina("Warszawa");
  p.AdresPodmiotu().Set_NrDomu("1");
  p.AdresPodmiotu().Set_Miejscowosc("Warszawa");
  p.AdresPodmiotu().Set_KodPocztowy("00-001");
  p.AdresPodmiotu().Set_Poczta("Warszawa");
  IXMLJPK_ZOiS z = jpk.ZOiS().Add();
  z.Set_typ("G");
  z.Set_KodKonta("100");
  z.Set_OpisKonta("Kasa");
  z.Set_TypKonta("bilansowe");
  z.Set_KodZespolu("1");
  z.Set_OpisZespolu("Środki pieniężne");
  z.Set_KodKategorii("10");
  z.Set_OpisKategorii("Kasa");
  z.Set_BilansOtwarciaWinien(100);
  z.Set_BilansOtwarciaMa(0);
  z.Set_ObrotyWinien(50);
  z.Set_ObrotyMa(20);
  z.Set_ObrotyWinienNarast(150);
  z.Set_ObrotyMaNarast(20);
  z.Set_SaldoWinien(130);
  z.Set_SaldoMa(0);
  IXMLJPK_Dziennik d = jpk.Dziennik().Add();
  d.Set_typ("G");
  d.Set_LpZapisuDziennika(1);
  d.Set_NrZapisuDziennika("1/03");
  d.Set_OpisDziennika("Dziennik");
  d.Set_NrDowoduKsiegowego("KP 1");
  d.Set_RodzajDowodu("KP");
  d.Set_DataOperacji("2024-03-04");
  d.Set_DataDowodu("2024-03-04");
  d.Set_DataKsiegowania("2024-03-04");
  d.Set_KodOperatora("ADM");
  d.Set_OpisOperacji("Wpłata");
  d.Set_DziennikKwotaOperacji(50);
  jpk.DziennikCtrl().Set_LiczbaWierszyDziennika(1);
  jpk.DziennikCtrl().Set_SumaKwotOperacji(50);
  IXMLJPK_KontoZapis k = jpk.KontoZapis().Add();
  k.Set_typ("G");
  k.Set_LpZapisu(1);
  k.Set_NrZapisu("1/03");
  k.Set_KodKontaWinien("100");
  k.Set_KwotaWinien(50);
  k.Set_KodKontaMa("140");
  k.Set_KwotaMa(50);
  jpk.KontoZapisCtrl().Set_LiczbaWierszyKontoZapisj(1);
  jpk.KontoZapisCtrl().Set_SumaWinien(50);
  jpk.KontoZapisCtrl().Set_SumaMa(50);

  test::TempDir dir;
  std::string file = dir.File("2024-03_JPK_KR.xml");
  jpk.OwnerDocument()->SaveToFile(file);
  IXMLJPKKR back = LoadJpkKR(file);
  EXPECT_EQ(back.ZOiS()[0].typ(), "G");
  EXPECT_EQ(back.ZOiS()[0].SaldoWinien(), 130.0);
  EXPECT_EQ(back.Dziennik()[0].OpisOperacji(), "Wpłata");
  EXPECT_EQ(back.KontoZapis()[0].KwotaMa(), 50.0);
  EXPECT_EQ(back.KontoZapisCtrl().LiczbaWierszyKontoZapisj(), 1);
  EXPECT_EQ(back.Podmiot1().AdresPodmiotu().Miejscowosc(), "Warszawa");
  if (!test::CanValidate()) GTEST_SKIP() << "XSD bundle or xmllint not found";
  EXPECT_EQ(test::SchemaErrors("kr1/Schemat_JPK_KR(1)_v1-0.xsd", file), "");
}

TEST(JpkKR, AddressReadAtPositionsIsNotFooledByALeftOutStreet) {
  // Ulica (position 4) and NrLokalu (6) are optional: NrDomu then sits at position 4.
  IXMLJPKKR jpk = LoadJpkKRFromXML(
      "<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2016/03/09/03091/\" xmlns:etd=\"http://crd.gov.pl/xml/schematy/"
      "dziedzinowe/mf/2016/01/25/eD/DefinicjeTypy/\"><Podmiot1><AdresPodmiotu><etd:KodKraju>PL</etd:KodKraju>"
      "<etd:Wojewodztwo>W</etd:Wojewodztwo><etd:Powiat>P</etd:Powiat><etd:Gmina>G</etd:Gmina>"
      "<etd:NrDomu>7</etd:NrDomu><etd:Miejscowosc>M</etd:Miejscowosc></AdresPodmiotu></Podmiot1></JPK>");
  IXMLTAdresPolski_etd a = jpk.Podmiot1().AdresPodmiotu();
  EXPECT_EQ(a.KodKraju(), "PL");
  EXPECT_EQ(a.NrDomu(), "7");
  EXPECT_EQ(a.Miejscowosc(), "M");
  EXPECT_EQ(a.ChildNodes().Count(), 6);
  EXPECT_EQ(a.Ulica(), "");  // absent: created empty, never the house number
  EXPECT_EQ(a.ChildNodes().Count(), 7);
}

TEST(JpkKR, EntriesDeclareTheirAttributeFirstAndListsStayInTheirBlocks) {
  IXMLJPKKR jpk = NewJpkKR();
  jpk.ZOiS().Add().Set_typ("G");
  jpk.Dziennik().Add().Set_LpZapisuDziennika(1);
  jpk.DziennikCtrl().Set_LiczbaWierszyDziennika(1);
  jpk.KontoZapis().Add().Set_LpZapisu(1);
  jpk.KontoZapisCtrl().Set_LiczbaWierszyKontoZapisj(1);
  jpk.Dziennik().InsertBefore(jpk.DziennikCtrl()).Set_LpZapisuDziennika(2);
  EXPECT_EQ(jpk.Dziennik().Count(), 2);
  EXPECT_EQ(jpk.ChildNodes().IndexOf(jpk.DziennikCtrl()), 3);
  EXPECT_EQ(jpk.Dziennik()[1].LpZapisuDziennika(), 2);
  EXPECT_EQ(jpk.KontoZapis()[0].typ(), "");
}
