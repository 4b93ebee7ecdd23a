// JPK_V7M(2) to JPK_V7M(3) in place: the namespaces are renamed on their declarations, so
// every element keeps its place and the register is walked once.
#include "ksef/V7mUpgrade.h"

#include <libxml/tree.h>

#include <array>
#include <cstring>

#include "base/Error.h"
#include "base/Text.h"
#include "jpkfiles/JpkHeaders.h"
#include "ksef/KsefList.h"

namespace velkar {

namespace {

using xml::TXMLNode;

constexpr std::array<const char*, 5> kRefundChoices = {"540", "55", "56", "560", "58"};

// The child's text; "" when absent.
std::string TextOf(const TXMLNode& node, const char* name) {
  TXMLNode child = node ? node.FindChild(name) : TXMLNode();
  return child ? Trim(child.Text()) : std::string();
}

// The period of Naglowek (Rok, Miesiac); raises when the header does not give one.
DateTime PeriodOf(const v7m::IXMLJPK& doc) {
  TXMLNode naglowek = doc.FindChild("Naglowek");
  long long year = 0, month = 0;
  if (!TryParseInt(TextOf(naglowek, "Rok"), year) || !TryParseInt(TextOf(naglowek, "Miesiac"), month) || year < 1900 ||
      year > 9999 || month < 1 || month > 12)
    Fail("Nagłówek pliku nie podaje okresu (Rok, Miesiac)");
  return DateTime{static_cast<int>(year), static_cast<int>(month), 1};
}

void ReplaceHref(xmlNs* ns, const char* uri) {
  xmlFree(const_cast<xmlChar*>(ns->href));
  ns->href = xmlStrdup(reinterpret_cast<const xmlChar*>(uri));
}

bool HrefIs(const xmlNs* ns, const char* uri) {
  return ns->href && std::strcmp(reinterpret_cast<const char*>(ns->href), uri) == 0;
}

// Every declaration of the V7M(2) namespaces, wherever it stands, now names the V7M(3)
// ones; elements refer to their declarations, so they follow without being touched.
void RenameNamespaces(xmlDoc* dom) {
  xmlNode* node = xmlDocGetRootElement(dom);
  while (node) {
    if (node->type == XML_ELEMENT_NODE)
      for (xmlNs* ns = node->nsDef; ns; ns = ns->next) {
        if (HrefIs(ns, v7m::kTargetNamespace) || HrefIs(ns, v7m::kTargetNamespace07081))
          ReplaceHref(ns, v7m::kTargetNamespace3);
        else if (HrefIs(ns, v7m::kEtdNamespace))
          ReplaceHref(ns, v7m::kEtdNamespace3);
      }
    // Depth first without recursion: child, else next sibling, else an ancestor's sibling.
    if (node->type == XML_ELEMENT_NODE && node->children) {
      node = node->children;
      continue;
    }
    while (node && !node->next) node = node->parent && node->parent->type == XML_ELEMENT_NODE ? node->parent : nullptr;
    if (node) node = node->next;
  }
}

// An xsi:schemaLocation naming the V7M(2) schema would point a validator at it.
void RenameSchemaLocation(const TXMLNode& root) {
  constexpr const char* kXsi = "http://www.w3.org/2001/XMLSchema-instance";
  for (const TXMLNode::Attribute& attribute : root.Attributes()) {
    if (attribute.localName != "schemaLocation" || attribute.namespaceURI != kXsi) continue;
    std::string value = ReplaceAll(ReplaceAll(attribute.value, v7m::kTargetNamespace, v7m::kTargetNamespace3),
                                   v7m::kTargetNamespace07081, v7m::kTargetNamespace3);
    root.SetAttribute(attribute.name, value);
  }
}

void SetChildTextIfPresent(const TXMLNode& parent, const char* name, const char* value) {
  if (TXMLNode child = parent ? parent.FindChild(name) : TXMLNode()) child.SetText(value);
}

void UpgradeHeader(const v7m::IXMLJPK& doc) {
  TXMLNode naglowek = doc.FindChild("Naglowek");
  if (TXMLNode kod = naglowek.FindChild("KodFormularza"))
    kod.SetAttribute("kodSystemowy", v7m::SystemCode(v7m::V7Structure::V3));
  SetChildTextIfPresent(naglowek, "WariantFormularza", "3");
  SetChildTextIfPresent(naglowek, "DataWytworzeniaJPK", JpkCreationStampUtc().c_str());
}

// VAT-7 (23); P_57 (refund in 60 days, gone from VAT-7 (23)) becomes the chosen term with
// its value, at its place in the refund choice.
std::string UpgradeDeclaration(const v7m::IXMLJPK& doc, const std::string& refund) {
  TXMLNode deklaracja = doc.FindChild("Deklaracja");
  if (!deklaracja) return {};
  TXMLNode naglowek = deklaracja.FindChild("Naglowek");
  if (TXMLNode kod = naglowek ? naglowek.FindChild("KodFormularzaDekl") : TXMLNode())
    kod.SetAttribute("kodSystemowy", "VAT-7 (23)");
  SetChildTextIfPresent(naglowek, "WariantFormularzaDekl", "23");
  TXMLNode pozycje = deklaracja.FindChild("PozycjeSzczegolowe");
  TXMLNode p57 = pozycje ? pozycje.FindChild("P_57") : TXMLNode();
  if (!p57 || refund.empty()) return {};
  std::string element = "P_" + refund;
  pozycje.AddChildBefore(element, p57).SetText(p57.Text());
  pozycje.ChildNodes().Remove(p57);
  return element;
}

bool HasP57(const v7m::IXMLJPK& doc) {
  TXMLNode deklaracja = doc.FindChild("Deklaracja");
  TXMLNode pozycje = deklaracja ? deklaracja.FindChild("PozycjeSzczegolowe") : TXMLNode();
  return pozycje && pozycje.FindChild("P_57");
}

}  // namespace

bool IsV7m3RefundChoice(const std::string& choice) {
  for (const char* allowed : kRefundChoices)
    if (choice == allowed) return true;
  return false;
}

V7mUpgradeResult UpgradeJpkV7(const v7m::IXMLJPK& doc, const KsefNumberList* list, const std::string& refund) {
  // Every refusal comes before the first change.
  const std::string ns = doc.NamespaceURI();
  if (ns == v7m::kTargetNamespace3) Fail("Plik jest już w strukturze JPK_V7M (3)");
  if (doc.LocalName() != "JPK" || (ns != v7m::kTargetNamespace && ns != v7m::kTargetNamespace07081))
    Fail("Plik nie jest w strukturze JPK_V7M (2)");
  const DateTime period = PeriodOf(doc);
  if (V7StructureForPeriod(period) != v7m::V7Structure::V3)
    Fail("Okres %04d-%02d rozlicza się w strukturze JPK_V7M (2)", period.year, period.month);
  if (!refund.empty() && !IsV7m3RefundChoice(refund))
    Fail("Niepoprawny termin zwrotu: %s (dozwolone: 540, 55, 56, 560, 58)", refund);
  if (refund.empty() && HasP57(doc))
    Fail(
        "Plik ma zwrot w terminie 60 dni (P_57), którego nie ma JPK_V7M (3): wybierz inny termin zwrotu "
        "(--zwrot 540|55|56|560|58; podstawowy to 560, 40 dni)");

  RenameNamespaces(doc.OwnerDocument()->DOMDocument());
  RenameSchemaLocation(doc);
  InitJpkV7Doc(doc);
  UpgradeHeader(doc);
  V7mUpgradeResult result;
  result.refund = UpgradeDeclaration(doc, refund);
  result.numbered = MarkRowsByRules(doc, list);
  result.defaultMarked = RowsWithDefaultMarker(doc);
  return result;
}

}  // namespace velkar
