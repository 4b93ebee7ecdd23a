// The KSeF elements of a whole JPK_V7M(3) register: numbers from a list, the rows that
// still carry a default marker, and the sales numbers issued under another NIP.
#pragma once

#include <string>
#include <vector>

#include "ksef/Ksef.h"
#include "model/v7m/JpkV7.h"

namespace velkar {

class KsefNumberList;

// A register row as the commands name it.
struct KsefRowInfo {
  bool sale = true;      // SprzedazWiersz, else ZakupWiersz
  std::string lp;        // LpSprzedazy / LpZakupu
  std::string document;  // DowodSprzedazy / DowodZakupu
  KsefMarker marker = KsefMarker::BFK;
};

// "sprzedaż, wiersz 3: FV/3/2026 (BFK)".
std::string DescribeKsefRow(const KsefRowInfo& row);

// Sets NrKSeF on every row of `doc` whose document number and counterparty NIP match a
// line of `list`, replacing the marker or number the row carried. Returns the number of
// rows that got a number. One pass over the register.
int ApplyKsefNumbers(const v7m::IXMLJPK& doc, const KsefNumberList& list);

// Gives every row of `doc` its KSeF element: the number of `list` (when given and a line
// matches), else the marker of SaleRowMarker (TypDokumentu) / PurchaseRowMarker
// (DokumentZakupu, IMP). Returns the number of rows that got a number.
int MarkRowsByRules(const v7m::IXMLJPK& doc, const KsefNumberList* list);

// The rows that carry BFK or OFF (an invoice whose KSeF number is not known), in register
// order.
std::vector<KsefRowInfo> RowsWithDefaultMarker(const v7m::IXMLJPK& doc);

// The document numbers of the sales rows whose NrKSeF was issued under another NIP than
// the taxpayer's (Podmiot1), in register order.
std::vector<std::string> SalesOfAnotherIssuer(const v7m::IXMLJPK& doc);
// One warning through the UI port naming those documents; nothing when there are none.
void WarnAboutKsefIssuers(const v7m::IXMLJPK& doc);

}  // namespace velkar
