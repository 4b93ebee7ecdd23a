// Entry functions of the JPK_V7M binding.
#include "model/v7m/JpkV7.h"

namespace velkar::v7m {

namespace {

xml::BindingNamespaces NamespacesOf(V7Structure structure) {
  return {TargetNamespace(structure), EtdNamespace(structure)};
}

// A loaded document reads its etd children in the namespace of its own structure.
IXMLJPK TypedRoot(const TXMLNode& root) {
  if (root && StructureOfJpkV7(root) == V7Structure::V3) root.OwnerDocument()->RegisterPrefix("etd", kEtdNamespace3);
  return TXMLJPK(root, xml::kUnchecked);
}

}  // namespace

const char* TargetNamespace(V7Structure structure) {
  return structure == V7Structure::V3 ? kTargetNamespace3 : kTargetNamespace;
}

const char* EtdNamespace(V7Structure structure) {
  return structure == V7Structure::V3 ? kEtdNamespace3 : kEtdNamespace;
}

const char* SystemCode(V7Structure structure) { return structure == V7Structure::V3 ? "JPK_V7M (3)" : "JPK_V7M (2)"; }

std::optional<V7Structure> StructureOfJpkV7(const xml::TXMLNode& root) {
  if (!root) return std::nullopt;
  std::string uri = root.NamespaceURI();
  if (uri == kTargetNamespace) return V7Structure::V2;
  if (uri == kTargetNamespace3) return V7Structure::V3;
  return std::nullopt;
}

IXMLJPK NewJpkV7(V7Structure structure) {
  return TXMLJPK(xml::NewBoundDocument("JPK", NamespacesOf(structure)), xml::kUnchecked);
}

IXMLJPK LoadJpkV7(const std::string& fileName) {
  return TypedRoot(xml::LoadBoundDocument(fileName, NamespacesOf(V7Structure::V2)));
}

IXMLJPK LoadJpkV7FromXML(std::string_view xml) {
  return TypedRoot(xml::LoadBoundDocumentFromXML(xml, NamespacesOf(V7Structure::V2)));
}

IXMLJPK GetJpkV7(const xml::IXMLDocument& document) {
  TXMLNode root = document->DocumentElement();
  document->RegisterPrefix("etd", StructureOfJpkV7(root) == V7Structure::V3 ? kEtdNamespace3 : kEtdNamespace);
  return TXMLJPK(root, xml::kUnchecked);
}

}  // namespace velkar::v7m
