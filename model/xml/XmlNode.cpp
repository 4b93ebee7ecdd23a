// Generic nodes, child lists and collections of the typed model.
#include "model/xml/XmlNode.h"

#include <charconv>

#include "model/xml/XmlTreeOps.h"
#include "model/xml/XmlValues.h"

namespace velkar::xml {

using detail::IsNamedElement;
using detail::NameIs;

namespace {

const char* AsChars(const xmlChar* text) { return text != nullptr ? reinterpret_cast<const char*>(text) : ""; }

// The text of an element without copying in the usual case of one text child; otherwise
// the DOM text of the content, kept in `scratch`.
std::string_view TextView(const xmlNode* node, std::string& scratch) {
  if (node->type != XML_ELEMENT_NODE) return AsChars(node->content);
  const xmlNode* child = node->children;
  if (child == nullptr) return {};
  if (child->next == nullptr && (child->type == XML_TEXT_NODE || child->type == XML_CDATA_SECTION_NODE))
    return AsChars(child->content);
  xmlChar* content = xmlNodeGetContent(node);
  scratch = AsChars(content);
  xmlFree(content);
  return scratch;
}

struct QName {
  std::string_view prefix;
  std::string_view local;
};

QName SplitName(std::string_view tagName) {
  size_t colon = tagName.find(':');
  if (colon == std::string_view::npos) return {{}, tagName};
  return {tagName.substr(0, colon), tagName.substr(colon + 1)};
}

[[noreturn]] void NotFound(std::string_view tagName) {
  throw EXMLDocError(Format("Node \"%s\" not found", std::string(tagName)));
}

[[noreturn]] void IndexOutOfRange(int index) {
  throw EXMLDocError(Format("Indeks listy węzłów poza zakresem (%d)", index));
}

xmlNode* RootOf(xmlNode* node) {
  while (node->parent != nullptr && node->parent->type == XML_ELEMENT_NODE) node = node->parent;
  return node;
}

}  // namespace

// ---- TXMLNode: identity and liveness ----

TXMLNode::TXMLNode(xmlNode* node, std::shared_ptr<TXMLDocument> document)
    : node_(node), document_(node != nullptr ? std::move(document) : nullptr) {
  if (document_ != nullptr) generation_ = document_->Generation();
}

void TXMLNode::Dead() const {
  if (node_ == nullptr || document_ == nullptr) throw EXMLDocError("Odwołanie do pustego węzła XML");
  throw EXMLDocError("Węzeł XML należy do dokumentu, który zamknięto lub wczytano ponownie");
}

void TXMLNode::CheckCast(const char* tag, const char* className) const {
  if (node_ == nullptr) return;
  const xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE || !NameIs(node->name, tag))
    throw EIntfCastError(Format("Interfejs nie jest obsługiwany: węzeł \"%s\" nie jest %s", NodeName(), className));
}

TNodeType TXMLNode::NodeType() const {
  switch (Live()->type) {
    case XML_ELEMENT_NODE: return ntElement;
    case XML_ATTRIBUTE_NODE: return ntAttribute;
    case XML_TEXT_NODE: return ntText;
    case XML_CDATA_SECTION_NODE: return ntCData;
    case XML_ENTITY_REF_NODE: return ntEntityRef;
    case XML_ENTITY_NODE: return ntEntity;
    case XML_PI_NODE: return ntProcessingInstr;
    case XML_COMMENT_NODE: return ntComment;
    case XML_DOCUMENT_NODE: return ntDocument;
    case XML_DOCUMENT_TYPE_NODE: return ntDocType;
    case XML_DOCUMENT_FRAG_NODE: return ntDocFragment;
    case XML_NOTATION_NODE: return ntNotation;
    default: return ntReserved;
  }
}

std::string TXMLNode::NodeName() const {
  const xmlNode* node = Live();
  switch (node->type) {
    case XML_TEXT_NODE: return "#text";
    case XML_CDATA_SECTION_NODE: return "#cdata-section";
    case XML_COMMENT_NODE: return "#comment";
    default: break;
  }
  std::string name;
  if (node->type == XML_ELEMENT_NODE && node->ns != nullptr && node->ns->prefix != nullptr) {
    name = AsChars(node->ns->prefix);
    name += ':';
  }
  return name + AsChars(node->name);
}

