// Generic nodes of the typed model: TXMLNode (a cheap value handle: a libxml2 node plus a
// shared owner of its document), the child list TXMLNodeList, and the collections of
// repeating elements TXMLNodeCollection / TXMLTypedList<Item> that share their parent's
// element.
#pragma once

#include <libxml/tree.h>

#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "model/xml/XmlDocument.h"
#include "model/xml/XmlErrors.h"

namespace velkar::xml {

class TXMLNodeList;

enum TNodeType {
  ntReserved,
  ntElement,
  ntAttribute,
  ntText,
  ntCData,
  ntEntityRef,
  ntEntity,
  ntProcessingInstr,
  ntComment,
  ntDocument,
  ntDocType,
  ntDocFragment,
  ntNotation,
};

// Passed to a typed node's constructor to bind a node without checking its tag.
struct UncheckedTag {};
inline constexpr UncheckedTag kUnchecked{};

// A view on one DOM node. Copying it copies a pointer and a shared reference to the
// document, which lives as long as any node of it is held. A default-constructed node is
// null; any access through a null node, or through a node of a document that was reloaded
// or deactivated since, raises EXMLDocError. All members are const: a node is a reference,
// changing the document through it does not change the reference.
class TXMLNode {
 public:
  TXMLNode() = default;
  TXMLNode(xmlNode* node, std::shared_ptr<TXMLDocument> document);
  TXMLNode(const TXMLNode& node, UncheckedTag) : TXMLNode(node) {}

  explicit operator bool() const { return node_ != nullptr; }
  bool IsNull() const { return node_ == nullptr; }
  friend bool operator==(const TXMLNode& a, const TXMLNode& b) { return a.node_ == b.node_; }

  TNodeType NodeType() const;
  std::string NodeName() const;  // with prefix: "etd:NIP"
  std::string LocalName() const;
  std::string Prefix() const;
  std::string NamespaceURI() const;
  bool HasChildNodes() const;
  // An element whose children are text only (or that has none).
  bool IsTextElement() const;

  // Element: the text of its content; text, comment: the node's value.
  std::string Text() const;
  // Element: replaces its content by one text node (no node for ""); text, comment: the value.
  void SetText(std::string_view text) const;

  // Attributes without namespace, or "prefix:name" for a declared prefix.
  bool HasAttribute(std::string_view name) const;
  std::string GetAttribute(std::string_view name) const;  // "" when absent
  void SetAttribute(std::string_view name, std::string_view value) const;
  void RemoveAttribute(std::string_view name) const;
  // Sets the attribute `qualifiedName` ("xsi:schemaLocation" or "typ") in `namespaceURI`
  // ("" = none), declaring the prefix on this element when the URI is not in scope.
  void SetAttributeNS(std::string_view qualifiedName, std::string_view namespaceURI, std::string_view value) const;
  struct Attribute {
    std::string name;  // with prefix
    std::string localName;
    std::string namespaceURI;
    std::string value;
  };
  // The element's attributes in document order (namespace declarations are not attributes
  // here: see FindNamespaceDecl / FindNamespaceURI).
  std::vector<Attribute> Attributes() const;

  // The child list (all node kinds, in document order).
  TXMLNodeList ChildNodes() const;
  // Non-creating look-up of a child element by name ("K_10" in this node's namespace,
  // "etd:NIP" in the namespace the prefix is bound to): a null node when absent.
  TXMLNode FindChild(std::string_view tagName) const;
  // Creates a child element (same naming rules) at child position `index` (-1 or past the
  // end: appended).
  TXMLNode AddChild(std::string_view tagName, int index = -1) const;
  // Creates a child element directly before the child `before` (appended when null).
  TXMLNode AddChildBefore(std::string_view tagName, const TXMLNode& before) const;
  TXMLNode ParentNode() const;
  TXMLNode NextSibling() const;
  TXMLNode PreviousSibling() const;
  // The next / previous sibling element with the same local name and namespace (row to row).
  TXMLNode NextSiblingOfSameName() const;

  // Values of child elements by name, with automatic creation as for typed properties
  // (the getters too create a missing child). Conversions as in XmlValues.h.
  std::string ChildText(std::string_view tagName) const;
  void SetChildText(std::string_view tagName, std::string_view value) const;
  double ChildFloat(std::string_view tagName) const;  // XmlStrToFloat
  void SetChildFloat(std::string_view tagName, double value) const;
  int32_t ChildInt(std::string_view tagName) const;
  void SetChildInt(std::string_view tagName, int32_t value) const;
  int64_t ChildInt64(std::string_view tagName) const;
  void SetChildInt64(std::string_view tagName, int64_t value) const;
  bool ChildBool(std::string_view tagName) const;
  void SetChildBool(std::string_view tagName, bool value) const;

