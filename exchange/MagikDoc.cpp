// The WAPRO Mag ("Magik") exchange document and its element writers.
#include "exchange/MagikDoc.h"

#include <cstdlib>

#include "base/DateTime.h"
#include "base/Error.h"
#include "model/xml/XmlDocument.h"
#include "model/xml/XmlValues.h"

namespace velkar {

namespace {

void Put(const xml::TXMLNode& parent, const char* name, const std::string& text) { parent.AddChild(name).SetText(text); }
void PutInt(const xml::TXMLNode& parent, const char* name, long long value) { Put(parent, name, xml::XmlIntToStr(value)); }
void PutNumber(const xml::TXMLNode& parent, const char* name, double value) {
  Put(parent, name, xml::XmlFloatToStr(value));
}
// A day number, or an empty element for a missing date.
void PutDay(const xml::TXMLNode& parent, const char* name, const std::string& date) {
  long day = MagikDayNumber(date);
  Put(parent, name, day < 0 ? std::string() : xml::XmlIntToStr(day));
}

// The day count since 30 December 1899 plus the days from 28 December 1800 to it.
constexpr long kDaysFrom1800 = 36161;

}  // namespace

long MagikDayNumber(const std::string& date) {
  std::optional<DateTime> value = ParseDate(date);
  if (!value) return -1;
  return DayNumber(*value) + kDaysFrom1800;
}

int64_t MagikSourceId(long long year, long long number) {
  std::string text = Format("%.2d%.06d", year, number);
  return std::strtoll(text.c_str(), nullptr, 10);
}

std::string MagikGtuMarks(long long gtu) {
  std::string marks;
  if (gtu <= 0) return marks;
  for (int bit = 0; bit <= 12; ++bit)
    if (gtu & (1LL << bit)) marks += Format("GTU_%.02d ", bit + 1);
  if (!marks.empty()) marks.pop_back();
  return marks;
}

xml::TXMLNode NewMagikDoc(const std::string& programVersion) {
  xml::IXMLDocument doc = xml::TXMLDocument::Create();
  doc->SetEncoding("UTF-8");
  doc->SetNodeIndentStr("\t");
  doc->SetOptions(doc->Options() | xml::doNodeAutoIndent);
  doc->SetDocumentElement(doc->CreateElement("MAGIK_EKSPORT", ""));
  xml::TXMLNode root = doc->DocumentElement();
  xml::TXMLNode info = root.AddChild("INFO_EKSPORTU");
  DateTime now = Clock::Now();
  Put(info, "WERSJA_MAGIKA", "4.2.0");
  Put(info, "NAZWA_PROGRAMU", "Velkar");
  Put(info, "WERSJA_PROGRAMU", programVersion);
  Put(info, "DATA_EKSPORTU", Format("%02d-%02d-%04d", now.day, now.month, now.year));
  Put(info, "GODZINA_EKSPORTU", Format("%02d:%02d:%02d", now.hour, now.minute, now.second));
  PutInt(info, "LICZBA_DOKUMENTOW", 0);
  return root;
}

void SetMagikDocumentCount(const xml::TXMLNode& root, int count) {
  root.FindChild("INFO_EKSPORTU").FindChild("LICZBA_DOKUMENTOW").SetText(xml::XmlIntToStr(count));
}

void AddMagikHeader(const xml::TXMLNode& document, const MagikHeader& h) {
  xml::TXMLNode header = document.AddChild("NAGLOWEK_DOKUMENTU");
  Put(header, "RODZAJ_DOKUMENTU", "H");
  Put(header, "NUMER", h.number);
  PutInt(header, "ID_DOKUMENTU_ORYG", h.sourceId);
  PutInt(header, "ID_KONTRAHENTA", h.contractor);
  PutInt(header, "ID_PLATNIKA", h.payer);
  Put(header, "ZAKUP_SPRZEDAZ", "S");
  Put(header, "TYP_DOKUMENTU", "FV");
  std::string marks = MagikGtuMarks(h.gtu);
  if (!marks.empty()) Put(header, "RODZAJ_TRANSAKCJI_HANDLOWEJ", marks);
  xml::TXMLNode dates = header.AddChild("DATY");
  PutDay(dates, "DATA_WYSTAWIENIA", h.issueDate);
  PutDay(dates, "DATA_SPRZEDAZY", h.saleDate);
  PutDay(dates, "TERMIN_PLATNOSCI", h.paymentDate);
  xml::TXMLNode values = header.AddChild("WARTOSCI_NAGLOWKA");
  PutNumber(values, "NETTO_SPRZEDAZY", h.net);
  PutNumber(values, "BRUTTO_SPRZEDAZY", h.gross);
  PutNumber(values, "NETTO_ZAKUPU", 0);
  PutNumber(values, "BRUTTO_ZAKUPU", 0);
}

void AddMagikRate(const xml::TXMLNode& vat, const std::string& rate, double tax, double net, const std::string& date) {
  xml::TXMLNode stawka = vat.AddChild("STAWKA");
  Put(stawka, "KOD_VAT", rate);
  PutNumber(stawka, "NETTO", net);
  PutNumber(stawka, "VAT", tax);
  PutDay(stawka, "DATA_VAT", date);
}

void AddMagikRates(const xml::TXMLNode& vat, const MagikRates& r) {
  if (r.net23 != 0 || r.vat23 != 0) AddMagikRate(vat, "23", r.vat23, r.net23, r.date);
  if (r.net8 != 0 || r.vat8 != 0) AddMagikRate(vat, "8", r.vat8, r.net8, r.date);
  if (r.net5 != 0 || r.vat5 != 0) AddMagikRate(vat, "5", r.vat5, r.net5, r.date);
  if (r.net0 != 0) AddMagikRate(vat, "0", 0, r.net0, r.date);
}

void AddMagikCard(const xml::TXMLNode& cards, const MagikCard& c) {
  xml::TXMLNode card = cards.AddChild("KONTRAHENT");
  PutInt(card, "ID_KONTRAHENTA", c.id);
  PutInt(card, "KOD_KONTRAHENTA", c.code);
  Put(card, "NAZWA", c.shortName);
  Put(card, "NAZWA_PELNA", c.name);
  Put(card, "KOD_POCZTOWY", c.zipCode);
  Put(card, "MIEJSCOWOSC", c.city);
  Put(card, "ULICA_LOKAL", c.street);
  Put(card, "NIP", c.nip);
  PutInt(card, "RODZAJ_EWIDENCJI", 1);
  PutInt(card, "VAT_CZYNNY", 1);
  PutInt(card, "ODBIORCA", 1);
}

}  // namespace velkar