std::string TXMLNode::LocalName() const { return AsChars(Live()->name); }

std::string TXMLNode::Prefix() const {
  const xmlNode* node = Live();
  return node->type == XML_ELEMENT_NODE && node->ns != nullptr ? AsChars(node->ns->prefix) : "";
}

std::string TXMLNode::NamespaceURI() const {
  const xmlNode* node = Live();
  return node->type == XML_ELEMENT_NODE && node->ns != nullptr ? AsChars(node->ns->href) : "";
}

bool TXMLNode::HasChildNodes() const { return Live()->children != nullptr; }

bool TXMLNode::IsTextElement() const {
  const xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) return false;
  for (const xmlNode* c = node->children; c != nullptr; c = c->next)
    if (c->type != XML_TEXT_NODE && c->type != XML_CDATA_SECTION_NODE) return false;
  return true;
}

// ---- text ----

std::string TXMLNode::Text() const { return ReadText(Live()); }

void TXMLNode::SetText(std::string_view text) const {
  xmlNode* node = Live();
  if (node->type == XML_ELEMENT_NODE) {
    WriteText(node, text);
  } else {
    std::string cleaned;
    text = XmlCleanText(text, cleaned, NodeName());
    xmlNodeSetContentLen(node, BAD_CAST text.data(), static_cast<int>(text.size()));
    document_->SetModified(true);
  }
}

std::string TXMLNode::ReadText(xmlNode* element) const {
  std::string scratch;
  std::string_view text = TextView(element, scratch);
  return scratch.empty() ? std::string(text) : scratch;
}

double TXMLNode::ReadFloat(xmlNode* element) const {
  std::string scratch;
  return XmlStrToFloat(TextView(element, scratch));
}

double TXMLNode::ReadFloatStrict(xmlNode* element) const {
  std::string scratch;
  return XmlStrToFloatStrict(TextView(element, scratch));
}

int32_t TXMLNode::ReadInt(xmlNode* element) const {
  std::string scratch;
  return XmlStrToInt(TextView(element, scratch));
}

int64_t TXMLNode::ReadInt64(xmlNode* element) const {
  std::string scratch;
  return XmlStrToInt64(TextView(element, scratch));
}

bool TXMLNode::ReadBool(xmlNode* element) const {
  std::string scratch;
  return XmlStrToBool(TextView(element, scratch));
}

void TXMLNode::WriteText(xmlNode* element, std::string_view value) const {
  std::string cleaned;
  value = XmlCleanText(value, cleaned, AsChars(element->name));
  TXMLDocument& document = *document_;
  xmlNode* child = element->children;
  if (child != nullptr && child->next == nullptr && child->type == XML_TEXT_NODE && !value.empty()) {
    // The usual case: the one text node keeps its identity, only its value changes.
    xmlNodeSetContentLen(child, BAD_CAST value.data(), static_cast<int>(value.size()));
  } else {
    while (element->children != nullptr) document.Discard(element->children);
    if (!value.empty()) {
      xmlNode* text = xmlNewDocTextLen(document.doc_, BAD_CAST value.data(), static_cast<int>(value.size()));
      if (text == nullptr) throw EXMLDocError("Brak pamięci na węzeł XML");
      detail::Link(element, text, nullptr);
    }
    document.ChildrenChanged(element);
  }
  document.modified_ = true;
}

void TXMLNode::WriteFloat(xmlNode* element, double value) const {
  char buffer[40];
  size_t n = XmlFloatToChars(value, buffer);
  WriteText(element, std::string_view(buffer, n));
}

