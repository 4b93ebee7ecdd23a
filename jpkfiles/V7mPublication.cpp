// Renaming the earlier JPK_V7M(2) publication's namespace to the current one in memory.
#include "jpkfiles/V7mPublication.h"

#include <libxml/tree.h>

#include "app/ui/UiPort.h"

namespace velkar {

namespace {

bool IsEarlier(const xmlChar* href) { return href && xmlStrEqual(href, BAD_CAST v7m::kTargetNamespace07081); }

void Rename(xmlNs* ns) {
  xmlFree(const_cast<xmlChar*>(ns->href));
  ns->href = xmlStrdup(BAD_CAST v7m::kTargetNamespace);
}

}  // namespace

bool RenameEarlierV7mPublication(const v7m::IXMLJPK& doc) {
  if (!doc) return false;
  const xmlNode* root = doc.ConstDOMNode();
  if (root->type != XML_ELEMENT_NODE || !root->ns || !IsEarlier(root->ns->href)) return false;
  // Elements and attributes point at the declarations: renaming a declaration renames
  // everything in its scope. One walk of the tree finds the declarations below the root too.
  xmlNode* top = doc.DOMNode();
  for (xmlNode* node = top; node;) {
    for (xmlNs* ns = node->nsDef; ns; ns = ns->next)
      if (IsEarlier(ns->href)) Rename(ns);
    xmlNode* child = node->children;
    while (child && child->type != XML_ELEMENT_NODE) child = child->next;
    if (child) {
      node = child;
      continue;
    }
    while (node != top) {
      xmlNode* next = node->next;
      while (next && next->type != XML_ELEMENT_NODE) next = next->next;
      if (next) {
        node = next;
        break;
      }
      node = node->parent;
    }
    if (node == top) break;
  }
  doc.OwnerDocument()->SetModified(true);
  return true;
}

bool OpenEarlierV7mPublication(const v7m::IXMLJPK& doc) {
  if (!RenameEarlierV7mPublication(doc)) return false;
  ShowInfo(kEarlierV7mPublicationMessage);
  return true;
}

}  // namespace velkar
