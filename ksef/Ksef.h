// The KSeF element of JPK_V7M(3) register rows: the invoice's number in the national
// e-invoice system (checked before it is written) or the marker that says why a row has
// none (OFF, BFK, DI), the rules that choose a marker, and its place in a row.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "model/v7m/JpkV7.h"

namespace velkar {

enum class KsefMarker { NrKSeF, OFF, BFK, DI };

// "NrKSeF", "OFF", "BFK", "DI".
const char* KsefMarkerName(KsefMarker marker);
// A marker named as above, blanks around it and letter case ignored; nullopt otherwise.
std::optional<KsefMarker> ParseKsefMarker(std::string_view name);

// The checksum of a KSeF number: CRC-8 (polynomial 0x07, initial value 0) of its first 32
// characters, as two upper-case hex digits.
std::string KsefChecksum(std::string_view first32);

// The number trimmed, when it has the schema's form and, in its 35-character form, the
// right checksum; otherwise raises velkar::Error "Błędny numer KSeF dokumentu %s: %s".
std::string CheckKsefNumber(std::string_view number, std::string_view document);

// Whether the issuer part of a (checked) number differs from `nip` (its digits only, so
// "PL 525-000-00-00" compares as 5250000000).
bool KsefIssuerDiffers(std::string_view number, std::string_view nip);

// The marker of rows without a number that the rules below leave to the configuration
// (ZnacznikKSeF: BFK, DI or OFF; BFK when empty). Raises velkar::Error for another value.
KsefMarker DefaultKsefMarker();
// Sales: receipts (RO) and internal documents (WEW) are no invoices: DI; else the default.
KsefMarker SaleRowMarker(std::string_view typDokumentu);
// Purchases: internal documents (WEW) and imports (IMP) get DI; else the default.
KsefMarker PurchaseRowMarker(std::string_view dokumentZakupu, bool imp);

// Writes the row's one KSeF element in its schema place (after DataSprzedazy, or after
// DataWystawienia when the row has no sale date; purchases: after DataWplywu or
// DataZakupu), replacing a number or marker the row carries. With NrKSeF `number` is the
// text written (pass a checked number); a marker is written as 1.
void SetRowKsef(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, KsefMarker marker, std::string_view number = {});
void SetRowKsef(const v7m::IXMLJPK_Ewidencja_ZakupWiersz& row, KsefMarker marker, std::string_view number = {});

// The KSeF element a row carries (the first, should a file hold more), nullopt when none;
// `number` receives the text of NrKSeF.
std::optional<KsefMarker> RowKsef(const xml::TXMLNode& row, std::string* number = nullptr);

}  // namespace velkar