void TXMLNode::WriteInt(xmlNode* element, int64_t value) const {
  char buffer[24];
  auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  WriteText(element, std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
}

// ---- attributes ----

namespace {

xmlAttr* FindAttribute(xmlNode* node, std::string_view name) {
  QName q = SplitName(name);
  const xmlChar* href = nullptr;
  if (!q.prefix.empty()) {
    std::string prefix(q.prefix);
    xmlNs* ns = xmlSearchNs(node->doc, node, BAD_CAST prefix.c_str());
    if (ns == nullptr) return nullptr;
    href = ns->href;
  }
  for (xmlAttr* a = node->properties; a != nullptr; a = a->next) {
    if (!NameIs(a->name, q.local)) continue;
    const xmlChar* attrHref = detail::Href(a->ns);
    if (href == nullptr ? attrHref == nullptr : (attrHref != nullptr && xmlStrEqual(attrHref, href))) return a;
  }
  return nullptr;
}

std::string AttributeValue(const xmlAttr* attribute) {
  const xmlNode* child = attribute->children;
  if (child != nullptr && child->next == nullptr && child->type == XML_TEXT_NODE) return AsChars(child->content);
  xmlChar* value = xmlNodeListGetString(attribute->doc, attribute->children, 1);
  std::string result = AsChars(value);
  xmlFree(value);
  return result;
}

}  // namespace

bool TXMLNode::HasAttribute(std::string_view name) const {
  xmlNode* node = Live();
  return node->type == XML_ELEMENT_NODE && FindAttribute(node, name) != nullptr;
}

std::string TXMLNode::GetAttribute(std::string_view name) const {
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) return "";
  const xmlAttr* attribute = FindAttribute(node, name);
  return attribute != nullptr ? AttributeValue(attribute) : "";
}

void TXMLNode::SetAttribute(std::string_view name, std::string_view value) const {
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) throw EXMLDocError("Atrybuty mają tylko elementy XML");
  std::string cleaned;
  std::string text(XmlCleanText(value, cleaned, name));
  QName q = SplitName(name);
  std::string local(q.local);
  xmlNs* ns = nullptr;
  if (!q.prefix.empty()) {
    std::string prefix(q.prefix);
    ns = xmlSearchNs(node->doc, node, BAD_CAST prefix.c_str());
    if (ns == nullptr) {
      std::string uri = document_->RegisteredPrefixURI(q.prefix);
      if (uri.empty()) throw EXMLDocError(Format("Nieznany prefiks przestrzeni nazw \"%s\"", prefix));
      ns = xmlNewNs(RootOf(node), BAD_CAST uri.c_str(), BAD_CAST prefix.c_str());
    }
  }
  // xmlSetNsProp stores the value as text (no entity parsing); the writer escapes it.
  if (xmlSetNsProp(node, ns, BAD_CAST local.c_str(), BAD_CAST text.c_str()) == nullptr)
    throw EXMLDocError("Nie można ustawić atrybutu XML");
  document_->modified_ = true;
}

void TXMLNode::RemoveAttribute(std::string_view name) const {
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) return;
  if (xmlAttr* attribute = FindAttribute(node, name); attribute != nullptr) {
    xmlRemoveProp(attribute);
    document_->modified_ = true;
  }
}

void TXMLNode::SetAttributeNS(std::string_view qualifiedName, std::string_view namespaceURI,
                              std::string_view value) const {
  if (namespaceURI.empty()) {
    SetAttribute(SplitName(qualifiedName).local, value);
    return;
  }
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) throw EXMLDocError("Atrybuty mają tylko elementy XML");
  QName q = SplitName(qualifiedName);
  std::string uri(namespaceURI), local(q.local), prefix(q.prefix), cleaned;
  std::string text(XmlCleanText(value, cleaned, qualifiedName));
  // An attribute in a namespace needs a prefix: the one in scope for the URI, else its own.
  xmlNs* ns = xmlSearchNsByHref(node->doc, node, BAD_CAST uri.c_str());
  if (ns == nullptr || ns->prefix == nullptr) {
    if (prefix.empty()) prefix = "ns";
    ns = xmlNewNs(node, BAD_CAST uri.c_str(), BAD_CAST prefix.c_str());
    if (ns == nullptr) throw EXMLDocError(Format("Nie można zadeklarować przestrzeni nazw \"%s\"", prefix));
  }
  if (xmlSetNsProp(node, ns, BAD_CAST local.c_str(), BAD_CAST text.c_str()) == nullptr)
    throw EXMLDocError("Nie można ustawić atrybutu XML");
  document_->modified_ = true;
}

std::vector<TXMLNode::Attribute> TXMLNode::Attributes() const {
  std::vector<Attribute> result;
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) return result;
  for (const xmlAttr* a = node->properties; a != nullptr; a = a->next) {
    Attribute attribute;
    attribute.localName = AsChars(a->name);
    attribute.name = a->ns != nullptr && a->ns->prefix != nullptr
                         ? std::string(AsChars(a->ns->prefix)) + ":" + attribute.localName
                         : attribute.localName;
    attribute.namespaceURI = a->ns != nullptr ? AsChars(a->ns->href) : "";
    attribute.value = AttributeValue(a);
    result.push_back(std::move(attribute));
  }
  return result;
}

