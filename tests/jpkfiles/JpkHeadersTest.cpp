// Preparation of new documents and the four header fillers.
#include <gtest/gtest.h>

#include "jpkfiles/JpkHeaders.h"
#include "model/xml/XmlErrors.h"
#include "tests/jpkfiles/JpkFixtures.h"

using namespace velkar;

namespace {

// The document's text without the declaration line.
std::string Body(const xml::TXMLNode& root) {
  std::string text = root.OwnerDocument()->SaveToXML();
  return text.substr(text.find("?>") + 3);
}

const std::string kV7Root =
    "<JPK xmlns=\"http://crd.gov.pl/wzor/2021/12/27/11148/\" "
    "xmlns:etd=\"http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2021/06/08/eD/DefinicjeTypy/\">";

}  // namespace

TEST(JpkHeaders, V7HeaderOfACompanyInSchemaOrder) {
  test::TaxpayerScope taxpayer;
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  InitJpkV7Doc(doc);
  SetJpkV7Header(doc, false);
  EXPECT_EQ(Body(doc), kV7Root +
                           "<Naglowek><KodFormularza kodSystemowy=\"JPK_V7M (2)\" wersjaSchemy=\"1-0E\">JPK_VAT"
                           "</KodFormularza><WariantFormularza>2</WariantFormularza>"
                           "<DataWytworzeniaJPK>2024-04-02T09:05:07</DataWytworzeniaJPK><NazwaSystemu>Velkar"
                           "</NazwaSystemu><CelZlozenia poz=\"P_7\">1</CelZlozenia><KodUrzedu>1471</KodUrzedu>"
                           "<Rok>2024</Rok><Miesiac>3</Miesiac></Naglowek><Podmiot1 rola=\"Podatnik\">"
                           "<OsobaNiefizyczna><NIP>5250001090</NIP><PelnaNazwa>Firma Testowa Sp. z o.o.</PelnaNazwa>"
                           "<Email>biuro@firma.pl</Email></OsobaNiefizyczna></Podmiot1></JPK>\n");
}

TEST(JpkHeaders, V7HeaderOfAPersonCorrectionInDecember) {
  ProgramSettings s = test::PersonSettings();
  s.CurDate = {2023, 12, 31};
  test::TaxpayerScope taxpayer(s);
  v7m::IXMLJPK doc = v7m::NewJpkV7();
  InitJpkV7Doc(doc);
  SetJpkV7Header(doc, true);
  std::string body = Body(doc);
  EXPECT_NE(body.find("<CelZlozenia poz=\"P_7\">2</CelZlozenia><KodUrzedu>1471</KodUrzedu><Rok>2023</Rok>"
                      "<Miesiac>12</Miesiac>"),
            std::string::npos)
      << body;
  EXPECT_NE(body.find("<Podmiot1 rola=\"Podatnik\"><OsobaFizyczna><etd:NIP>5250001090</etd:NIP>"
                      "<etd:ImiePierwsze>Jan</etd:ImiePierwsze><etd:Nazwisko>Kowalski</etd:Nazwisko>"
                      "<etd:DataUrodzenia>1980-07-09</etd:DataUrodzenia><Email>biuro@firma.pl</Email>"
                      "<Telefon>221234567</Telefon></OsobaFizyczna></Podmiot1></JPK>"),
            std::string::npos)
      << body;
  EXPECT_EQ(body.find("OsobaNiefizyczna"), std::string::npos);
}

TEST(JpkHeaders, EmptyTelefonAndRegonWriteNoElement) {
  ProgramSettings s = test::PersonSettings();
  s.Telefon.clear();
  s.Regon.clear();
  test::TaxpayerScope taxpayer(s);
  v7m::IXMLJPK v7 = v7m::NewJpkV7();
  SetJpkV7Header(v7, false);
  EXPECT_EQ(Body(v7).find("Telefon"), std::string::npos);
  mag::IXMLJPKMAG mag = mag::NewJpkMAG();
  InitJpkMAGDoc(mag);
  SetJpkMAGHeader(mag);
  EXPECT_EQ(Body(mag).find("REGON"), std::string::npos);
  kr::IXMLJPKKR kr = kr::NewJpkKR();
  InitJpkKRDoc(kr);
  SetJpkKRHeader(kr);
  EXPECT_EQ(Body(kr).find("REGON"), std::string::npos);
}

