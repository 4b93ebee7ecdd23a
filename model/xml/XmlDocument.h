// The XML document of the typed model: owns a libxml2 tree and holds what the file services
// set on it (encoding, options, indent string, modified flag), parses files safely and saves
// them atomically.
#pragma once

#include <libxml/tree.h>

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "model/xml/XmlErrors.h"

namespace velkar::xml {

class TXMLNode;

// Document options (bit set).
enum TXMLDocOption : unsigned {
  doNodeAutoCreate = 1u << 0,  // a child looked up by name is created when missing
  doNodeAutoIndent = 1u << 1,  // SaveToFile / SaveToXML write one element per line, indented
  doAttrNull = 1u << 2,
  doAutoPrefix = 1u << 3,
  doNamespaceDecl = 1u << 4,
  doAutoSave = 1u << 5,
};

// Parse options (bit set). They are recorded for the file services; loading is always
// done the one safe way (no DTD, no entities, no network, ignorable white space dropped)
// and never validates: schema validation is a separate step.
enum TParseOption : unsigned {
  poResolveExternals = 1u << 0,
  poValidateOnParse = 1u << 1,
  poPreserveWhiteSpace = 1u << 2,
  poAsyncLoad = 1u << 3,
};

class TXMLDocument : public std::enable_shared_from_this<TXMLDocument> {
 public:
  // A new, active, empty document: XML version "1.0", no root, no encoding set,
  // options doNodeAutoCreate, indent string of two spaces.
  static std::shared_ptr<TXMLDocument> Create();
  ~TXMLDocument();
  TXMLDocument(const TXMLDocument&) = delete;
  TXMLDocument& operator=(const TXMLDocument&) = delete;

  // Replaces the content by the file / the text. Safe parse: a DOCTYPE (internal or
  // external DTD, entity declarations) is refused, no entity is expanded, nothing is
  // fetched from the network, ignorable white space between elements is dropped.
  // Raises EXMLDocError with the file name, line and reason. Node references taken
  // before a reload refuse further use (EXMLDocError), they never touch freed memory.
  void LoadFromFile(const std::string& fileName);
  void LoadFromXML(std::string_view xml);

  // Writes the document (declaration, then the tree) in Encoding() (UTF-8 when empty)
  // through ReplaceFileAtomically: on failure the old file stays. With doNodeAutoIndent
  // every element goes on a line of its own, indented by NodeIndentStr() per level.
  void SaveToFile(const std::string& fileName);
  // The same text as SaveToFile would write (bytes in Encoding()).
  std::string SaveToXML() const;

  // Active: the document holds a tree. SetActive(false) drops it (node references go
  // stale); SetActive(true) on an inactive document starts an empty one.
  bool Active() const { return doc_ != nullptr; }
  void SetActive(bool active);

  std::string Encoding() const;
  void SetEncoding(const std::string& encoding);
  std::string Version() const;
  unsigned Options() const { return options_; }
  void SetOptions(unsigned options) { options_ = options; }
  unsigned ParseOptions() const { return parseOptions_; }
  void SetParseOptions(unsigned options) { parseOptions_ = options; }
  const std::string& NodeIndentStr() const { return indent_; }
  void SetNodeIndentStr(const std::string& indent) { indent_ = indent; }
  bool Modified() const { return modified_; }
  void SetModified(bool modified) { modified_ = modified; }
  // The file last loaded or saved ("" for a document made in memory).
  const std::string& FileName() const { return fileName_; }

  // The root element; a null node when there is none.
  TXMLNode DocumentElement();
  // Makes `element` (created by CreateElement) the root, replacing any old root.
  void SetDocumentElement(const TXMLNode& element);
  // A new element not yet in the tree: tagName may carry a prefix ("etd:NIP"); the element
  // is in namespace `namespaceURI` ("" = none). Link it with ChildNodes().Add/Insert or
  // SetDocumentElement.
  TXMLNode CreateElement(std::string_view tagName, std::string_view namespaceURI);
  TXMLNode CreateTextNode(std::string_view text);
  TXMLNode CreateComment(std::string_view text);
  TXMLNode CreateCDataSection(std::string_view text);
  TXMLNode CreateProcessingInstruction(std::string_view target, std::string_view data);

  // Prefixes the binding knows ("etd" -> its common-definitions URI): a child created by a
  // prefixed name whose prefix is not declared in scope gets the declaration on the root.
  void RegisterPrefix(const std::string& prefix, const std::string& uri);
  std::string RegisteredPrefixURI(std::string_view prefix) const;

  // The libxml2 document, for the file services (copying, namespace repair, validation).
  // Taking it forgets every cached child position, so direct changes stay safe.
  xmlDoc* DOMDocument();
  const xmlDoc* ConstDOMDocument() const { return doc_; }

  struct Sink;  // where a save writes to (internal)

  // Internal:
  // A known position in the child list of `parent`: the index-th child (tag empty) or the
  // index-th element named `tag` in the parent's namespace, and the number of those.
  struct ChildCursor {
    const xmlNode* parent = nullptr;
    std::string tag;
    int index = -1;
    xmlNode* node = nullptr;
    int count = -1;
  };

 private:
  friend class TXMLNode;
  friend class TXMLNodeList;
  friend class TXMLNodeCollection;


  TXMLDocument();
  void Replace(xmlDoc* doc);
  void FreeTree();
  void Parse(const std::string& sourceName, const void* memory, size_t size, bool fromFile);
  void Write(Sink& sink) const;

  // Structure bookkeeping, called by every change the model makes.
  ChildCursor& Cursor(const xmlNode* parent, std::string_view tag);
  void ChildrenChanged(const xmlNode* parent);
  void ForgetAllCursors();
  // Nodes taken out of the tree are kept (unlinked) until the document is freed, so
  // references to them stay valid.
  void Discard(xmlNode* node);
  uint32_t Generation() const { return generation_; }

  xmlDoc* doc_ = nullptr;
  xmlNode* discarded_ = nullptr;
  uint32_t generation_ = 1;
  unsigned options_ = doNodeAutoCreate;
  unsigned parseOptions_ = 0;
  std::string indent_ = "  ";
  bool modified_ = false;
  std::string fileName_;
  std::vector<std::pair<std::string, std::string>> prefixes_;
  std::array<ChildCursor, 4> cursors_;
  unsigned nextCursor_ = 0;
};

using IXMLDocument = std::shared_ptr<TXMLDocument>;

}  // namespace velkar::xml