std::string TXMLNode::ReadAttribute(const char* name) const {
  const xmlAttr* attribute = FindAttribute(Live(), name);
  return attribute != nullptr ? AttributeValue(attribute) : "";
}

void TXMLNode::WriteAttribute(const char* name, std::string_view value) const {
  std::string cleaned;
  std::string text(XmlCleanText(value, cleaned, name));
  if (xmlSetNsProp(Live(), nullptr, BAD_CAST name, BAD_CAST text.c_str()) == nullptr)
    throw EXMLDocError("Nie można ustawić atrybutu XML");
  document_->modified_ = true;
}

// ---- children by name ----

xmlNode* TXMLNode::Child(std::string_view tag) const {
  xmlNode* node = Live();
  for (xmlNode* c = node->children; c != nullptr; c = c->next)
    if (IsNamedElement(c, tag, node->ns)) return c;
  if ((document_->options_ & doNodeAutoCreate) == 0) NotFound(tag);
  return NewChild(tag);
}

xmlNode* TXMLNode::EtdChild(std::string_view tag, int position) const {
  xmlNode* node = Live();
  if (position >= 0) {
    // Read at the schema position, checked by name: an optional element left out before it
    // must not make a neighbour's value read as this one.
    int index = 0;
    for (xmlNode* c = node->children; c != nullptr; c = c->next) {
      if (c->type != XML_ELEMENT_NODE) continue;
      if (index++ == position) {
        if (NameIs(c->name, tag)) return c;
        break;
      }
    }
    for (xmlNode* c = node->children; c != nullptr; c = c->next)
      if (c->type == XML_ELEMENT_NODE && NameIs(c->name, tag)) return c;
  } else {
    std::string uri = FindNamespaceURI("etd");
    if (uri.empty()) uri = document_->RegisteredPrefixURI("etd");
    for (xmlNode* c = node->children; c != nullptr; c = c->next)
      if (c->type == XML_ELEMENT_NODE && NameIs(c->name, tag) && detail::Href(c->ns) != nullptr &&
          uri == AsChars(c->ns->href))
        return c;
  }
  std::string prefixed = "etd:" + std::string(tag);
  if ((document_->options_ & doNodeAutoCreate) == 0) NotFound(prefixed);
  return NewChild(prefixed);
}

xmlNode* TXMLNode::ChildByName(std::string_view tagName, bool create) const {
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) throw EXMLDocError("Węzły potomne mają tylko elementy XML");
  QName q = SplitName(tagName);
  if (q.prefix.empty()) {
    for (xmlNode* c = node->children; c != nullptr; c = c->next)
      if (IsNamedElement(c, q.local, node->ns)) return c;
  } else {
    std::string uri = FindNamespaceURI(q.prefix);
    if (uri.empty()) uri = document_->RegisteredPrefixURI(q.prefix);
    for (xmlNode* c = node->children; c != nullptr; c = c->next)
      if (c->type == XML_ELEMENT_NODE && NameIs(c->name, q.local) && detail::Href(c->ns) != nullptr &&
          uri == AsChars(c->ns->href))
        return c;
  }
  if (!create) return nullptr;
  if ((document_->options_ & doNodeAutoCreate) == 0) NotFound(tagName);
  return NewChild(tagName);
}

