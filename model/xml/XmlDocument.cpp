// The document object: safe parsing, saving, options and the child-position cache.
#include "model/xml/XmlDocument.h"

#include <libxml/globals.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlsave.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "base/Paths.h"
#include "model/xml/XmlNode.h"
#include "model/xml/XmlTreeOps.h"
#include "model/xml/XmlValues.h"

namespace velkar::xml {

namespace {

void InitLibxml() {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
}

// Parser state shared with the SAX hook below.
struct ParseState {
  bool sawDoctype = false;
};

// A DOCTYPE may declare entities (billion laughs) or name an external DTD: JPK files have
// none, so the parse stops the moment one starts.
void RefuseDoctype(void* context, const xmlChar*, const xmlChar*, const xmlChar*) {
  auto* ctxt = static_cast<xmlParserCtxtPtr>(context);
  static_cast<ParseState*>(ctxt->_private)->sawDoctype = true;
  xmlStopParser(ctxt);
}

// Loading always uses these: no network, no DTD loading or attribute defaults, no entity
// substitution, ignorable white space between elements dropped (child positions count
// elements and real text only), CDATA read as text.
constexpr int kSafeParseOptions = XML_PARSE_NONET | XML_PARSE_NOBLANKS | XML_PARSE_NOCDATA | XML_PARSE_COMPACT |
                                  XML_PARSE_BIG_LINES | XML_PARSE_NOERROR | XML_PARSE_NOWARNING;

// Reads and writes of large documents go through this much buffer.
constexpr size_t kFileBufferSize = 1 << 20;

int ReadFile(void* context, char* buffer, int len) {
  size_t n = std::fread(buffer, 1, static_cast<size_t>(len), static_cast<FILE*>(context));
  if (n == 0 && std::ferror(static_cast<FILE*>(context))) return -1;
  return static_cast<int>(n);
}

int CloseFile(void* context) { return std::fclose(static_cast<FILE*>(context)) == 0 ? 0 : -1; }

}  // namespace

struct TXMLDocument::Sink {
  FILE* file = nullptr;
  std::string* text = nullptr;
  bool failed = false;
};

namespace {

int WriteSink(void* context, const char* buffer, int len) {
  auto* sink = static_cast<TXMLDocument::Sink*>(context);
  if (sink->text != nullptr) {
    sink->text->append(buffer, static_cast<size_t>(len));
  } else if (std::fwrite(buffer, 1, static_cast<size_t>(len), sink->file) != static_cast<size_t>(len)) {
    sink->failed = true;
    return -1;
  }
  return len;
}

int CloseSink(void*) { return 0; }

// libxml2 reports output errors (an unknown encoding) through its per-thread generic
// handler; while saving they are collected for the error message instead of printed.
void CollectError(void* context, const char* format, ...) {
  char buffer[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(buffer, sizeof buffer, format, args);
  va_end(args);
  *static_cast<std::string*>(context) += buffer;
}

// libxml2's parse error in Polish words, its own English text following in parentheses.
std::string PolishParseError(int code, const std::string& detail) {
  const char* words = "niepoprawny zapis XML";
  if (detail.find("Excessive depth") != std::string::npos || detail.find("depth") != std::string::npos)
    words = "elementy są zagnieżdżone zbyt głęboko";
  else if (detail.find("huge text node") != std::string::npos || detail.find("too long") != std::string::npos)
    words = "tekst lub nazwa są za długie";
  else if (code == XML_ERR_DOCUMENT_EMPTY)
    words = "dokument jest pusty";
  else if (code == XML_ERR_DOCUMENT_END)
    words = "dodatkowa treść po końcu dokumentu";
  else if (code == XML_ERR_UNSUPPORTED_ENCODING || code == XML_ERR_INVALID_ENCODING || code == XML_ERR_INVALID_CHAR)
    words = "nieobsługiwane kodowanie lub niepoprawny znak";
  else if (code == XML_ERR_TAG_NAME_MISMATCH)
    words = "znacznik zamykający nie pasuje do otwierającego";
  else if (code == XML_ERR_TAG_NOT_FINISHED)
    words = "element nie został zamknięty";
  else if (code == XML_ERR_UNDECLARED_ENTITY || code == XML_WAR_UNDECLARED_ENTITY)
    words = "nieznana encja";
  return Format("%s (%s)", words, detail);
}

// libxml2 reads no text node or attribute value longer than this without XML_PARSE_HUGE
// (which stays off: it lifts the guards against hostile files).
constexpr size_t kMaxTextLength = 10000000;

const char* ElementName(const xmlNode* node) {
  while (node != nullptr && node->type != XML_ELEMENT_NODE) node = node->parent;
  return node != nullptr ? reinterpret_cast<const char*>(node->name) : "?";
}

// Refuses a document that could be written but not read back: a text or attribute value
// over the reader's limit. One walk of the tree, without recursion.
void RequireReadableBack(const xmlDoc* doc) {
  auto check = [](const xmlNode* text) {
    if ((text->type == XML_TEXT_NODE || text->type == XML_CDATA_SECTION_NODE) && text->content != nullptr &&
        xmlStrlen(text->content) > static_cast<int>(kMaxTextLength))
      throw EXMLDocError(Format("Tekst elementu %s jest dłuższy niż %d bajtów: zapisanego pliku nie dałoby się "
                                "wczytać, więc nie został zapisany",
                                ElementName(text), static_cast<int>(kMaxTextLength)));
  };
  const xmlNode* node = doc->children;
  while (node != nullptr) {
    check(node);
    if (node->type == XML_ELEMENT_NODE)
      for (const xmlAttr* attr = node->properties; attr != nullptr; attr = attr->next)
        for (const xmlNode* value = attr->children; value != nullptr; value = value->next) check(value);
    if (node->children != nullptr && node->type != XML_ENTITY_REF_NODE) {
      node = node->children;
      continue;
    }
    while (node != nullptr && node->next == nullptr) {
      node = node->parent;
      if (node == nullptr || node->type == XML_DOCUMENT_NODE) node = nullptr;
    }
    if (node != nullptr) node = node->next;
  }
}

std::string DocumentName(const std::string& fileName) { return fileName.empty() ? std::string("(tekst XML)") : fileName; }

}  // namespace

TXMLDocument::TXMLDocument() = default;

TXMLDocument::~TXMLDocument() { FreeTree(); }

std::shared_ptr<TXMLDocument> TXMLDocument::Create() {
  InitLibxml();
  std::shared_ptr<TXMLDocument> document(new TXMLDocument());
  document->SetActive(true);
  return document;
}

void TXMLDocument::FreeTree() {
  if (discarded_ != nullptr) {
    xmlFreeNode(discarded_);  // before the document: its nodes' names live in the document's dictionary
    discarded_ = nullptr;
  }
  if (doc_ != nullptr) {
    xmlFreeDoc(doc_);
    doc_ = nullptr;
  }
}

void TXMLDocument::Replace(xmlDoc* doc) {
  FreeTree();
  doc_ = doc;
  ++generation_;
  ForgetAllCursors();
  modified_ = false;
}

void TXMLDocument::SetActive(bool active) {
  if (active == Active()) return;
  if (!active) {
    Replace(nullptr);
    return;
  }
  xmlDoc* doc = xmlNewDoc(BAD_CAST "1.0");
  if (doc == nullptr) throw EXMLDocError("Brak pamięci na dokument XML");
  doc->dict = xmlDictCreate();  // element names are interned: shared, and compared cheaply
  Replace(doc);
}

void TXMLDocument::LoadFromFile(const std::string& fileName) {
  InitLibxml();
  Parse(fileName, nullptr, 0, true);
  fileName_ = fileName;
}

void TXMLDocument::LoadFromXML(std::string_view xml) {
  InitLibxml();
  Parse("", xml.data(), xml.size(), false);
  fileName_.clear();
}

void TXMLDocument::Parse(const std::string& sourceName, const void* memory, size_t size, bool fromFile) {
  FILE* file = nullptr;
  // The parser asks for a few kilobytes at a time: a larger buffer saves system calls. It
  // outlives the file, which the parser closes.
  std::unique_ptr<char[]> buffer;
  if (fromFile) {
    file = std::fopen(sourceName.c_str(), "rb");
    if (file == nullptr) {
      if (errno == ENOENT) throw EXMLDocError(Format("Brak pliku %s", sourceName));
      throw EXMLDocError(Format("Nie można otworzyć pliku %s (%s)", sourceName, std::strerror(errno)));
    }
    buffer.reset(new char[kFileBufferSize]);
    std::setvbuf(file, buffer.get(), _IOFBF, kFileBufferSize);
  } else if (size > static_cast<size_t>(INT_MAX)) {
    throw EXMLDocError("Tekst XML jest za duży");
  }
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (ctxt == nullptr) {
    if (file != nullptr) std::fclose(file);
    throw EXMLDocError("Brak pamięci na analizę pliku XML");
  }
  ParseState state;
  ctxt->_private = &state;
  ctxt->sax->internalSubset = RefuseDoctype;
  ctxt->sax->externalSubset = RefuseDoctype;
  // Encoding errors bypass the parser's own reporting: keep them off the terminal too.
  xmlGenericErrorFunc previousHandler = xmlGenericError;
  void* previousContext = xmlGenericErrorContext;
  std::string ignored;
  xmlSetGenericErrorFunc(&ignored, CollectError);
  xmlDoc* doc = fromFile ? xmlCtxtReadIO(ctxt, ReadFile, CloseFile, file, sourceName.c_str(), nullptr, kSafeParseOptions)
                         : xmlCtxtReadMemory(ctxt, static_cast<const char*>(memory), static_cast<int>(size), "",
                                             nullptr, kSafeParseOptions);
  xmlSetGenericErrorFunc(previousContext, previousHandler);
  std::string reason;
  int line = 0;
  if (const xmlError* error = xmlCtxtGetLastError(ctxt); error != nullptr && error->message != nullptr) {
    reason = error->message;
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
    reason = PolishParseError(error->code, reason);
    line = error->line;
  }
  xmlFreeParserCtxt(ctxt);
  if (state.sawDoctype) {
    if (doc != nullptr) xmlFreeDoc(doc);
    throw EXMLDocError(Format("Plik %s zawiera deklarację DOCTYPE (DTD lub encje); taki plik nie jest wczytywany",
                              DocumentName(sourceName)));
  }
  if (doc == nullptr || xmlDocGetRootElement(doc) == nullptr) {
    if (doc != nullptr) xmlFreeDoc(doc);
    if (reason.empty()) reason = "brak elementu głównego";
    throw EXMLDocError(Format("Błąd w pliku XML %s, wiersz %d: %s", DocumentName(sourceName), line, reason));
  }
  Replace(doc);
}

namespace {

// Whether libxml2 writes text in `encoding` that it can read back: not so for unknown
// encodings, nor for UTF-7, whose writer encodes the markup itself. Checked on a tiny
// document before the real one is written.
bool EncodingRoundTrips(const std::string& encoding) {
  if (encoding.empty() || xmlStrcasecmp(BAD_CAST encoding.c_str(), BAD_CAST "UTF-8") == 0) return true;
  xmlDoc* probe = xmlNewDoc(BAD_CAST "1.0");
  probe->encoding = xmlStrdup(BAD_CAST encoding.c_str());
  xmlDocSetRootElement(probe, xmlNewDocNode(probe, nullptr, BAD_CAST "a", BAD_CAST "\xC5\x81"));
  std::string text;
  TXMLDocument::Sink sink;
  sink.text = &text;
  xmlSaveCtxtPtr save = xmlSaveToIO(WriteSink, CloseSink, &sink, nullptr, XML_SAVE_AS_XML);
  long written = save != nullptr ? xmlSaveDoc(save, probe) : -1;
  int closed = save != nullptr ? xmlSaveClose(save) : -1;
  xmlFreeDoc(probe);
  if (written < 0 || closed < 0 || text.size() > static_cast<size_t>(INT_MAX)) return false;
  xmlDoc* back = xmlReadMemory(text.data(), static_cast<int>(text.size()), "", nullptr,
                               XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  bool ok = false;
  if (back != nullptr) {
    xmlNode* root = xmlDocGetRootElement(back);
    xmlChar* content = root != nullptr ? xmlNodeGetContent(root) : nullptr;
    ok = root != nullptr && xmlStrEqual(root->name, BAD_CAST "a") && xmlStrEqual(content, BAD_CAST "\xC5\x81");
    xmlFree(content);
    xmlFreeDoc(back);
  }
  return ok;
}

}  // namespace

void TXMLDocument::Write(Sink& sink) const {
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  RequireReadableBack(doc_);
  {
    xmlGenericErrorFunc previousHandler = xmlGenericError;
    void* previousContext = xmlGenericErrorContext;
    std::string ignored;
    xmlSetGenericErrorFunc(&ignored, CollectError);
    bool usable = EncodingRoundTrips(Encoding());
    xmlSetGenericErrorFunc(previousContext, previousHandler);
    if (!usable) throw EXMLDocError(Format("Kodowanie \"%s\" nie nadaje się do zapisu dokumentu XML", Encoding()));
  }
  // The indent unit is read from libxml2's per-thread setting when the save context starts.
  const char* previousIndent = xmlTreeIndentString;
  xmlGenericErrorFunc previousHandler = xmlGenericError;
  void* previousContext = xmlGenericErrorContext;
  std::string reason;
  xmlTreeIndentString = indent_.c_str();
  xmlSetGenericErrorFunc(&reason, CollectError);
  int options = XML_SAVE_AS_XML | ((options_ & doNodeAutoIndent) != 0 ? XML_SAVE_FORMAT : 0);
  xmlSaveCtxtPtr save = xmlSaveToIO(WriteSink, CloseSink, &sink, nullptr, options);
  xmlTreeIndentString = previousIndent;
  long written = save != nullptr ? xmlSaveDoc(save, doc_) : -1;
  int closed = save != nullptr ? xmlSaveClose(save) : -1;
  xmlSetGenericErrorFunc(previousContext, previousHandler);
  if (written < 0 || closed < 0 || sink.failed) {
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == ' ')) reason.pop_back();
    throw EXMLDocError(Format("Nie można zapisać dokumentu XML w kodowaniu \"%s\" (%s)", Encoding(),
                              reason.empty() ? std::string("błąd zapisu") : reason));
  }
}

void TXMLDocument::SaveToFile(const std::string& fileName) {
  InitLibxml();
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  ReplaceFileAtomically(fileName, [this, &fileName](const std::string& tempPath) {
    Sink sink;
    std::unique_ptr<char[]> buffer(new char[kFileBufferSize]);  // outlives the file
    sink.file = std::fopen(tempPath.c_str(), "wb");
    if (sink.file == nullptr)
      throw EXMLDocError(Format("Nie można zapisać pliku %s (%s)", fileName, std::strerror(errno)));
    std::setvbuf(sink.file, buffer.get(), _IOFBF, kFileBufferSize);
    try {
      Write(sink);
    } catch (...) {
      std::fclose(sink.file);
      throw;
    }
    if (std::fclose(sink.file) != 0)
      throw EXMLDocError(Format("Błąd zapisu pliku %s (%s)", fileName, std::strerror(errno)));
  });
  fileName_ = fileName;
  modified_ = false;
}

std::string TXMLDocument::SaveToXML() const {
  InitLibxml();
  std::string text;
  Sink sink;
  sink.text = &text;
  Write(sink);
  return text;
}

std::string TXMLDocument::Encoding() const {
  return doc_ != nullptr && doc_->encoding != nullptr ? reinterpret_cast<const char*>(doc_->encoding) : "";
}

void TXMLDocument::SetEncoding(const std::string& encoding) {
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  if (doc_->encoding != nullptr) xmlFree(const_cast<xmlChar*>(doc_->encoding));
  doc_->encoding = encoding.empty() ? nullptr : xmlStrdup(BAD_CAST encoding.c_str());
  modified_ = true;
}

std::string TXMLDocument::Version() const {
  return doc_ != nullptr && doc_->version != nullptr ? reinterpret_cast<const char*>(doc_->version) : "";
}

TXMLNode TXMLDocument::DocumentElement() {
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  return TXMLNode(xmlDocGetRootElement(doc_), shared_from_this());
}

void TXMLDocument::SetDocumentElement(const TXMLNode& element) {
  xmlNode* node = element.Live();
  if (node->type != XML_ELEMENT_NODE || element.document_.get() != this)
    throw EXMLDocError("Elementem głównym może być tylko element tego samego dokumentu");
  xmlNode* old = xmlDocGetRootElement(doc_);
  if (old == node) return;
  if (node->parent != nullptr) {
    ChildrenChanged(node->parent);
    detail::Unlink(node);
  }
  if (old != nullptr) Discard(old);
  detail::Link(reinterpret_cast<xmlNode*>(doc_), node, nullptr);
  xmlReconciliateNs(doc_, node);
  modified_ = true;
}

TXMLNode TXMLDocument::CreateElement(std::string_view tagName, std::string_view namespaceURI) {
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  std::string_view prefix, local = tagName;
  if (size_t colon = tagName.find(':'); colon != std::string_view::npos) {
    prefix = tagName.substr(0, colon);
    local = tagName.substr(colon + 1);
  }
  std::string localName(local);
  xmlNode* node = xmlNewDocNode(doc_, nullptr, BAD_CAST localName.c_str(), nullptr);
  if (node == nullptr) throw EXMLDocError("Brak pamięci na element XML");
  Discard(node);  // owned by the document until linked
  if (!namespaceURI.empty()) {
    std::string uri(namespaceURI);
    xmlNs* ns = nullptr;
    if (xmlNode* root = xmlDocGetRootElement(doc_); root != nullptr)
      ns = xmlSearchNsByHref(doc_, root, BAD_CAST uri.c_str());
    if (ns == nullptr) {
      std::string prefixText(prefix);
      ns = xmlNewNs(node, BAD_CAST uri.c_str(), prefix.empty() ? nullptr : BAD_CAST prefixText.c_str());
    }
    xmlSetNs(node, ns);
  }
  return TXMLNode(node, shared_from_this());
}

TXMLNode TXMLDocument::CreateTextNode(std::string_view text) {
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  std::string cleaned;
  text = XmlCleanText(text, cleaned, "węzła tekstowego");
  xmlNode* node = xmlNewDocTextLen(doc_, BAD_CAST text.data(), static_cast<int>(text.size()));
  if (node == nullptr) throw EXMLDocError("Brak pamięci na węzeł XML");
  Discard(node);
  return TXMLNode(node, shared_from_this());
}

TXMLNode TXMLDocument::CreateComment(std::string_view text) {
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  std::string cleaned;
  std::string value(XmlCleanText(text, cleaned, "komentarza"));
  // "--" inside a comment, or "-" at its end, would end it early: the file would not load.
  if (value.find("--") != std::string::npos || (!value.empty() && value.back() == '-'))
    throw EXMLDocError("Komentarz XML nie może zawierać \"--\" ani kończyć się znakiem \"-\"");
  xmlNode* node = xmlNewDocComment(doc_, BAD_CAST value.c_str());
  if (node == nullptr) throw EXMLDocError("Brak pamięci na węzeł XML");
  Discard(node);
  return TXMLNode(node, shared_from_this());
}

TXMLNode TXMLDocument::CreateCDataSection(std::string_view text) {
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  std::string cleaned;
  std::string value(XmlCleanText(text, cleaned, "sekcji CDATA"));
  // The writer splits a section at "]]>" by itself.
  xmlNode* node = xmlNewCDataBlock(doc_, BAD_CAST value.c_str(), static_cast<int>(value.size()));
  if (node == nullptr) throw EXMLDocError("Brak pamięci na węzeł XML");
  Discard(node);
  return TXMLNode(node, shared_from_this());
}

TXMLNode TXMLDocument::CreateProcessingInstruction(std::string_view target, std::string_view data) {
  if (doc_ == nullptr) throw EXMLDocError("Dokument XML nie jest aktywny");
  std::string cleaned;
  std::string name(target), value(XmlCleanText(data, cleaned, "instrukcji przetwarzania"));
  if (name.empty() || value.find("?>") != std::string::npos)
    throw EXMLDocError("Niepoprawna instrukcja przetwarzania XML");
  xmlNode* node = xmlNewDocPI(doc_, BAD_CAST name.c_str(), BAD_CAST value.c_str());
  if (node == nullptr) throw EXMLDocError("Brak pamięci na węzeł XML");
  Discard(node);
  return TXMLNode(node, shared_from_this());
}

void TXMLDocument::RegisterPrefix(const std::string& prefix, const std::string& uri) {
  for (auto& [p, u] : prefixes_)
    if (p == prefix) {
      u = uri;
      return;
    }
  prefixes_.emplace_back(prefix, uri);
}

std::string TXMLDocument::RegisteredPrefixURI(std::string_view prefix) const {
  for (const auto& [p, u] : prefixes_)
    if (p == prefix) return u;
  return "";
}

xmlDoc* TXMLDocument::DOMDocument() {
  ForgetAllCursors();
  return doc_;
}

TXMLDocument::ChildCursor& TXMLDocument::Cursor(const xmlNode* parent, std::string_view tag) {
  for (ChildCursor& cursor : cursors_)
    if (cursor.parent == parent && cursor.tag == tag) return cursor;
  ChildCursor& cursor = cursors_[nextCursor_];
  nextCursor_ = (nextCursor_ + 1) % cursors_.size();
  cursor = ChildCursor();
  cursor.parent = parent;
  cursor.tag = tag;
  return cursor;
}

void TXMLDocument::ChildrenChanged(const xmlNode* parent) {
  for (ChildCursor& cursor : cursors_)
    if (cursor.parent == parent) cursor = ChildCursor();
}

void TXMLDocument::ForgetAllCursors() {
  for (ChildCursor& cursor : cursors_) cursor = ChildCursor();
}

void TXMLDocument::Discard(xmlNode* node) {
  if (node->parent != nullptr) {
    ChildrenChanged(node->parent);
    detail::Unlink(node);
  }
  if (discarded_ == nullptr) discarded_ = xmlNewDocNode(doc_, nullptr, BAD_CAST "discarded", nullptr);
  detail::Link(discarded_, node, nullptr);
}

}  // namespace velkar::xml
