// What every binding's entry functions share: a new document whose root element is in the
// binding's namespace, or a loaded one, with the binding's prefixes registered.
#pragma once

#include <string>
#include <string_view>

#include "model/xml/XmlDocument.h"
#include "model/xml/XmlNode.h"

namespace velkar::xml {

struct BindingNamespaces {
  const char* target;  // the root's namespace, written as the default namespace
  const char* etd;     // the common-definitions namespace, prefix "etd"
};

// A new active document, XML version 1.0, with the root element `rootTag` created in
// `ns.target` without prefix. Returns the root.
TXMLNode NewBoundDocument(const char* rootTag, const BindingNamespaces& ns);
// A document loaded from the file (TXMLDocument::LoadFromFile) / from text; the root
// element is taken as it is. Returns the root.
TXMLNode LoadBoundDocument(const std::string& fileName, const BindingNamespaces& ns);
TXMLNode LoadBoundDocumentFromXML(std::string_view xml, const BindingNamespaces& ns);

}  // namespace velkar::xml