// A new element appended to this one. An unprefixed name takes this element's namespace;
// a prefixed one the namespace the prefix is bound to here, declared on the root element
// from the binding's registered prefixes when the document does not declare it yet.
xmlNode* TXMLNode::NewChild(std::string_view tagName) const {
  xmlNode* node = Live();
  TXMLDocument& document = *document_;
  QName q = SplitName(tagName);
  xmlNs* ns = node->ns;
  if (!q.prefix.empty()) {
    std::string prefix(q.prefix);
    ns = xmlSearchNs(node->doc, node, BAD_CAST prefix.c_str());
    if (ns == nullptr) {
      std::string uri = document.RegisteredPrefixURI(q.prefix);
      if (uri.empty()) throw EXMLDocError(Format("Nieznany prefiks przestrzeni nazw \"%s\"", prefix));
      ns = xmlNewNs(RootOf(node), BAD_CAST uri.c_str(), BAD_CAST prefix.c_str());
    }
  }
  xmlDoc* doc = document.doc_;
  xmlNode* child;
  if (doc->dict != nullptr) {
    const xmlChar* name = xmlDictLookup(doc->dict, BAD_CAST q.local.data(), static_cast<int>(q.local.size()));
    child = name != nullptr ? xmlNewDocNodeEatName(doc, ns, const_cast<xmlChar*>(name), nullptr) : nullptr;
  } else {
    std::string name(q.local);
    child = xmlNewDocNode(doc, ns, BAD_CAST name.c_str(), nullptr);
  }
  if (child == nullptr) throw EXMLDocError("Brak pamięci na element XML");
  detail::Link(node, child, nullptr);
  document.ChildrenChanged(node);
  document.modified_ = true;
  return child;
}

TXMLNodeList TXMLNode::ChildNodes() const {
  Live();
  return TXMLNodeList(*this);
}

TXMLNode TXMLNode::FindChild(std::string_view tagName) const { return Wrap(ChildByName(tagName, false)); }

TXMLNode TXMLNode::AddChild(std::string_view tagName, int index) const {
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) throw EXMLDocError("Węzły potomne mają tylko elementy XML");
  TXMLNodeList children(*this);
  xmlNode* before = index >= 0 && index < children.Count() ? children.Get(index).node_ : nullptr;
  xmlNode* child = NewChild(tagName);
  if (before != nullptr) {
    detail::Unlink(child);
    detail::Link(node, child, before);
  }
  return Wrap(child);
}

TXMLNode TXMLNode::AddChildBefore(std::string_view tagName, const TXMLNode& before) const {
  xmlNode* node = Live();
  xmlNode* ref = before ? before.Live() : nullptr;
  if (ref != nullptr && ref->parent != node) throw EXMLDocError("Węzeł odniesienia nie jest dzieckiem tego elementu");
  xmlNode* child = NewChild(tagName);
  if (ref != nullptr) {
    detail::Unlink(child);
    detail::Link(node, child, ref);
  }
  return Wrap(child);
}

TXMLNode TXMLNode::ParentNode() const {
  xmlNode* parent = Live()->parent;
  return parent != nullptr && parent->type == XML_ELEMENT_NODE && parent != document_->discarded_ ? Wrap(parent)
                                                                                                  : TXMLNode();
}

TXMLNode TXMLNode::NextSibling() const {
  xmlNode* node = Live();
  return node->parent != document_->discarded_ ? Wrap(node->next) : TXMLNode();
}

TXMLNode TXMLNode::PreviousSibling() const {
  xmlNode* node = Live();
  return node->parent != document_->discarded_ ? Wrap(node->prev) : TXMLNode();
}

TXMLNode TXMLNode::NextSiblingOfSameName() const {
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE || node->parent == document_->discarded_) return TXMLNode();
  for (xmlNode* c = node->next; c != nullptr; c = c->next)
    if (IsNamedElement(c, AsChars(node->name), node->ns)) return Wrap(c);
  return TXMLNode();
}

// ---- values by name ----

std::string TXMLNode::ChildText(std::string_view tagName) const { return ReadText(ChildByName(tagName, true)); }
void TXMLNode::SetChildText(std::string_view tagName, std::string_view value) const {
  WriteText(ChildByName(tagName, true), value);
}
double TXMLNode::ChildFloat(std::string_view tagName) const { return ReadFloat(ChildByName(tagName, true)); }
void TXMLNode::SetChildFloat(std::string_view tagName, double value) const {
  WriteFloat(ChildByName(tagName, true), value);
}
int32_t TXMLNode::ChildInt(std::string_view tagName) const { return ReadInt(ChildByName(tagName, true)); }
void TXMLNode::SetChildInt(std::string_view tagName, int32_t value) const {
  WriteInt(ChildByName(tagName, true), value);
}
int64_t TXMLNode::ChildInt64(std::string_view tagName) const { return ReadInt64(ChildByName(tagName, true)); }
void TXMLNode::SetChildInt64(std::string_view tagName, int64_t value) const {
  WriteInt(ChildByName(tagName, true), value);
}
bool TXMLNode::ChildBool(std::string_view tagName) const { return ReadBool(ChildByName(tagName, true)); }
void TXMLNode::SetChildBool(std::string_view tagName, bool value) const {
  WriteText(ChildByName(tagName, true), XmlBoolToStr(value));
}

