// The WAPRO Mag ("Magik") exchange document: the export block, the documents with their
// header values and VAT rates, and the card index of their contractors. UTF-8, one TAB per
// level, no namespace. The writers take plain values, whatever the source.
#pragma once

#include <cstdint>
#include <string>

#include "model/xml/XmlNode.h"

namespace velkar {

// Day number of a "yyyy-MM-dd" date: whole days since 28 December 1800 (2017-11-30 is
// 79230). An empty or invalid text gives no number (-1).
long MagikDayNumber(const std::string& date);

// ID_DOKUMENTU_ORYG: the number read from "%.2d%.06d" of the year and the document number,
// in 64 bits (a four-digit year and a seven-digit number need eleven digits).
int64_t MagikSourceId(long long year, long long number);

// RODZAJ_TRANSAKCJI_HANDLOWEJ: "GTU_01 GTU_05" for the bits 0-12 set in `gtu`; "" when
// `gtu` is not above zero or none of those bits is set.
std::string MagikGtuMarks(long long gtu);

struct MagikHeader {
  std::string number;          // NUMER
  int64_t sourceId = 0;        // ID_DOKUMENTU_ORYG
  long long contractor = 0;    // ID_KONTRAHENTA
  long long payer = 0;         // ID_PLATNIKA
  long long gtu = 0;           // GTU bit mask
  std::string issueDate;       // DATA_WYSTAWIENIA ("yyyy-MM-dd")
  std::string saleDate;        // DATA_SPRZEDAZY
  std::string paymentDate;     // TERMIN_PLATNOSCI
  double gross = 0;            // BRUTTO_SPRZEDAZY
  double net = 0;              // NETTO_SPRZEDAZY (already rounded by the caller)
};

struct MagikRates {
  double net23 = 0, vat23 = 0, net8 = 0, vat8 = 0, net5 = 0, vat5 = 0, net0 = 0;
  std::string date;  // DATA_VAT ("yyyy-MM-dd")
};

struct MagikCard {
  long long id = 0;       // ID_KONTRAHENTA
  long long code = 0;     // KOD_KONTRAHENTA
  std::string shortName;  // NAZWA
  std::string name;       // NAZWA_PELNA
  std::string zipCode, city, street, nip;
};

// A new document with its INFO_EKSPORTU block (LICZBA_DOKUMENTOW 0); returns the root
// MAGIK_EKSPORT. `programVersion` is the WERSJA_PROGRAMU text; the date and time are the
// program clock's ("dd-mm-yyyy", "HH:mm:ss").
xml::TXMLNode NewMagikDoc(const std::string& programVersion);
// Replaces LICZBA_DOKUMENTOW.
void SetMagikDocumentCount(const xml::TXMLNode& root, int count);

// Appends NAGLOWEK_DOKUMENTU to a DOKUMENT element.
void AddMagikHeader(const xml::TXMLNode& document, const MagikHeader& header);
// Appends one STAWKA to a VAT element.
void AddMagikRate(const xml::TXMLNode& vat, const std::string& rate, double tax, double net, const std::string& date);
// Appends the rates present, in the order 23, 8, 5, 0 (a rate when its net or VAT is not
// zero, the zero rate when its net is not zero).
void AddMagikRates(const xml::TXMLNode& vat, const MagikRates& rates);
// Appends one KONTRAHENT to the card index.
void AddMagikCard(const xml::TXMLNode& cards, const MagikCard& card);

}  // namespace velkar
