// Internal helpers of the XML layer: name matching and linking nodes without libxml2's
// text-node merging (which frees nodes a caller may still hold).
#pragma once

#include <libxml/tree.h>

#include <cstring>
#include <string_view>

namespace velkar::xml::detail {

// `name` (NUL-terminated) equals `tag`.
inline bool NameIs(const xmlChar* name, std::string_view tag) {
  return name != nullptr && std::strncmp(reinterpret_cast<const char*>(name), tag.data(), tag.size()) == 0 &&
         name[tag.size()] == 0;
}

inline const xmlChar* Href(const xmlNs* ns) { return ns != nullptr && ns->href != nullptr && ns->href[0] ? ns->href : nullptr; }

// Same namespace URI (a missing namespace equals an empty one).
inline bool SameNamespace(const xmlNs* a, const xmlNs* b) {
  if (a == b) return true;
  const xmlChar* ha = Href(a);
  const xmlChar* hb = Href(b);
  if (ha == nullptr || hb == nullptr) return ha == hb;
  return xmlStrEqual(ha, hb) != 0;
}

// An element named `tag` in the namespace `ns`: how the child properties and the items of
// a list are recognised.
inline bool IsNamedElement(const xmlNode* node, std::string_view tag, const xmlNs* ns) {
  return node->type == XML_ELEMENT_NODE && NameIs(node->name, tag) && SameNamespace(node->ns, ns);
}

// Links `node` (not linked anywhere) as a child of `parent` before `before` (at the end when
// null).
inline void Link(xmlNode* parent, xmlNode* node, xmlNode* before) {
  node->parent = parent;
  node->next = before;
  if (before != nullptr) {
    node->prev = before->prev;
    before->prev = node;
  } else {
    node->prev = parent->last;
    parent->last = node;
  }
  if (node->prev != nullptr)
    node->prev->next = node;
  else
    parent->children = node;
}

// Takes `node` out of its parent's child list.
inline void Unlink(xmlNode* node) {
  xmlNode* parent = node->parent;
  if (parent == nullptr) return;
  if (node->prev != nullptr)
    node->prev->next = node->next;
  else
    parent->children = node->next;
  if (node->next != nullptr)
    node->next->prev = node->prev;
  else
    parent->last = node->prev;
  node->parent = node->prev = node->next = nullptr;
}

}  // namespace velkar::xml::detail
