// Writing a document in parts while it is built. Each finished element is written by
// libxml2's own serializer at its depth in the document, and the tags of the elements left
// open are cut from a serialization of the element holding a single marker child, so the
// file is what the whole-document save would write.
#include "model/xml/XmlStreamedSave.h"

#include <libxml/globals.h>
#include <libxml/xmlIO.h>
#include <libxml/xmlsave.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "base/Text.h"
#include "model/xml/XmlErrors.h"
#include "model/xml/XmlTreeOps.h"

namespace velkar::xml {

namespace {

constexpr size_t kFileBufferSize = 1 << 20;
constexpr const char* kMarker = "velkar-streamed-save-marker";
// libxml2 indents at most this many characters (its MAX_INDENT).
constexpr size_t kMaxIndent = 60;

int WriteToFile(void* context, const char* buffer, int len) {
  auto* file = static_cast<FILE*>(context);
  return std::fwrite(buffer, 1, static_cast<size_t>(len), file) == static_cast<size_t>(len) ? len : -1;
}

int KeepFileOpen(void*) { return 0; }

size_t Depth(const xmlNode* node) {
  size_t depth = 0;
  for (const xmlNode* p = node->parent; p != nullptr && p->type == XML_ELEMENT_NODE; p = p->parent) ++depth;
  return depth;
}

// Sets libxml2's per-thread indent string for the serializer calls of its lifetime.
class IndentScope {
 public:
  explicit IndentScope(const std::string& indent) : previous_(xmlTreeIndentString) {
    xmlTreeIndentString = indent.c_str();
  }
  ~IndentScope() { xmlTreeIndentString = previous_; }
  IndentScope(const IndentScope&) = delete;
  IndentScope& operator=(const IndentScope&) = delete;

 private:
  const char* previous_;
};

// Puts a lone marker element in place of `element`'s children for its lifetime.
class MarkerChild {
 public:
  explicit MarkerChild(xmlNode* element)
      : element_(element), children_(element->children), last_(element->last) {
    marker_ = xmlNewDocNode(element->doc, nullptr, BAD_CAST kMarker, nullptr);
    if (marker_ == nullptr) throw EXMLDocError("Brak pamięci na element XML");
    element->children = element->last = marker_;
    marker_->parent = element;
  }
  ~MarkerChild() {
    element_->children = children_;
    element_->last = last_;
    marker_->parent = nullptr;
    xmlFreeNode(marker_);
  }
  MarkerChild(const MarkerChild&) = delete;
  MarkerChild& operator=(const MarkerChild&) = delete;

