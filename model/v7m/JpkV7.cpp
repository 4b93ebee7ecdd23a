// Entry functions of the JPK_V7M(2) binding.
#include "model/v7m/JpkV7.h"

namespace velkar::v7m {

namespace {
constexpr xml::BindingNamespaces kNamespaces{kTargetNamespace, kEtdNamespace};
}

IXMLJPK NewJpkV7() { return TXMLJPK(xml::NewBoundDocument("JPK", kNamespaces), xml::kUnchecked); }

IXMLJPK LoadJpkV7(const std::string& fileName) {
  return TXMLJPK(xml::LoadBoundDocument(fileName, kNamespaces), xml::kUnchecked);
}

IXMLJPK LoadJpkV7FromXML(std::string_view xml) {
  return TXMLJPK(xml::LoadBoundDocumentFromXML(xml, kNamespaces), xml::kUnchecked);
}

IXMLJPK GetJpkV7(const xml::IXMLDocument& document) {
  document->RegisterPrefix("etd", kEtdNamespace);
  return TXMLJPK(document->DocumentElement(), xml::kUnchecked);
}

}  // namespace velkar::v7m