TEST(JpkHeaders, FAHeaderCoversTheLeapFebruaryAndSkipsEmptyAddressParts) {
  ProgramSettings s = test::CompanySettings();
  s.CurDate = {2024, 2, 10};
  s.Ulica.clear();
  s.NrLokalu.clear();
  s.Miasto.clear();
  s.KodPocztowy.clear();
  test::TaxpayerScope taxpayer(s);
  fa::IXMLJPKFA doc = fa::NewJpkFA();
  InitJpkFADoc(doc);
  SetJpkFAHeader(doc);
  EXPECT_EQ(Body(doc),
            "<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2022/02/17/02171/\" "
            "xmlns:etd=\"http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2018/08/24/eD/DefinicjeTypy/\"><Naglowek>"
            "<KodFormularza kodSystemowy=\"JPK_FA (4)\" wersjaSchemy=\"1-0\">JPK_FA</KodFormularza>"
            "<WariantFormularza>4</WariantFormularza><CelZlozenia>1</CelZlozenia>"
            "<DataWytworzeniaJPK>2024-04-02T09:05:07</DataWytworzeniaJPK><DataOd>2024-02-01</DataOd>"
            "<DataDo>2024-02-29</DataDo><KodUrzedu>1471</KodUrzedu></Naglowek><Podmiot1><IdentyfikatorPodmiotu>"
            "<NIP>5250001090</NIP><PelnaNazwa>Firma Testowa Sp. z o.o.</PelnaNazwa></IdentyfikatorPodmiotu>"
            "<AdresPodmiotu><etd:KodKraju>PL</etd:KodKraju><etd:Wojewodztwo>mazowieckie</etd:Wojewodztwo>"
            "<etd:Powiat>Warszawa</etd:Powiat><etd:Gmina>Warszawa</etd:Gmina><etd:NrDomu>1</etd:NrDomu>"
            "<etd:Miejscowosc/></AdresPodmiotu></Podmiot1></JPK>\n");
}

TEST(JpkHeaders, MAGAndKRHeadersWithTheirFullAddress) {
  test::TaxpayerScope taxpayer;
  kr::IXMLJPKKR doc = kr::NewJpkKR();
  InitJpkKRDoc(doc);
  SetJpkKRHeader(doc);
  EXPECT_EQ(Body(doc),
            "<JPK xmlns=\"http://jpk.mf.gov.pl/wzor/2016/03/09/03091/\" "
            "xmlns:etd=\"http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2016/01/25/eD/DefinicjeTypy/\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><Naglowek>"
            "<KodFormularza kodSystemowy=\"JPK_KR (1)\" wersjaSchemy=\"1-0\">JPK_KR</KodFormularza>"
            "<WariantFormularza>1</WariantFormularza><CelZlozenia>1</CelZlozenia>"
            "<DataWytworzeniaJPK>2024-04-02T09:05:07</DataWytworzeniaJPK><DataOd>2024-03-01</DataOd>"
            "<DataDo>2024-03-31</DataDo><DomyslnyKodWaluty>PLN</DomyslnyKodWaluty><KodUrzedu>1471</KodUrzedu>"
            "</Naglowek><Podmiot1><IdentyfikatorPodmiotu><etd:NIP>5250001090</etd:NIP>"
            "<etd:PelnaNazwa>Firma Testowa Sp. z o.o.</etd:PelnaNazwa><etd:REGON>012345678</etd:REGON>"
            "</IdentyfikatorPodmiotu><AdresPodmiotu><etd:KodKraju>PL</etd:KodKraju>"
            "<etd:Wojewodztwo>mazowieckie</etd:Wojewodztwo><etd:Powiat>Warszawa</etd:Powiat>"
            "<etd:Gmina>Warszawa</etd:Gmina><etd:Ulica>Prosta</etd:Ulica><etd:NrDomu>1</etd:NrDomu>"
            "<etd:NrLokalu>2</etd:NrLokalu><etd:Miejscowosc>Warszawa</etd:Miejscowosc>"
            "<etd:KodPocztowy>00-001</etd:KodPocztowy><etd:Poczta>Warszawa</etd:Poczta></AdresPodmiotu>"
            "</Podmiot1></JPK>\n");

  mag::IXMLJPKMAG magDoc = mag::NewJpkMAG();
  InitJpkMAGDoc(magDoc);
  SetJpkMAGHeader(magDoc);
  EXPECT_NE(Body(magDoc).find("<KodFormularza kodSystemowy=\"JPK_MAG (1)\" wersjaSchemy=\"1-0\">JPK_MAG"
                              "</KodFormularza>"),
            std::string::npos);
}