 private:
  xmlNode* element_;
  xmlNode* children_;
  xmlNode* last_;
  xmlNode* marker_ = nullptr;
};

}  // namespace

TXMLStreamedSave::TXMLStreamedSave(IXMLDocument document, std::string fileName, size_t batch)
    : document_(std::move(document)), fileName_(std::move(fileName)), batch_(std::max<size_t>(batch, 1)) {
  if (!document_ || !document_->Active()) throw EXMLDocError("Dokument XML nie jest aktywny");
  std::string encoding = document_->Encoding();
  if (!encoding.empty() && xmlStrcasecmp(BAD_CAST encoding.c_str(), BAD_CAST "UTF-8") != 0)
    throw EXMLDocError(Format("Zapis w częściach obsługuje tylko kodowanie UTF-8, nie \"%s\"", encoding));
  document_->SetOptions(document_->Options() | doNodeAutoIndent);
  file_ = std::fopen(fileName_.c_str(), "wb");
  if (file_ == nullptr) throw EXMLDocError(Format("Nie można zapisać pliku %s (%s)", fileName_, std::strerror(errno)));
  fileBuffer_.reset(new char[kFileBufferSize]);
  std::setvbuf(file_, fileBuffer_.get(), _IOFBF, kFileBufferSize);
  out_ = xmlOutputBufferCreateIO(WriteToFile, KeepFileOpen, file_, nullptr);
  if (out_ == nullptr) {
    std::fclose(file_);
    throw EXMLDocError("Brak pamięci na zapis dokumentu XML");
  }
}

TXMLStreamedSave::~TXMLStreamedSave() {
  if (out_ != nullptr) xmlOutputBufferClose(out_);
  if (file_ != nullptr) std::fclose(file_);
}

void TXMLStreamedSave::RecordDone(const TXMLNode& open) {
  if (finished_) throw EXMLDocError("Zapis dokumentu XML został już zakończony");
  if (++waiting_ < batch_) return;
  waiting_ = 0;
  Flush(open.DOMNode(), true);
}

void TXMLStreamedSave::Finish() {
  if (finished_) return;
  if (opened_.empty()) OpenRoot();
  IndentScope indent(document_->NodeIndentStr());
  while (!opened_.empty()) Close(opened_.back(), false);
  finished_ = true;
  int closed = xmlOutputBufferClose(out_);
  out_ = nullptr;
  int fileClosed = std::fclose(file_);
  file_ = nullptr;
  if (closed < 0 || fileClosed != 0 || writeFailed_)
    throw EXMLDocError(Format("Błąd zapisu pliku %s (%s)", fileName_, std::strerror(errno)));
}

void TXMLStreamedSave::Flush(xmlNode* open, bool release) {
  std::vector<xmlNode*> path;
  for (xmlNode* node = open; node != nullptr && node->type == XML_ELEMENT_NODE; node = node->parent)
    path.push_back(node);
  std::reverse(path.begin(), path.end());
  xmlDoc* doc = document_->DOMDocument();
  if (path.empty() || path.front() != xmlDocGetRootElement(doc))
    throw EXMLDocError("Element nie należy do zapisywanego dokumentu");
  if (opened_.empty()) OpenRoot();
  IndentScope indent(document_->NodeIndentStr());
  size_t common = 0;
  while (common < opened_.size() && common < path.size() && opened_[common] == path[common]) ++common;
  while (opened_.size() > common) Close(opened_.back(), release);
  for (size_t i = common; i < path.size(); ++i) Open(path[i]);
  WriteChildren(open, nullptr, release);
  if (release) released_ = true;
  CheckOutput();
}

void TXMLStreamedSave::OpenRoot() {
  xmlNode* root = xmlDocGetRootElement(document_->DOMDocument());
  if (root == nullptr) throw EXMLDocError("Dokument XML nie ma elementu głównego");
  std::string start, end;
  Tags(root, start, end);
  Write(start);
  opened_.push_back(root);
  endTags_.push_back(end);
}

void TXMLStreamedSave::Open(xmlNode* element) {
  WriteChildren(element->parent, element, true);
  std::string start, end;
  Tags(element, start, end);
  WriteIndent(Depth(element));
  Write(start);
  opened_.push_back(element);
  endTags_.push_back(end);
}

void TXMLStreamedSave::Close(xmlNode* element, bool release) {
  WriteChildren(element, nullptr, release);
  Write(endTags_.back());
  if (opened_.size() > 1) {
    Write("\n");
    closed_[element] = release;
  }
  opened_.pop_back();
  endTags_.pop_back();
}

void TXMLStreamedSave::WriteChildren(xmlNode* parent, xmlNode* upTo, bool release) {
  size_t level = Depth(parent) + 1;
  xmlNode* child = parent->children;
  while (child != nullptr && child != upTo) {
    xmlNode* next = child->next;
    if (child->type != XML_ELEMENT_NODE)
      throw EXMLDocError(Format("Element %s ma treść inną niż elementy: nie można go zapisać w częściach",
                                reinterpret_cast<const char*>(parent->name)));
    if (auto closed = closed_.find(child); closed != closed_.end()) {
      // Written and closed earlier: when its children were released, it must have stayed empty.
      if (closed->second && child->children != nullptr)
        throw EXMLDocError(Format("Element %s zmieniono po zapisaniu go do pliku",
                                  reinterpret_cast<const char*>(child->name)));
      child = next;
      continue;
    }
    WriteIndent(level);
    xmlNodeDumpOutput(out_, child->doc, child, static_cast<int>(level), 1, "UTF-8");
    Write("\n");
    if (release) {
      detail::Unlink(child);
      xmlFreeNode(child);
    }
    child = next;
  }
}

void TXMLStreamedSave::WriteIndent(size_t level) {
  const std::string& indent = document_->NodeIndentStr();
  if (indent.empty()) return;
  size_t units = std::min(level, kMaxIndent / indent.size());
  for (size_t i = 0; i < units; ++i) xmlOutputBufferWrite(out_, static_cast<int>(indent.size()), indent.c_str());
}

void TXMLStreamedSave::Write(const std::string& text) {
  xmlOutputBufferWrite(out_, static_cast<int>(text.size()), text.c_str());
}

void TXMLStreamedSave::Tags(xmlNode* element, std::string& start, std::string& end) {
  std::string text;
  size_t level = Depth(element);
  {
    MarkerChild marker(element);
    if (level == 0) {
      text = document_->SaveToXML();
    } else {
      IndentScope indent(document_->NodeIndentStr());
      xmlOutputBufferPtr buffer = xmlAllocOutputBuffer(nullptr);
      if (buffer == nullptr) throw EXMLDocError("Brak pamięci na zapis dokumentu XML");
      xmlNodeDumpOutput(buffer, element->doc, element, static_cast<int>(level), 1, "UTF-8");
      xmlOutputBufferFlush(buffer);
      const xmlChar* content = xmlOutputBufferGetContent(buffer);
      text.assign(reinterpret_cast<const char*>(content), xmlOutputBufferGetSize(buffer));
      xmlOutputBufferClose(buffer);
    }
  }
  std::string markerTag = std::string("<") + kMarker + "/>\n";
  size_t at = text.find(markerTag);
  const std::string& indent = document_->NodeIndentStr();
  size_t indentLength = std::min(level + 1, indent.empty() ? 0 : kMaxIndent / indent.size()) * indent.size();
  if (at == std::string::npos || at < indentLength)
    throw EXMLDocError("Nie można ustalić znaczników elementu do zapisu w częściach");
  start = text.substr(0, at - indentLength);
  end = text.substr(at + markerTag.size());
}

void TXMLStreamedSave::CheckOutput() {
  if (out_->error != 0 || std::ferror(file_) != 0)
    throw EXMLDocError(Format("Błąd zapisu pliku %s (%s)", fileName_, std::strerror(errno)));
}

}  // namespace velkar::xml
