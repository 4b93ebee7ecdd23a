// The namespace-aware node copier, on libxml2 directly.
#include "jpkfiles/NodeCopy.h"

#include <libxml/tree.h>

#include "model/xml/XmlErrors.h"

namespace velkar {

namespace {

struct Target {
  xmlDoc* doc;
  xmlNode* root;  // may be null while the target document has no root yet
  const xmlChar* namespaceURI;
};

// The declaration of `href` the target root makes (or sees), or null.
xmlNs* RootDeclaration(const Target& target, const xmlChar* href) {
  if (!target.root || !href) return nullptr;
  return xmlSearchNsByHref(target.doc, target.root, href);
}

bool RootDeclares(const Target& target, const xmlChar* href) {
  if (!target.root) return false;
  for (xmlNs* ns = target.root->nsDef; ns; ns = ns->next)
    if (xmlStrEqual(ns->href, href)) return true;
  return false;
}

// The namespace `source` is in, as the new node `element` (to become a child of `parent`,
// null when it stays alone) may use it: the target root's declaration, else one in scope
// at `parent`, else a declaration of its own under the source's prefix.
xmlNs* UsableNamespace(const Target& target, xmlNode* parent, xmlNode* element, const xmlNs* source) {
  if (!source || !source->href) return nullptr;
  if (xmlNs* ns = RootDeclaration(target, source->href)) return ns;
  for (xmlNs* ns = element->nsDef; ns; ns = ns->next)
    if (xmlStrEqual(ns->href, source->href) && xmlStrEqual(ns->prefix, source->prefix)) return ns;
  if (parent && parent->type == XML_ELEMENT_NODE)
    if (xmlNs* ns = xmlSearchNsByHref(target.doc, parent, source->href)) return ns;
  return xmlNewNs(element, source->href, source->prefix);
}

xmlNode* CloneElement(const Target& target, xmlNode* parent, const xmlNode* source) {
  xmlNode* copy = xmlNewDocNode(target.doc, nullptr, source->name, nullptr);
  if (!copy) throw xml::EXMLDocError("Brak pamięci na kopię węzła XML");
  // Declarations the source makes and the target root does not (for namespaces its
  // descendants use); those the root already makes are dropped.
  for (const xmlNs* decl = source->nsDef; decl; decl = decl->next)
    if (decl->href && !RootDeclares(target, decl->href)) xmlNewNs(copy, decl->href, decl->prefix);
  if (source->ns && xmlStrEqual(source->ns->href, target.namespaceURI)) {
    // The document's own namespace: the target root's prefix for it, or none when the root
    // declares it as its default namespace.
    xmlNs* own = RootDeclaration(target, target.namespaceURI);
    xmlSetNs(copy, own ? own : UsableNamespace(target, parent, copy, source->ns));
  } else if (source->ns) {
    // Another namespace (etd): the local name, under the prefix the target root declares.
    xmlSetNs(copy, UsableNamespace(target, parent, copy, source->ns));
  }
  for (const xmlAttr* attr = source->properties; attr; attr = attr->next) {
    xmlChar* value = xmlNodeGetContent(reinterpret_cast<const xmlNode*>(attr));
    xmlNs* ns = attr->ns ? UsableNamespace(target, parent, copy, attr->ns) : nullptr;
    xmlNewNsProp(copy, ns, attr->name, value);
    xmlFree(value);
  }
  return copy;
}

xmlNode* CloneOne(const Target& target, xmlNode* parent, const xmlNode* source) {
  switch (source->type) {
    case XML_ELEMENT_NODE:
      return CloneElement(target, parent, source);
    case XML_TEXT_NODE:
      return xmlNewDocText(target.doc, source->content);
    case XML_CDATA_SECTION_NODE:
      return xmlNewCDataBlock(target.doc, source->content, source->content ? xmlStrlen(source->content) : 0);
    case XML_COMMENT_NODE:
      return xmlNewDocComment(target.doc, source->content);
    case XML_ENTITY_REF_NODE:
      return xmlNewReference(target.doc, source->name);
    case XML_PI_NODE:
      return xmlNewDocPI(target.doc, source->name, source->content);
    case XML_DOCUMENT_FRAG_NODE:
      return xmlNewDocFragment(target.doc);
    default:
      throw xml::EXMLDocError("Invalid node type");
  }
}

// Entity references carry no children of their own in the copy: the reference is enough.
bool HasCopiedChildren(const xmlNode* node) { return node->type != XML_ENTITY_REF_NODE && node->children; }

void CopyChildren(const Target& target, xmlNode* parent, const xmlNode* source) {
  for (const xmlNode* child = source->children; child; child = child->next) {
    xmlNode* copy = CloneOne(target, parent, child);
    if (!copy) throw xml::EXMLDocError("Brak pamięci na kopię węzła XML");
    // xmlAddChild merges adjacent text and then frees `copy`: use what it returns.
    xmlNode* added = xmlAddChild(parent, copy);
    if (!added) {
      xmlFreeNode(copy);
      throw xml::EXMLDocError("Invalid node type");
    }
    if (HasCopiedChildren(child) && added->type != XML_TEXT_NODE) CopyChildren(target, added, child);
  }
}

// Gives a node made here to the target document until the caller links it, so that an
// unused copy is freed with the document: it takes the place of a node the document owns.
xmlNode* Adopt(const xml::IXMLDocument& targetDoc, xmlNode* node) {
  xmlNode* place = targetDoc->CreateComment("").DOMNode();
  if (xmlReplaceNode(place, node)) xmlFreeNode(place);
  return node;
}

Target TargetOf(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI) {
  if (!targetDoc || !targetDoc->Active()) throw xml::EXMLDocError("Dokument XML nie jest aktywny");
  xmlDoc* doc = targetDoc->DOMDocument();
  return {doc, xmlDocGetRootElement(doc), BAD_CAST namespaceURI.c_str()};
}

}  // namespace

xml::TXMLNode CloneJpkNode(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI,
                           const xml::TXMLNode& source, bool deep) {
  Target target = TargetOf(targetDoc, namespaceURI);
  const xmlNode* from = source.ConstDOMNode();
  xmlNode* copy = CloneOne(target, nullptr, from);
  if (!copy) throw xml::EXMLDocError("Brak pamięci na kopię węzła XML");
  if (deep && HasCopiedChildren(from)) {
    try {
      CopyChildren(target, copy, from);
    } catch (...) {
      xmlFreeNode(copy);
      throw;
    }
  }
  targetDoc->SetModified(true);
  return xml::TXMLNode(Adopt(targetDoc, copy), targetDoc);
}

void CopyJpkNodes(const xml::IXMLDocument& targetDoc, const std::string& namespaceURI, const xml::TXMLNode& target,
                  const xml::TXMLNode& source) {
  Target where = TargetOf(targetDoc, namespaceURI);
  CopyChildren(where, target.DOMNode(), source.ConstDOMNode());
  targetDoc->SetModified(true);
}

}  // namespace velkar