TEST(JpkHeaders, MAGAndKROfficeCodesAreWholeNumbersWithFourDigits) {
  ProgramSettings s = test::CompanySettings();
  s.USCode = "0202";  // Bolesławiec: the leading zero belongs to the code
  test::TaxpayerScope taxpayer(s);
  mag::IXMLJPKMAG doc = mag::NewJpkMAG();
  SetJpkMAGHeader(doc);
  EXPECT_EQ(doc.Naglowek().ChildText("KodUrzedu"), "0202");

  Settings().USCode = "14A1";
  kr::IXMLJPKKR bad = kr::NewJpkKR();
  EXPECT_THROW(SetJpkKRHeader(bad), xml::EConvertError);
  // The header is filled up to DomyslnyKodWaluty, and nothing after it.
  EXPECT_EQ(bad.Naglowek().ChildNodes().Last().LocalName(), "DomyslnyKodWaluty");
  EXPECT_FALSE(bad.FindChild("Podmiot1"));
}

TEST(JpkInit, V7DeclaresEtdOnlyWhenTheRootDoesNotSeeItsUri) {
  const std::string etd = v7m::kEtdNamespace;
  v7m::IXMLJPK bound = v7m::LoadJpkV7FromXML("<JPK xmlns=\"" + std::string(v7m::kTargetNamespace) + "\" xmlns:etd=\"" +
                                             etd + "\"><Podmiot1/></JPK>");
  InitJpkV7Doc(bound);
  std::string text = bound.OwnerDocument()->SaveToXML();
  EXPECT_EQ(text.find("xmlns:etd"), text.rfind("xmlns:etd")) << text;

  const std::string other = "http://crd.gov.pl/xml/schematy/dziedzinowe/mf/2020/03/11/eD/DefinicjeTypy/";
  v7m::IXMLJPK elsewhere = v7m::LoadJpkV7FromXML("<JPK xmlns=\"" + std::string(v7m::kTargetNamespace) +
                                                 "\" xmlns:etd=\"" + other + "\"><Podmiot1/></JPK>");
  InitJpkV7Doc(elsewhere);
  EXPECT_EQ(elsewhere.FindNamespaceURI("etd"), etd);

  v7m::IXMLJPK below = v7m::LoadJpkV7FromXML("<JPK xmlns=\"" + std::string(v7m::kTargetNamespace) +
                                             "\"><Podmiot1 xmlns:etd=\"" + etd + "\"/></JPK>");
  InitJpkV7Doc(below);
  EXPECT_EQ(below.FindNamespaceURI("etd"), etd);
  EXPECT_TRUE(below.FindNamespaceDecl(etd) == below);
}

TEST(JpkInit, PreparationSwitchesToUtf8AndTabAndKeepsParseOptions) {
  fa::IXMLJPKFA doc = fa::LoadJpkFAFromXML("<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?><JPK xmlns=\"" +
                                           std::string(fa::kTargetNamespace) + "\"/>");
  auto document = doc.OwnerDocument();
  EXPECT_EQ(document->Encoding(), "ISO-8859-2");
  document->SetParseOptions(xml::poResolveExternals);
  InitJpkFADoc(doc);
  EXPECT_EQ(document->Encoding(), "UTF-8");
  EXPECT_EQ(document->NodeIndentStr(), "\t");
  EXPECT_EQ(document->ParseOptions(), xml::poResolveExternals | xml::poValidateOnParse | xml::poPreserveWhiteSpace);
  EXPECT_EQ(doc.FindNamespaceURI("etd"), fa::kEtdNamespace);

  mag::IXMLJPKMAG magDoc = mag::NewJpkMAG();
  InitJpkMAGDoc(magDoc);
  EXPECT_EQ(magDoc.FindNamespaceURI("etd"), mag::kEtdNamespace);
  EXPECT_EQ(magDoc.FindNamespaceURI("xsi"), mag::kXsiNamespace);
}
