// The Ramzes exchange document: a root "Baza" holding flat contractor, document-header and
// VAT-posting records, written in UTF-8 with one TAB per level and no namespace. The record
// writers take plain values, so any source (warehouse tables, a JPK register) can fill them.
#pragma once

#include <cstdint>
#include <string>

#include "model/xml/XmlNode.h"

namespace velkar {

// One "knt_Kontrahenci" record.
struct RamzesContractor {
  int64_t number = 0;     // knt_Id
  std::string shortName;  // knt_NazwaSkr
  std::string name;       // knt_Nazwa
  std::string nip;        // knt_Nip ("brak" when the contractor has none)
  std::string zipCode;    // knt_Kod
  std::string city;       // knt_Miasto
  std::string street;     // knt_Ulica
};

// One "dok_Nagdok" record. Dates are "yyyy-MM-dd" texts.
struct RamzesDocument {
  int64_t contractorNumber = 0;  // dok_KntId
  int64_t documentNumber = 0;    // dok_DokId
  std::string name;              // dok_Numer
  std::string issueDate;         // dok_DataDat
  std::string operationDate;     // dok_DataOper
  std::string paymentDate;       // dok_DataZap
  std::string description;       // dok_Opis
  int type = 1;                  // dok_Typ: 1 a normal document, 3 a correction
  int dokFoz = 1;                // dok_DokFoz
};

// The net and VAT amounts of one document by rate, as its VAT register holds them.
struct RamzesRateAmounts {
  double net23 = 0, vat23 = 0;
  double net8 = 0, vat8 = 0;
  double net5 = 0, vat5 = 0;
  double net0 = 0;
};

// dok_Typ of a document: 3 for a correction, else 1.
inline int RamzesDocumentType(bool correction) { return correction ? 3 : 1; }

// A new Ramzes document (XML 1.0, UTF-8, TAB indentation, no namespace); returns its root
// element "Baza". The document lives as long as the returned node (OwnerDocument()).
xml::TXMLNode NewRamzesDoc();

// Appends one "knt_Kontrahenci" to `root` (knt_Pesel and knt_Regon empty, knt_DMP and
// knt_CPV "F").
void AddRamzesContractor(const xml::TXMLNode& root, const RamzesContractor& contractor);

// Appends one "dok_Nagdok" to `root` (dok_DMP and dok_CPV "F").
void AddRamzesDocument(const xml::TXMLNode& root, const RamzesDocument& document);

// Appends one "dod_Dekrety" to `root`: dod_PozSvt = the rate + "%", dod_PozNet, dod_PozVat
// unrounded, dod_PozBru = net + VAT.
void AddRamzesPosting(const xml::TXMLNode& root, int64_t documentNumber, int rate, double vat, double net);

// Appends the postings of one document in the order 23, 8, 5, 0 %: a rate is posted when its
// net or VAT is not zero, the zero rate when its net is not zero. Returns how many.
int AddRamzesPostings(const xml::TXMLNode& root, int64_t documentNumber, const RamzesRateAmounts& amounts);

}  // namespace velkar
