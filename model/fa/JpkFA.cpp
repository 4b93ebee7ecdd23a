// Entry functions of the JPK_FA(4) binding.
#include "model/fa/JpkFA.h"

namespace velkar::fa {

namespace {
constexpr xml::BindingNamespaces kNamespaces{kTargetNamespace, kEtdNamespace};
}

IXMLJPKFA NewJpkFA() { return TXMLJPKFA(xml::NewBoundDocument("JPK", kNamespaces), xml::kUnchecked); }

IXMLJPKFA LoadJpkFA(const std::string& fileName) {
  return TXMLJPKFA(xml::LoadBoundDocument(fileName, kNamespaces), xml::kUnchecked);
}

IXMLJPKFA LoadJpkFAFromXML(std::string_view xml) {
  return TXMLJPKFA(xml::LoadBoundDocumentFromXML(xml, kNamespaces), xml::kUnchecked);
}

IXMLJPKFA GetJpkFA(const xml::IXMLDocument& document) {
  document->RegisterPrefix("etd", kEtdNamespace);
  return TXMLJPKFA(document->DocumentElement(), xml::kUnchecked);
}

}  // namespace velkar::fa