// ---- namespaces ----

void TXMLNode::DeclareNamespace(std::string_view prefix, std::string_view uri) const {
  xmlNode* node = Live();
  if (node->type != XML_ELEMENT_NODE) throw EXMLDocError("Przestrzenie nazw deklarują tylko elementy XML");
  std::string prefixText(prefix), uriText(uri);
  const xmlChar* p = prefix.empty() ? nullptr : BAD_CAST prefixText.c_str();
  for (xmlNs* ns = node->nsDef; ns != nullptr; ns = ns->next) {
    if (xmlStrEqual(ns->prefix, p)) {
      // Redeclaring a prefix on the same element changes its URI for every user of it.
      xmlFree(const_cast<xmlChar*>(ns->href));
      ns->href = xmlStrdup(BAD_CAST uriText.c_str());
      document_->modified_ = true;
      return;
    }
  }
  if (xmlNewNs(node, BAD_CAST uriText.c_str(), p) == nullptr)
    throw EXMLDocError(Format("Nie można zadeklarować przestrzeni nazw \"%s\"", prefixText));
  document_->modified_ = true;
}

std::string TXMLNode::FindNamespaceURI(std::string_view prefix) const {
  xmlNode* node = Live();
  std::string prefixText(prefix);
  xmlNs* ns = xmlSearchNs(node->doc, node, prefix.empty() ? nullptr : BAD_CAST prefixText.c_str());
  return ns != nullptr ? AsChars(ns->href) : "";
}

TXMLNode TXMLNode::FindNamespaceDecl(std::string_view uri, std::string* prefix) const {
  for (xmlNode* e = Live(); e != nullptr && e->type == XML_ELEMENT_NODE; e = e->parent) {
    for (xmlNs* ns = e->nsDef; ns != nullptr; ns = ns->next) {
      if (uri == AsChars(ns->href)) {
        if (prefix != nullptr) *prefix = AsChars(ns->prefix);
        return Wrap(e);
      }
    }
  }
  return TXMLNode();
}

xmlNode* TXMLNode::DOMNode() const {
  xmlNode* node = Live();
  document_->ForgetAllCursors();
  return node;
}

// ---- TXMLNodeList ----

namespace {

// The index-th child of `parent` (any kind when tag is empty, else the elements named `tag`
// in the parent's namespace), walking from the document's remembered position when that is
// closer.
xmlNode* NthChild(TXMLDocument::ChildCursor& cursor, xmlNode* parent, std::string_view tag, int index) {
  if (index < 0) return nullptr;
  auto matches = [&](const xmlNode* c) { return tag.empty() || IsNamedElement(c, tag, parent->ns); };
  xmlNode* c = nullptr;
  int i = 0;
  if (cursor.node != nullptr && cursor.index >= 0 && cursor.index <= index) {
    c = cursor.node;
    i = cursor.index;
  } else if (cursor.node != nullptr && cursor.index > index && cursor.index - index < index) {
    c = cursor.node;
    i = cursor.index;
    while (c != nullptr && i > index) {
      c = c->prev;
      while (c != nullptr && !matches(c)) c = c->prev;
      --i;
    }
  } else {
    c = parent->children;
    while (c != nullptr && !matches(c)) c = c->next;
  }
  while (c != nullptr && i < index) {
    c = c->next;
    while (c != nullptr && !matches(c)) c = c->next;
    ++i;
  }
  if (c != nullptr) {
    cursor.index = i;
    cursor.node = c;
  }
  return c;
}

int CountChildren(TXMLDocument::ChildCursor& cursor, xmlNode* parent, std::string_view tag) {
  if (cursor.count >= 0) return cursor.count;
  int n = 0;
  for (xmlNode* c = parent->children; c != nullptr; c = c->next)
    if (tag.empty() || IsNamedElement(c, tag, parent->ns)) ++n;
  cursor.count = n;
  return n;
}

}  // namespace

int TXMLNodeList::Count() const {
  xmlNode* parent = owner_.Live();
  return CountChildren(owner_.document_->Cursor(parent, {}), parent, {});
}