  // Namespaces. `prefix` "" means the default namespace.
  void DeclareNamespace(std::string_view prefix, std::string_view uri) const;
  // The URI bound to `prefix` as seen from this element ("" when unbound).
  std::string FindNamespaceURI(std::string_view prefix) const;
  // The element (this one or an ancestor) that declares `uri`, and the prefix it uses
  // ("" for a default namespace declaration); a null node when none does.
  TXMLNode FindNamespaceDecl(std::string_view uri, std::string* prefix = nullptr) const;

  std::shared_ptr<TXMLDocument> OwnerDocument() const { return document_; }
  // The libxml2 node. Taking it forgets the document's cached child positions, so the
  // caller may change the tree directly.
  xmlNode* DOMNode() const;
  const xmlNode* ConstDOMNode() const { return Live(); }

 protected:
  // Raises EIntfCastError unless this is null or an element named `tag`.
  void CheckCast(const char* tag, const char* className) const;

  // Typed-property support. `tag` is the element's local name (a string literal).
  xmlNode* Live() const {
    if (node_ == nullptr || document_ == nullptr || generation_ != document_->Generation()) Dead();
    return node_;
  }
  xmlNode* Child(std::string_view tag) const;  // own namespace, created when missing
  xmlNode* EtdChild(std::string_view tag, int position) const;
  TXMLNode Wrap(xmlNode* node) const { return TXMLNode(node, document_, generation_); }
  std::string ReadText(xmlNode* element) const;
  double ReadFloat(xmlNode* element) const;
  double ReadFloatStrict(xmlNode* element) const;
  int32_t ReadInt(xmlNode* element) const;
  int64_t ReadInt64(xmlNode* element) const;
  bool ReadBool(xmlNode* element) const;
  void WriteText(xmlNode* element, std::string_view value) const;
  void WriteFloat(xmlNode* element, double value) const;
  void WriteInt(xmlNode* element, int64_t value) const;
  std::string ReadAttribute(const char* name) const;
  void WriteAttribute(const char* name, std::string_view value) const;

 private:
  friend class TXMLNodeList;
  friend class TXMLNodeCollection;
  friend class TXMLDocument;
  TXMLNode(xmlNode* node, std::shared_ptr<TXMLDocument> document, uint32_t generation)
      : node_(node), document_(std::move(document)), generation_(generation) {}
  [[noreturn]] void Dead() const;
  xmlNode* ChildByName(std::string_view tagName, bool create) const;
  xmlNode* NewChild(std::string_view tagName) const;

  xmlNode* node_ = nullptr;
  std::shared_ptr<TXMLDocument> document_;
  uint32_t generation_ = 0;
};

// The children of a node, all kinds, in order. Counting and indexing remember the last
// position, so walking i = 0, 1, 2 ... costs one step per item.
class TXMLNodeList {
 public:
  explicit TXMLNodeList(TXMLNode owner) : owner_(std::move(owner)) {}

  int Count() const;
  // The index-th child; out of range raises EXMLDocError.
  TXMLNode operator[](int index) const { return Get(index); }
  TXMLNode Get(int index) const;
  // The child element of that name, created when missing (automatic creation on), else
  // EXMLDocError "Node \"%s\" not found".
  TXMLNode operator[](std::string_view tagName) const { return Nodes(tagName); }
  TXMLNode Nodes(std::string_view tagName) const;
  // Non-creating look-ups: a null node when absent.
  TXMLNode FindNode(std::string_view tagName) const;
  TXMLNode FindNode(std::string_view localName, std::string_view namespaceURI) const;
  int IndexOf(const TXMLNode& child) const;  // -1 when not a child
  TXMLNode First() const;
  TXMLNode Last() const;

