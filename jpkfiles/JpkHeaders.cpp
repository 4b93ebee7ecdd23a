// Document preparation and the header fillers of the four JPK kinds.
#include "jpkfiles/JpkHeaders.h"

#include "app/Settings.h"
#include "base/DateTime.h"
#include "base/Error.h"
#include "model/xml/XmlValues.h"

namespace velkar {

namespace {

void PrepareDocument(const xml::IXMLDocument& document) {
  if (document->Encoding() != "UTF-8") document->SetEncoding("UTF-8");
  document->SetParseOptions(document->ParseOptions() | xml::poValidateOnParse | xml::poPreserveWhiteSpace);
  document->SetNodeIndentStr("\t");
}

// KodFormularza: the form code as text, then its two attributes.
template <typename Code>
void SetFormCode(const Code& code, const char* text, const char* systemCode, const char* schemaVersion) {
  code.SetText(text);
  code.Set_kodSystemowy(systemCode);
  code.Set_wersjaSchemy(schemaVersion);
}

// The optional parts of a Polish address (etd TAdresPolski / TAdresPolski1) up to
// Miejscowosc, which is always written.
template <typename Address>
void SetAddressStart(const Address& address, const ProgramSettings& s) {
  address.Set_KodKraju("PL");
  if (!s.Wojewodztwo.empty()) address.Set_Wojewodztwo(s.Wojewodztwo);
  if (!s.Powiat.empty()) address.Set_Powiat(s.Powiat);
  if (!s.Gmina.empty()) address.Set_Gmina(s.Gmina);
  if (!s.Ulica.empty()) address.Set_Ulica(s.Ulica);
  if (!s.NrDomu.empty()) address.Set_NrDomu(s.NrDomu);
  if (!s.NrLokalu.empty()) address.Set_NrLokalu(s.NrLokalu);
  address.Set_Miejscowosc(s.Miasto);
}

// JPK_MAG(1) and JPK_KR(1) share their header and subject.
template <typename Root>
void SetMagKrHeader(const Root& doc, const char* formCode, const char* systemCode) {
  const ProgramSettings& s = Settings();
  auto header = doc.Naglowek();
  SetFormCode(header.KodFormularza(), formCode, systemCode, "1-0");
  header.Set_WariantFormularza(1);
  header.Set_CelZlozenia(1);
  header.Set_DataWytworzeniaJPK(JpkCreationStamp());
  header.Set_DataOd(FormatDate(StartOfMonth(s.CurDate)));
  header.Set_DataDo(FormatDate(EndOfMonth(s.CurDate)));
  header.Set_DomyslnyKodWaluty("PLN");
  // KodUrzedu is a whole number here (a text that is not one fails), written with the four
  // digits of etd:TKodUS: offices 0202 to 0871 keep their leading zero.
  int32_t office = xml::XmlStrToInt(s.USCode);
  header.SetChildText("KodUrzedu", office >= 0 ? Format("%04d", office) : std::to_string(office));

  auto subject = doc.Podmiot1();
  auto id = subject.IdentyfikatorPodmiotu();
  id.Set_NIP(s.NIP);
  id.Set_PelnaNazwa(s.Nazwa);
  if (!s.Regon.empty()) id.Set_REGON(s.Regon);
  auto address = subject.AdresPodmiotu();
  SetAddressStart(address, s);
  if (!s.KodPocztowy.empty()) address.Set_KodPocztowy(s.KodPocztowy);
  if (!s.Poczta.empty()) address.Set_Poczta(s.Poczta);
}

}  // namespace

std::string JpkCreationStamp() {
  // One reading of the clock: date and time then belong to the same instant, also at midnight.
  return FormatDateTimeStamp(Clock::Now());
}

std::string JpkCreationStampUtc() { return FormatDateTimeStamp(LocalToUtc(Clock::Now())) + "Z"; }

v7m::V7Structure V7StructureForPeriod(const DateTime& period) {
  bool fromFebruary2026 = period.year > 2026 || (period.year == 2026 && period.month >= 2);
  return fromFebruary2026 ? v7m::V7Structure::V3 : v7m::V7Structure::V2;
}

v7m::IXMLJPK NewJpkV7ForPeriod(const DateTime& period) { return v7m::NewJpkV7(V7StructureForPeriod(period)); }

void InitJpkV7Doc(const v7m::IXMLJPK& doc) {
  const char* etd = v7m::EtdNamespace(v7m::StructureOfJpkV7(doc).value_or(v7m::V7Structure::V2));
  if (doc.FindNamespaceURI("etd") != etd) doc.DeclareNamespace("etd", etd);
  PrepareDocument(doc.OwnerDocument());
}

void InitJpkFADoc(const fa::IXMLJPKFA& doc) {
  doc.DeclareNamespace("etd", fa::kEtdNamespace);
  PrepareDocument(doc.OwnerDocument());
}

void InitJpkMAGDoc(const mag::IXMLJPKMAG& doc) {
  doc.DeclareNamespace("etd", mag::kEtdNamespace);
  doc.DeclareNamespace("xsi", mag::kXsiNamespace);
  PrepareDocument(doc.OwnerDocument());
}

void InitJpkKRDoc(const kr::IXMLJPKKR& doc) {
  doc.DeclareNamespace("etd", kr::kEtdNamespace);
  doc.DeclareNamespace("xsi", kr::kXsiNamespace);
  PrepareDocument(doc.OwnerDocument());
}

void SetJpkV7Header(const v7m::IXMLJPK& doc, bool correction) {
  const ProgramSettings& s = Settings();
  bool v3 = v7m::StructureOfJpkV7(doc) == v7m::V7Structure::V3;
  auto header = doc.Naglowek();
  SetFormCode(header.KodFormularza(), "JPK_VAT", v3 ? "JPK_V7M (3)" : "JPK_V7M (2)", "1-0E");
  header.Set_WariantFormularza(v3 ? 3 : 2);
  header.Set_DataWytworzeniaJPK(v3 ? JpkCreationStampUtc() : JpkCreationStamp());
  header.Set_NazwaSystemu(s.NazwaSystemu);
  auto purpose = header.CelZlozenia();
  purpose.Set_poz("P_7");
  purpose.SetText(correction ? "2" : "1");  // P_7: 1 a return, 2 its correction
  header.Set_KodUrzedu(s.USCode);
  header.Set_Rok(std::to_string(s.CurDate.year));
  header.Set_Miesiac(s.CurDate.month);

  auto subject = doc.Podmiot1();
  subject.Set_rola("Podatnik");
  if (!s.Imie.empty()) {
    auto person = subject.OsobaFizyczna();
    person.Set_NIP(s.NIP);
    person.Set_ImiePierwsze(s.Imie);
    person.Set_Nazwisko(s.Nazwisko);
    person.Set_DataUrodzenia(FormatDate(s.DataUrodzenia));
    person.Set_Email(s.Email);
    if (!s.Telefon.empty()) person.Set_Telefon(s.Telefon);
  } else {
    auto company = subject.OsobaNiefizyczna();
    company.Set_NIP(s.NIP);
    company.Set_PelnaNazwa(s.Nazwa);
    company.Set_Email(s.Email);
    if (!s.Telefon.empty()) company.Set_Telefon(s.Telefon);
  }
}

void SetJpkFAHeader(const fa::IXMLJPKFA& doc) {
  const ProgramSettings& s = Settings();
  auto header = doc.Naglowek();
  SetFormCode(header.KodFormularza(), "JPK_FA", "JPK_FA (4)", "1-0");
  header.Set_WariantFormularza(4);
  header.Set_CelZlozenia(1);
  header.Set_DataWytworzeniaJPK(JpkCreationStamp());
  header.Set_DataOd(FormatDate(StartOfMonth(s.CurDate)));
  header.Set_DataDo(FormatDate(EndOfMonth(s.CurDate)));
  header.Set_KodUrzedu(s.USCode);

  auto subject = doc.Podmiot1();
  auto id = subject.IdentyfikatorPodmiotu();
  id.Set_NIP(s.NIP);
  id.Set_PelnaNazwa(s.Nazwa);
  auto address = subject.AdresPodmiotu();
  SetAddressStart(address, s);
  if (!s.KodPocztowy.empty()) address.Set_KodPocztowy(s.KodPocztowy);
}

void SetJpkMAGHeader(const mag::IXMLJPKMAG& doc) { SetMagKrHeader(doc, "JPK_MAG", "JPK_MAG (1)"); }

void SetJpkKRHeader(const kr::IXMLJPKKR& doc) { SetMagKrHeader(doc, "JPK_KR", "JPK_KR (1)"); }

}  // namespace velkar