TXMLNode TXMLNodeList::Get(int index) const {
  xmlNode* parent = owner_.Live();
  xmlNode* child = NthChild(owner_.document_->Cursor(parent, {}), parent, {}, index);
  if (child == nullptr) IndexOutOfRange(index);
  return owner_.Wrap(child);
}

TXMLNode TXMLNodeList::Nodes(std::string_view tagName) const { return owner_.Wrap(owner_.ChildByName(tagName, true)); }

TXMLNode TXMLNodeList::FindNode(std::string_view tagName) const {
  return owner_.Wrap(owner_.ChildByName(tagName, false));
}

TXMLNode TXMLNodeList::FindNode(std::string_view localName, std::string_view namespaceURI) const {
  for (xmlNode* c = owner_.Live()->children; c != nullptr; c = c->next)
    if (c->type == XML_ELEMENT_NODE && NameIs(c->name, localName) &&
        namespaceURI == AsChars(detail::Href(c->ns)))
      return owner_.Wrap(c);
  return TXMLNode();
}

int TXMLNodeList::IndexOf(const TXMLNode& child) const {
  xmlNode* parent = owner_.Live();
  if (!child) return -1;
  xmlNode* node = child.Live();
  if (node->parent != parent) return -1;
  TXMLDocument::ChildCursor& cursor = owner_.document_->Cursor(parent, {});
  if (cursor.node == node) return cursor.index;
  int i = 0;
  for (xmlNode* c = parent->children; c != nullptr; c = c->next, ++i)
    if (c == node) {
      cursor.index = i;
      cursor.node = c;
      return i;
    }
  return -1;
}

TXMLNode TXMLNodeList::First() const { return owner_.Wrap(owner_.Live()->children); }
TXMLNode TXMLNodeList::Last() const { return owner_.Wrap(owner_.Live()->last); }

void TXMLNodeList::InsertBefore(const TXMLNode& node, const TXMLNode& before) const {
  xmlNode* parent = owner_.Live();
  if (parent->type != XML_ELEMENT_NODE) throw EXMLDocError("Węzły potomne mają tylko elementy XML");
  xmlNode* child = node.Live();
  xmlNode* ref = before ? before.Live() : nullptr;
  TXMLDocument& document = *owner_.document_;
  if (node.document_ != owner_.document_) throw EXMLDocError("Węzeł należy do innego dokumentu XML");
  if (ref != nullptr && ref->parent != parent) throw EXMLDocError("Węzeł odniesienia nie jest dzieckiem tego elementu");
  if (child->type == XML_ATTRIBUTE_NODE || child->type == XML_DOCUMENT_NODE)
    throw EXMLDocError("Tego węzła nie można wstawić jako dziecka");
  for (xmlNode* a = parent; a != nullptr; a = a->parent)
    if (a == child) throw EXMLDocError("Węzła nie można wstawić do jego własnego poddrzewa");
  if (child == ref) return;
  if (child->parent != nullptr) {
    document.ChildrenChanged(child->parent);
    detail::Unlink(child);
  }
  detail::Link(parent, child, ref);
  if (child->type == XML_ELEMENT_NODE) xmlReconciliateNs(document.doc_, child);
  document.ChildrenChanged(parent);
  document.modified_ = true;
}

void TXMLNodeList::Add(const TXMLNode& node) const { InsertBefore(node, TXMLNode()); }

void TXMLNodeList::Insert(int index, const TXMLNode& node) const {
  TXMLNode before = index >= 0 && index < Count() ? Get(index) : TXMLNode();
  InsertBefore(node, before);
}

TXMLNode TXMLNodeList::Remove(const TXMLNode& child) const {
  xmlNode* parent = owner_.Live();
  if (!child || child.Live()->parent != parent) return TXMLNode();
  owner_.document_->Discard(child.node_);
  owner_.document_->modified_ = true;
  return child;
}

void TXMLNodeList::Delete(int index) const { Remove(Get(index)); }

void TXMLNodeList::Delete(std::string_view tagName) const {
  if (TXMLNode child = FindNode(tagName)) Remove(child);
}

void TXMLNodeList::Clear() const {
  xmlNode* parent = owner_.Live();
  if (parent->children == nullptr) return;
  while (parent->children != nullptr) owner_.document_->Discard(parent->children);
  owner_.document_->modified_ = true;
}