  // Link a node created by the document (or moved from elsewhere in it) as a child.
  void Add(const TXMLNode& node) const;
  void Insert(int index, const TXMLNode& node) const;
  void InsertBefore(const TXMLNode& node, const TXMLNode& before) const;
  // Take children out of the tree; the removed node stays usable (and can be re-added).
  TXMLNode Remove(const TXMLNode& child) const;
  void Delete(int index) const;
  void Delete(std::string_view tagName) const;  // the first child element of that name, if any
  void Clear() const;

  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = TXMLNode;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = TXMLNode;
    iterator() = default;
    iterator(xmlNode* node, const TXMLNode* owner) : node_(node), owner_(owner) {}
    TXMLNode operator*() const { return owner_->Wrap(node_); }
    iterator& operator++() {
      node_ = node_->next;
      return *this;
    }
    iterator operator++(int) {
      iterator old = *this;
      node_ = node_->next;
      return old;
    }
    bool operator==(const iterator& other) const { return node_ == other.node_; }

   private:
    xmlNode* node_ = nullptr;
    const TXMLNode* owner_ = nullptr;
  };
  iterator begin() const { return iterator(owner_.Live()->children, &owner_); }
  iterator end() const { return iterator(nullptr, &owner_); }

 private:
  TXMLNode owner_;
};

// The repeating child elements named `itemTag` (in the parent's namespace) of an element.
// The collection shares the parent's element: items are direct children mixed with the
// parent's other children. Counting and indexing remember the last position.
class TXMLNodeCollection : public TXMLNode {
 public:
  TXMLNodeCollection() = default;
  TXMLNodeCollection(const TXMLNode& parent, const char* itemTag) : TXMLNode(parent), itemTag_(itemTag) {}

  const char* ItemTag() const { return itemTag_; }
  int Count() const;
  TXMLNode Nodes(int index) const;  // the index-th item; out of range raises EXMLDocError
  void Clear() const;               // removes every item
  void Delete(int index) const;
  TXMLNode Remove(const TXMLNode& item) const;

 protected:
  xmlNode* ItemAt(int index) const;
  xmlNode* FirstItem() const;
  xmlNode* NextItem(xmlNode* item) const;
  xmlNode* NewItem() const;                             // appended after every child
  xmlNode* NewItemAt(int childIndex) const;             // at child position, all children counted
  xmlNode* NewItemBefore(const TXMLNode& before) const;  // before that child (appended if null)

 private:
  const char* itemTag_ = "";
};

// A typed list: Add / Insert / Items of the item class, and iteration that walks the
// siblings (linear in the number of children).
template <typename Item>
class TXMLTypedList : public TXMLNodeCollection {
 public:
  TXMLTypedList() = default;
  explicit TXMLTypedList(const TXMLNode& parent) : TXMLNodeCollection(parent, Item::kTag) {}

  // A new item appended after every existing child of the parent element.
  Item Add() const { return Item(Wrap(NewItem()), kUnchecked); }
  // A new item at child position `index` of the parent element, all its children counted.
  Item Insert(int index) const { return Item(Wrap(NewItemAt(index)), kUnchecked); }
  // A new item directly before the child `before` (for example `SprzedazCtrl`).
  Item InsertBefore(const TXMLNode& before) const { return Item(Wrap(NewItemBefore(before)), kUnchecked); }
  // The index-th item, counting only the items.
  Item operator[](int index) const { return Items(index); }
  Item Items(int index) const { return Item(Wrap(ItemAt(index)), kUnchecked); }
  // The first item, or a null item when there is none (does not create).
  Item First() const { return Item(Wrap(FirstItem()), kUnchecked); }

  class iterator {
   public:
    using iterator_category = std::forward_iterator_tag;
    using value_type = Item;
    using difference_type = std::ptrdiff_t;
    using pointer = void;
    using reference = Item;
    iterator() = default;
    iterator(xmlNode* node, const TXMLTypedList* list) : node_(node), list_(list) {}
    Item operator*() const { return Item(list_->Wrap(node_), kUnchecked); }
    iterator& operator++() {
      node_ = list_->NextItem(node_);
      return *this;
    }
    bool operator==(const iterator& other) const { return node_ == other.node_; }

   private:
    xmlNode* node_ = nullptr;
    const TXMLTypedList* list_ = nullptr;
  };
  // Items in document order. Do not add or remove items of this list while iterating.
  iterator begin() const { return iterator(FirstItem(), this); }
  iterator end() const { return iterator(nullptr, this); }
};

// Casts a generic node to a typed one; a node of another element raises EIntfCastError.
template <typename Typed>
Typed Cast(const TXMLNode& node) {
  return Typed(node);
}

}  // namespace velkar::xml
