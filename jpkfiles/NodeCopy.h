// Copying nodes from one JPK document into another under the target document's own
// namespace prefixes: used by the namespace-prefix repair and by the JPK_V7M editor.
#pragma once

#include <string>

#include "model/xml/XmlNode.h"

namespace velkar {

// A new node of `targetDoc` reproducing `source` (a node of another document); not yet
// linked into the tree. `namespaceURI` is the document kind's target namespace:
// - an element of that namespace is named with the prefix the target root declares for it
//   (no prefix when the root declares it as the default namespace); an element of another
//   namespace (etd) keeps its local name and is written with the prefix the target root
//   declares for that namespace;
// - attributes are copied; namespace declarations the target root already has are dropped;
// - text, CDATA, comments, entity references, processing instructions and fragments are
//   copied; with `deep` the children are cloned too.
// Any other node type raises xml::EXMLDocError "Invalid node type".
xml::TXMLNode CloneJpkNode(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI,
                           const xml::TXMLNode& source, bool deep);

// Appends copies of all children of `source`, recursively, to `target` (a node of
// `targetDoc`). Linear in the number of nodes copied.
void CopyJpkNodes(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI, const xml::TXMLNode& target,
                  const xml::TXMLNode& source);

}  // namespace velkar
