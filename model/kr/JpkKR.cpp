// Entry functions of the JPK_KR(1) binding.
#include "model/kr/JpkKR.h"

namespace velkar::kr {

namespace {
constexpr xml::BindingNamespaces kNamespaces{kTargetNamespace, kEtdNamespace};
}

IXMLJPKKR NewJpkKR() { return TXMLJPKKR(xml::NewBoundDocument("JPK", kNamespaces), xml::kUnchecked); }

IXMLJPKKR LoadJpkKR(const std::string& fileName) {
  return TXMLJPKKR(xml::LoadBoundDocument(fileName, kNamespaces), xml::kUnchecked);
}

IXMLJPKKR LoadJpkKRFromXML(std::string_view xml) {
  return TXMLJPKKR(xml::LoadBoundDocumentFromXML(xml, kNamespaces), xml::kUnchecked);
}

IXMLJPKKR GetJpkKR(const xml::IXMLDocument& document) {
  document->RegisterPrefix("etd", kEtdNamespace);
  return TXMLJPKKR(document->DocumentElement(), xml::kUnchecked);
}

}  // namespace velkar::kr
