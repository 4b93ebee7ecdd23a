// KSeF numbers and markers over a whole register.
#include "ksef/KsefRows.h"

#include <functional>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Text.h"
#include "ksef/KsefList.h"

namespace velkar {

namespace {

using xml::TXMLNode;

// The element's child `name` (looked up in its own namespace) as text; "" when absent.
std::string TextOf(const TXMLNode& node, const char* name) {
  TXMLNode child = node.FindChild(name);
  return child ? child.Text() : std::string();
}

TXMLNode NextElementOf(TXMLNode node) {
  do node = node.NextSibling();
  while (node && node.NodeType() != xml::ntElement);
  return node;
}

TXMLNode FirstElementIn(const TXMLNode& parent) {
  TXMLNode first = parent.ChildNodes().First();
  return first && first.NodeType() != xml::ntElement ? NextElementOf(first) : first;
}

// Calls `visit(row, sale)` for every SprzedazWiersz and ZakupWiersz of the register, in
// order; one step per element of Ewidencja.
void ForEachRow(const v7m::IXMLJPK& doc, const std::function<void(const TXMLNode&, bool)>& visit) {
  TXMLNode ewidencja = doc.FindChild("Ewidencja");
  if (!ewidencja) return;
  for (TXMLNode row = FirstElementIn(ewidencja); row; row = NextElementOf(row)) {
    std::string name = row.LocalName();
    if (name == "SprzedazWiersz")
      visit(row, true);
    else if (name == "ZakupWiersz")
      visit(row, false);
  }
}

// The taxpayer's NIP of Podmiot1 (OsobaNiefizyczna/NIP or OsobaFizyczna/etd:NIP).
std::string TaxpayerNip(const v7m::IXMLJPK& doc) {
  TXMLNode podmiot = doc.FindChild("Podmiot1");
  if (!podmiot) return {};
  for (TXMLNode person = FirstElementIn(podmiot); person; person = NextElementOf(person))
    for (TXMLNode field = FirstElementIn(person); field; field = NextElementOf(field))
      if (field.LocalName() == "NIP") return field.Text();
  return {};
}

}  // namespace

std::string DescribeKsefRow(const KsefRowInfo& row) {
  return Format("%s, wiersz %s: %s (%s)", row.sale ? "sprzedaż" : "zakup", row.lp, row.document,
                KsefMarkerName(row.marker));
}

namespace {

// The list's number for the row; nullptr when there is no list or no line matches.
const std::string* ListedNumber(const KsefNumberList* list, const TXMLNode& row, bool sale) {
  if (!list) return nullptr;
  return list->Find(TextOf(row, sale ? "DowodSprzedazy" : "DowodZakupu"),
                    TextOf(row, sale ? "NrKontrahenta" : "NrDostawcy"));
}

void SetKsef(const TXMLNode& row, bool sale, KsefMarker marker, std::string_view number = {}) {
  if (sale)
    SetRowKsef(v7m::IXMLJPK_Ewidencja_SprzedazWiersz(row, xml::kUnchecked), marker, number);
  else
    SetRowKsef(v7m::IXMLJPK_Ewidencja_ZakupWiersz(row, xml::kUnchecked), marker, number);
}

}  // namespace

int ApplyKsefNumbers(const v7m::IXMLJPK& doc, const KsefNumberList& list) {
  int numbered = 0;
  ForEachRow(doc, [&](const TXMLNode& row, bool sale) {
    if (const std::string* number = ListedNumber(&list, row, sale)) {
      SetKsef(row, sale, KsefMarker::NrKSeF, *number);
      ++numbered;
    }
  });
  return numbered;
}

int MarkRowsByRules(const v7m::IXMLJPK& doc, const KsefNumberList* list) {
  int numbered = 0;
  ForEachRow(doc, [&](const TXMLNode& row, bool sale) {
    if (const std::string* number = ListedNumber(list, row, sale)) {
      SetKsef(row, sale, KsefMarker::NrKSeF, *number);
      ++numbered;
    } else if (sale) {
      SetKsef(row, true, SaleRowMarker(Trim(TextOf(row, "TypDokumentu"))));
    } else {
      SetKsef(row, false, PurchaseRowMarker(Trim(TextOf(row, "DokumentZakupu")), Trim(TextOf(row, "IMP")) == "1"));
    }
  });
  return numbered;
}

std::vector<KsefRowInfo> RowsWithDefaultMarker(const v7m::IXMLJPK& doc) {
  std::vector<KsefRowInfo> rows;
  ForEachRow(doc, [&](const TXMLNode& row, bool sale) {
    std::optional<KsefMarker> marker = RowKsef(row);
    if (marker != KsefMarker::BFK && marker != KsefMarker::OFF) return;
    rows.push_back({sale, TextOf(row, sale ? "LpSprzedazy" : "LpZakupu"),
                    TextOf(row, sale ? "DowodSprzedazy" : "DowodZakupu"), *marker});
  });
  return rows;
}

std::vector<std::string> SalesOfAnotherIssuer(const v7m::IXMLJPK& doc) {
  std::vector<std::string> documents;
  const std::string nip = TaxpayerNip(doc);
  ForEachRow(doc, [&](const TXMLNode& row, bool sale) {
    std::string number;
    if (sale && RowKsef(row, &number) == KsefMarker::NrKSeF && KsefIssuerDiffers(number, nip))
      documents.push_back(TextOf(row, "DowodSprzedazy"));
  });
  return documents;
}

void WarnAboutKsefIssuers(const v7m::IXMLJPK& doc) {
  std::vector<std::string> documents = SalesOfAnotherIssuer(doc);
  if (documents.empty()) return;
  // One box for the whole register; a long list is cut so the box stays readable.
  constexpr std::size_t kShown = 20;
  std::string list;
  for (std::size_t i = 0; i < documents.size() && i < kShown; ++i) list += "\r" + documents[i];
  if (documents.size() > kShown) list += Format("\ri %d innych", documents.size() - kShown);
  ShowWarning(Format("Numer KSeF wystawiono pod innym NIP-em niż NIP podatnika (%s) w dokumentach sprzedaży:%s",
                     TaxpayerNip(doc), list));
}

}  // namespace velkar
