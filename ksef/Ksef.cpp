// KSeF numbers and markers of JPK_V7M(3) rows.
#include "ksef/Ksef.h"

#include <array>
#include <cstdint>

#include "app/Settings.h"
#include "base/Error.h"
#include "base/Text.h"
#include "tools/Regex.h"

namespace velkar {

namespace {

// TNumerKSeF of the JPK_V7M(3) schema: issuer (a NIP, "M" and nine digits, or three
// letters and seven digits), the acceptance date, twelve hex digits of the system's own
// (a hyphen after the sixth in the older, 36-character form) and the checksum.
constexpr const char* kNumberPattern =
    "([1-9]((\\d[1-9])|([1-9]\\d))\\d{7}|M\\d{9}|[A-Z]{3}\\d{7})-"
    "(20[2-9][0-9]|2[1-9][0-9]{2}|[3-9][0-9]{3})(0[1-9]|1[0-2])(0[1-9]|[1-2][0-9]|3[0-1])-"
    "([0-9A-F]{6})-?([0-9A-F]{6})-([0-9A-F]{2})";

constexpr size_t kNumberLength = 35;  // the current form, whose last two characters are the checksum
constexpr std::array<const char*, 4> kElementNames = {"NrKSeF", "OFF", "BFK", "DI"};

bool IsKsefElement(const xml::TXMLNode& node, KsefMarker* marker) {
  if (node.NodeType() != xml::ntElement) return false;
  std::string name = node.LocalName();
  for (size_t i = 0; i < kElementNames.size(); ++i)
    if (name == kElementNames[i]) {
      if (marker) *marker = static_cast<KsefMarker>(i);
      return true;
    }
  return false;
}

// Removes the row's KSeF elements and returns the child the new one goes after: the last
// of the two date elements that precede it in the schema (a null node when neither is
// there: the element is then appended).
xml::TXMLNode ClearKsefPlace(const xml::TXMLNode& row, std::string_view firstDate, std::string_view secondDate) {
  xml::TXMLNode after;
  xml::TXMLNode node = row.ChildNodes().First();
  while (node) {
    xml::TXMLNode next = node.NextSibling();
    if (IsKsefElement(node, nullptr)) {
      row.ChildNodes().Remove(node);
    } else if (node.NodeType() == xml::ntElement) {
      std::string name = node.LocalName();
      if (name == firstDate || name == secondDate) after = node;
    }
    node = next;
  }
  return after;
}

void PlaceKsef(const xml::TXMLNode& row, std::string_view firstDate, std::string_view secondDate, KsefMarker marker,
               std::string_view number) {
  xml::TXMLNode after = ClearKsefPlace(row, firstDate, secondDate);
  xml::TXMLNode before = after ? after.NextSibling() : xml::TXMLNode();
  xml::TXMLNode element = row.AddChildBefore(KsefMarkerName(marker), before);
  element.SetText(marker == KsefMarker::NrKSeF ? number : "1");
}

}  // namespace

const char* KsefMarkerName(KsefMarker marker) { return kElementNames[static_cast<size_t>(marker)]; }

std::optional<KsefMarker> ParseKsefMarker(std::string_view name) {
  std::string trimmed = Trim(name);
  for (size_t i = 0; i < kElementNames.size(); ++i)
    if (EqualsNoCase(trimmed, kElementNames[i])) return static_cast<KsefMarker>(i);
  return std::nullopt;
}

std::string KsefChecksum(std::string_view first32) {
  uint8_t crc = 0;
  for (char c : first32) {
    crc ^= static_cast<uint8_t>(c);
    for (int bit = 0; bit < 8; ++bit) crc = static_cast<uint8_t>((crc & 0x80) ? (crc << 1) ^ 0x07 : crc << 1);
  }
  return Format("%02X", crc);
}

std::string CheckKsefNumber(std::string_view number, std::string_view document) {
  static const thread_local Regex pattern(kNumberPattern, false);
  std::string trimmed = Trim(number);
  bool valid = pattern.MatchesWhole(trimmed);
  // The checksum is defined for the current form; the older form is checked by its shape only.
  if (valid && trimmed.size() == kNumberLength)
    valid = KsefChecksum(std::string_view(trimmed).substr(0, kNumberLength - 3)) == trimmed.substr(kNumberLength - 2);
  if (!valid) Fail("Błędny numer KSeF dokumentu %s: %s", std::string(document), std::string(number));
  return trimmed;
}

bool KsefIssuerDiffers(std::string_view number, std::string_view nip) {
  std::string digits;
  for (char c : nip)
    if (c >= '0' && c <= '9') digits += c;
  return number.substr(0, number.find('-')) != digits;
}

KsefMarker DefaultKsefMarker() {
  const std::string& setting = Settings().ZnacznikKSeF;
  if (Trim(setting).empty()) return KsefMarker::BFK;
  std::optional<KsefMarker> marker = ParseKsefMarker(setting);
  if (!marker || *marker == KsefMarker::NrKSeF)
    Fail("Nieznany znacznik KSeF w ustawieniu ZnacznikKSeF: \"%s\" (dozwolone: BFK, DI, OFF)", setting);
  return *marker;
}

KsefMarker SaleRowMarker(std::string_view typDokumentu) {
  std::string type = Trim(typDokumentu);
  return type == "RO" || type == "WEW" ? KsefMarker::DI : DefaultKsefMarker();
}

KsefMarker PurchaseRowMarker(std::string_view dokumentZakupu, bool imp) {
  return imp || Trim(dokumentZakupu) == "WEW" ? KsefMarker::DI : DefaultKsefMarker();
}

void SetRowKsef(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, KsefMarker marker, std::string_view number) {
  PlaceKsef(row, "DataWystawienia", "DataSprzedazy", marker, number);
}

void SetRowKsef(const v7m::IXMLJPK_Ewidencja_ZakupWiersz& row, KsefMarker marker, std::string_view number) {
  PlaceKsef(row, "DataZakupu", "DataWplywu", marker, number);
}

std::optional<KsefMarker> RowKsef(const xml::TXMLNode& row, std::string* number) {
  for (xml::TXMLNode node = row.ChildNodes().First(); node; node = node.NextSibling()) {
    KsefMarker marker;
    if (IsKsefElement(node, &marker)) {
      if (number) *number = marker == KsefMarker::NrKSeF ? node.Text() : std::string();
      return marker;
    }
  }
  return std::nullopt;
}

}  // namespace velkar