// ---- TXMLNodeCollection ----

int TXMLNodeCollection::Count() const {
  xmlNode* parent = Live();
  return CountChildren(document_->Cursor(parent, itemTag_), parent, itemTag_);
}

xmlNode* TXMLNodeCollection::ItemAt(int index) const {
  xmlNode* parent = Live();
  xmlNode* item = NthChild(document_->Cursor(parent, itemTag_), parent, itemTag_, index);
  if (item == nullptr) IndexOutOfRange(index);
  return item;
}

TXMLNode TXMLNodeCollection::Nodes(int index) const { return Wrap(ItemAt(index)); }

xmlNode* TXMLNodeCollection::FirstItem() const {
  xmlNode* parent = Live();
  for (xmlNode* c = parent->children; c != nullptr; c = c->next)
    if (IsNamedElement(c, itemTag_, parent->ns)) return c;
  return nullptr;
}

xmlNode* TXMLNodeCollection::NextItem(xmlNode* item) const {
  const xmlNs* ns = Live()->ns;
  for (xmlNode* c = item->next; c != nullptr; c = c->next)
    if (IsNamedElement(c, itemTag_, ns)) return c;
  return nullptr;
}

void TXMLNodeCollection::Clear() const {
  xmlNode* parent = Live();
  xmlNode* c = parent->children;
  while (c != nullptr) {
    xmlNode* next = c->next;
    if (IsNamedElement(c, itemTag_, parent->ns)) document_->Discard(c);
    c = next;
  }
  document_->ChildrenChanged(parent);
  document_->modified_ = true;
}

void TXMLNodeCollection::Delete(int index) const { Remove(Nodes(index)); }

TXMLNode TXMLNodeCollection::Remove(const TXMLNode& item) const {
  xmlNode* parent = Live();
  if (!item || item.Live()->parent != parent) return TXMLNode();
  document_->Discard(item.node_);
  document_->modified_ = true;
  return item;
}

xmlNode* TXMLNodeCollection::NewItem() const {
  xmlNode* parent = Live();
  // Appending leaves every remembered position valid; only the counts grow.
  int all = document_->Cursor(parent, {}).count;
  int items = document_->Cursor(parent, itemTag_).count;
  TXMLDocument::ChildCursor allCursor = document_->Cursor(parent, {});
  TXMLDocument::ChildCursor itemCursor = document_->Cursor(parent, itemTag_);
  xmlNode* item = NewChild(itemTag_);
  if (all >= 0) allCursor.count = all + 1;
  if (items >= 0) itemCursor.count = items + 1;
  document_->Cursor(parent, {}) = allCursor;
  document_->Cursor(parent, itemTag_) = itemCursor;
  return item;
}

xmlNode* TXMLNodeCollection::NewItemAt(int childIndex) const {
  xmlNode* parent = Live();
  xmlNode* before = childIndex >= 0 ? NthChild(document_->Cursor(parent, {}), parent, {}, childIndex) : nullptr;
  if (before == nullptr) return NewItem();
  xmlNode* item = NewChild(itemTag_);
  detail::Unlink(item);
  detail::Link(parent, item, before);
  // The new item now holds position childIndex: remember it, so inserting at childIndex + 1
  // next costs one step.
  TXMLDocument::ChildCursor& cursor = document_->Cursor(parent, {});
  cursor.index = childIndex;
  cursor.node = item;
  return item;
}

xmlNode* TXMLNodeCollection::NewItemBefore(const TXMLNode& before) const {
  xmlNode* parent = Live();
  xmlNode* ref = before ? before.Live() : nullptr;
  if (ref == nullptr) return NewItem();
  if (ref->parent != parent) throw EXMLDocError("Węzeł odniesienia nie jest dzieckiem tego elementu");
  TXMLDocument::ChildCursor known = document_->Cursor(parent, {});
  xmlNode* item = NewChild(itemTag_);
  detail::Unlink(item);
  detail::Link(parent, item, ref);
  if (known.node == ref && known.index >= 0) {
    // `before` moved one place on: keep knowing where it is (inserting before a control
    // element row after row stays linear).
    TXMLDocument::ChildCursor& cursor = document_->Cursor(parent, {});
    cursor.index = known.index + 1;
    cursor.node = ref;
  }
  return item;
}

}  // namespace velkar::xml
