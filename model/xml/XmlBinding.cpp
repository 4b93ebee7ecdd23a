// Entry-function support shared by the four JPK bindings.
#include "model/xml/XmlBinding.h"

namespace velkar::xml {

namespace {

std::shared_ptr<TXMLDocument> NewDocument(const BindingNamespaces& ns) {
  auto document = TXMLDocument::Create();
  document->RegisterPrefix("etd", ns.etd);
  return document;
}

}  // namespace

TXMLNode NewBoundDocument(const char* rootTag, const BindingNamespaces& ns) {
  auto document = NewDocument(ns);
  document->SetDocumentElement(document->CreateElement(rootTag, ns.target));
  document->SetModified(false);
  return document->DocumentElement();
}

TXMLNode LoadBoundDocument(const std::string& fileName, const BindingNamespaces& ns) {
  auto document = NewDocument(ns);
  document->LoadFromFile(fileName);
  return document->DocumentElement();
}

TXMLNode LoadBoundDocumentFromXML(std::string_view xml, const BindingNamespaces& ns) {
  auto document = NewDocument(ns);
  document->LoadFromXML(xml);
  return document->DocumentElement();
}

}  // namespace velkar::xml
