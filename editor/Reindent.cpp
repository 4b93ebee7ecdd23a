// The re-indented text of a document: libxml2's formatter against a text, and a walk of
// the tree that recognises the formatter's output for plain documents without writing it.
#include "editor/Reindent.h"

#include <libxml/parserInternals.h>
#include <libxml/xmlsave.h>

#include <cstring>

#include "base/Error.h"

namespace velkar::reindent {

namespace {

// The formatter indents at most this many levels (libxml2's MAX_INDENT for a one-character
// indent string); deeper documents are left to the formatter itself.
constexpr int kMaxLevel = 60;

bool IsText(const xmlNode* node) {
  // "textnoenc" nodes are written unescaped: not a plain document.
  return node->type == XML_TEXT_NODE && node->name == xmlStringText;
}

// Walks the tree and the text together, the way xmlSaveDoc with XML_SAVE_FORMAT and a
// TAB indent writes a document whose encoding is declared.
class Walk {
 public:
  explicit Walk(std::string_view text) : text_(text) {}

  bool Document(const xmlDoc* doc) {
    if (!doc->version || !doc->encoding || doc->intSubset || doc->extSubset || doc->standalone >= 0) return false;
    if (!Expect("<?xml version=\"") || !Quoted(doc->version) || !Expect("\" encoding=\"") || !Quoted(doc->encoding) ||
        !Expect("\"?>\n"))
      return false;
    const xmlNode* root = doc->children;
    if (!root || root->next || root->type != XML_ELEMENT_NODE) return false;
    return Element(root, 0) && Expect("\n") && at_ == text_.size();
  }

 private:
  bool Expect(std::string_view piece) {
    if (text_.size() - at_ < piece.size() || text_.compare(at_, piece.size(), piece) != 0) return false;
    at_ += piece.size();
    return true;
  }
  bool Expect(const xmlChar* piece) { return Expect(std::string_view(reinterpret_cast<const char*>(piece))); }
  // A value the formatter writes between double quotes as it is.
  bool Quoted(const xmlChar* value) {
    if (std::strchr(reinterpret_cast<const char*>(value), '"')) return false;
    return Expect(value);
  }
  bool Indent(int level) {
    if (text_.size() - at_ < static_cast<size_t>(level)) return false;
    for (int i = 0; i < level; ++i)
      if (text_[at_ + static_cast<size_t>(i)] != '\t') return false;
    at_ += static_cast<size_t>(level);
    return true;
  }
  bool Name(const xmlNs* ns, const xmlChar* name) {
    if (ns && ns->prefix && !(Expect(ns->prefix) && Expect(":"))) return false;
    return Expect(name);
  }
  // Text content: "<", ">", "&" and carriage returns escaped, the rest as it is.
  bool Escaped(const xmlChar* content, bool attribute) {
    if (!content) return true;
    for (const xmlChar* c = content; *c; ++c) {
      std::string_view piece;
      switch (*c) {
        case '<':
          piece = "&lt;";
          break;
        case '>':
          piece = "&gt;";
          break;
        case '&':
          piece = "&amp;";
          break;
        case '\r':
          piece = "&#13;";
          break;
        case '"':
          piece = attribute ? "&quot;" : "\"";
          break;
        case '\n':
          piece = attribute ? "&#10;" : "\n";
          break;
        case '\t':
          piece = attribute ? "&#9;" : "\t";
          break;
        default:
          if (at_ >= text_.size() || text_[at_] != static_cast<char>(*c)) return false;
          ++at_;
          continue;
      }
      if (!Expect(piece)) return false;
    }
    return true;
  }
  bool Element(const xmlNode* node, int level) {
    if (level > kMaxLevel || !Expect("<") || !Name(node->ns, node->name)) return false;
    for (const xmlNs* ns = node->nsDef; ns; ns = ns->next) {
      if (!ns->href || !Expect(" xmlns") || (ns->prefix && !(Expect(":") && Expect(ns->prefix))) || !Expect("=\"") ||
          !Quoted(ns->href) || !Expect("\""))
        return false;
    }
    for (const xmlAttr* attr = node->properties; attr; attr = attr->next) {
      if (attr->type != XML_ATTRIBUTE_NODE || !Expect(" ") || !Name(attr->ns, attr->name) || !Expect("=\""))
        return false;
      for (const xmlNode* part = attr->children; part; part = part->next)
        if (!IsText(part) || !Escaped(part->content, true)) return false;
      if (!Expect("\"")) return false;
    }
    const xmlNode* first = node->children;
    if (!first) return Expect("/>");
    if (!Expect(">")) return false;
    if (IsText(first)) {
      // Text content is written as it stands, on the element's line.
      for (const xmlNode* child = first; child; child = child->next)
        if (!IsText(child) || !Escaped(child->content, false)) return false;
    } else {
      if (!Expect("\n")) return false;
      for (const xmlNode* child = first; child; child = child->next)
        if (child->type != XML_ELEMENT_NODE || !Indent(level + 1) || !Element(child, level + 1) || !Expect("\n"))
          return false;
      if (!Indent(level)) return false;
    }
    return Expect("</") && Name(node->ns, node->name) && Expect(">");
  }

  std::string_view text_;
  size_t at_ = 0;
};

}  // namespace

bool QuickSame(const xmlDoc* doc, std::string_view text) { return doc && Walk(text).Document(doc); }

Text::Text(xmlDoc* doc, std::string_view original) : original_(original) {
  const char* previousIndent = xmlTreeIndentString;
  xmlTreeIndentString = "\t";
  xmlSaveCtxtPtr save = xmlSaveToIO(Write, Close, this, nullptr, XML_SAVE_FORMAT | XML_SAVE_AS_XML);
  xmlTreeIndentString = previousIndent;
  long written = save ? xmlSaveDoc(save, doc) : -1;
  int closed = save ? xmlSaveClose(save) : -1;
  if (written < 0 || closed < 0) Fail("Nie można sformatować dokumentu XML");
  if (!diverged_ && agreed_ < original_.size()) Diverge();
}

int Text::Write(void* context, const char* buffer, int length) {
  auto* self = static_cast<Text*>(context);
  auto size = static_cast<size_t>(length);
  if (!self->diverged_) {
    if (self->agreed_ + size <= self->original_.size() &&
        std::memcmp(self->original_.data() + self->agreed_, buffer, size) == 0) {
      self->agreed_ += size;
      return length;
    }
    self->Diverge();
  }
  self->text_.append(buffer, size);
  return length;
}

void Text::Diverge() {
  diverged_ = true;
  text_.reserve(original_.size() + original_.size() / 4);
  text_.assign(original_.substr(0, agreed_));
}

}  // namespace velkar::reindent
