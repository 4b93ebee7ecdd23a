// Entry functions of the JPK_MAG(1) binding.
#include "model/mag/JpkMAG.h"

namespace velkar::mag {

namespace {
constexpr xml::BindingNamespaces kNamespaces{kTargetNamespace, kEtdNamespace};
}

IXMLJPKMAG NewJpkMAG() { return TXMLJPKMAG(xml::NewBoundDocument("JPK", kNamespaces), xml::kUnchecked); }

IXMLJPKMAG LoadJpkMAG(const std::string& fileName) {
  return TXMLJPKMAG(xml::LoadBoundDocument(fileName, kNamespaces), xml::kUnchecked);
}

IXMLJPKMAG LoadJpkMAGFromXML(std::string_view xml) {
  return TXMLJPKMAG(xml::LoadBoundDocumentFromXML(xml, kNamespaces), xml::kUnchecked);
}

IXMLJPKMAG GetJpkMAG(const xml::IXMLDocument& document) {
  document->RegisterPrefix("etd", kEtdNamespace);
  return TXMLJPKMAG(document->DocumentElement(), xml::kUnchecked);
}

}  // namespace velkar::mag
