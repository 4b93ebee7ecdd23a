// The JPK_MAG(1) binding: a warehouse file built in schema order, validated and read back;
// integer office code and strict amounts; etd identity read at its positions.
#include <gtest/gtest.h>

#include "model/mag/JpkMAG.h"
#include "tests/model/SchemaCheck.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using namespace velkar::mag;

TEST(JpkMAG, AWarehouseFileBuiltInSchemaOrderIsValidAndReadsBack) {
  IXMLJPKMAG jpk = NewJpkMAG();
  xml::TXMLNode root = jpk.OwnerDocument()->DocumentElement();
  root.DeclareNamespace("etd", kEtdNamespace);
  root.DeclareNamespace("xsi", kXsiNamespace);
  IXMLTNaglowek h = jpk.Naglowek();
  h.KodFormularza().SetText("JPK_MAG");
  h.KodFormularza().Set_kodSystemowy("JPK_MAG (1)");
  h.KodFormularza().Set_wersjaSchemy("1-0");
  h.Set_WariantFormularza(1);
  h.Set_CelZlozenia(1);
  h.Set_DataWytworzeniaJPK("2024-04-02T09:05:07");
  h.Set_DataOd("2024-02-01");
  h.Set_DataDo("2024-02-29");
  h.Set_DomyslnyKodWaluty("PLN");
  h.Set_KodUrzedu(1471);
  IXMLJPK_Podmiot1 p = jpk.Podmiot1();
  p.IdentyfikatorPodmiotu().Set_NIP("5261040828");
  p.IdentyfikatorPodmiotu().Set_PelnaNazwa("Hurtownia");
  p.AdresPodmiotu().Set_KodKraju("PL");
  p.AdresPodmiotu().Set_Wojewodztwo("mazowieckie");
  p.AdresPodmiotu().Set_Powiat("Warszawa");
  p.AdresPodmiotu().Set_Gmina("Warszawa");
  p.AdresPodmiotu().Set_NrDomu("1");
  p.AdresPodmiotu().Set_Miejscowosc("Warszawa");
  p.AdresPodmiotu().Set_KodPocztowy("00-001");
  p.AdresPodmiotu().Set_Poczta("Warszawa");
  jpk.Set_Magazyn("Główny");
  IXMLJPK_WZ wz = jpk.WZ();
  IXMLJPK_WZ_WZWartosc d = wz.WZWartosc().Add();
  d.Set_NumerWZ("WZ 1");
  d.Set_DataWZ("2024-02-10");
  d.Set_WartoscWZ(150.5);
  d.Set_DataWydaniaWZ("2024-02-10");
  d.Set_OdbiorcaWZ("Klient");
  d.Set_NumerFaWZ("FV 1");
  d.Set_DataFaWZ("2024-02-10");
  IXMLJPK_WZ_WZWiersz l = wz.WZWiersz().Add();
  l.Set_Numer2WZ("WZ 1");
  l.Set_KodTowaruWZ("T1");
  l.Set_NazwaTowaruWZ("Towar");
  l.Set_IloscWydanaWZ(1.5);
  l.Set_JednostkaMiaryWZ("kg");
  l.Set_CenaJednWZ(100.33);
  l.Set_WartoscPozycjiWZ(150.5);
  wz.WZCtrl().Set_LiczbaWZ(1);
  wz.WZCtrl().Set_SumaWZ(150.5);

  test::TempDir dir;
  std::string file = dir.File("2024-02_JPK_MAG.xml");
  jpk.OwnerDocument()->SaveToFile(file);
  IXMLJPKMAG back = LoadJpkMAG(file);
  EXPECT_EQ(back.Naglowek().KodUrzedu(), 1471);
  EXPECT_EQ(back.Magazyn(), "Główny");
  EXPECT_EQ(back.Podmiot1().IdentyfikatorPodmiotu().PelnaNazwa(), "Hurtownia");
  EXPECT_EQ(back.Podmiot1().AdresPodmiotu().Poczta(), "Warszawa");
  EXPECT_EQ(back.WZ().WZWiersz()[0].IloscWydanaWZ(), 1.5);
  EXPECT_EQ(back.WZ().WZWiersz()[0].CenaJednWZ(), 100.33);
  EXPECT_EQ(back.WZ().WZCtrl().LiczbaWZ(), 1);
  if (!test::CanValidate()) GTEST_SKIP() << "XSD bundle or xmllint not found";
  EXPECT_EQ(test::SchemaErrors("mag1/Schemat_JPK_MAG(1)_v1-0.xsd", file), "");
}

TEST(JpkMAG, GroupsKeepDocumentsBeforeLinesBeforeTheControl) {
  IXMLJPKMAG jpk = NewJpkMAG();
  IXMLJPK_PZ pz = jpk.PZ();
  pz.PZWartosc().Add().Set_NumerPZ("PZ 1");
  pz.PZWiersz().Add().Set_Numer2PZ("PZ 1");
  pz.PZCtrl().Set_LiczbaPZ(1);
  // A second document found later goes before the lines: inserted at the lines' position.
  pz.PZWartosc().Insert(pz.ChildNodes().IndexOf(pz.PZWiersz()[0])).Set_NumerPZ("PZ 2");
  std::vector<std::string> order;
  for (xml::TXMLNode n : pz.ChildNodes()) order.push_back(n.LocalName());
  EXPECT_EQ(order, (std::vector<std::string>{"PZWartosc", "PZWartosc", "PZWiersz", "PZCtrl"}));
  EXPECT_EQ(pz.PZWartosc()[1].NumerPZ(), "PZ 2");
}

TEST(JpkMAG, OfficeCodeIsAWholeNumberAndAmountsAreReadStrictly) {
  IXMLJPKMAG jpk = LoadJpkMAGFromXML("<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2016/03/09/03093/\"><Naglowek>"
                                     "<KodUrzedu>14A1</KodUrzedu></Naglowek><RW><RWCtrl><SumaRW></SumaRW></RWCtrl>"
                                     "</RW></JPK>");
  EXPECT_THROW(jpk.Naglowek().KodUrzedu(), xml::EConvertError);
  EXPECT_THROW(jpk.RW().RWCtrl().SumaRW(), xml::EConvertError);
  jpk.RW().RWCtrl().Set_SumaRW(0.1 + 0.2);
  EXPECT_EQ(jpk.RW().RWCtrl().SumaRW(), 0.3);
}

TEST(JpkMAG, IdentityIsWrittenWithTheEtdPrefixAndReadAtItsPositions) {
  IXMLJPKMAG jpk = LoadJpkMAGFromXML(
      "<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2016/03/09/03093/\" xmlns:etd=\"http://crd.gov.pl/xml/schematy/"
      "dziedzinowe/mf/2016/01/25/eD/DefinicjeTypy/\"><Podmiot1><IdentyfikatorPodmiotu><etd:NIP>1</etd:NIP>"
      "<etd:PelnaNazwa>F</etd:PelnaNazwa></IdentyfikatorPodmiotu></Podmiot1></JPK>");
  IXMLTIdentyfikatorOsobyNiefizycznej_etd id = jpk.Podmiot1().IdentyfikatorPodmiotu();
  EXPECT_EQ(id.NIP(), "1");
  EXPECT_EQ(id.PelnaNazwa(), "F");
  id.Set_REGON("012345678");
  EXPECT_EQ(id.ChildNodes()[2].NodeName(), "etd:REGON");
  EXPECT_EQ(id.REGON(), "012345678");
}
