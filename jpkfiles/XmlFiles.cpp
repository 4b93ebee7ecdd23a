// Safe parsing and the formatted, transactional XML output.
#include "jpkfiles/XmlFiles.h"

#include <libxml/parser.h>
#include <libxml/xmlsave.h>

#include <fstream>

#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "jpkfiles/XmlErrors.h"

namespace velkar {

namespace {

bool IsBlankText(const xmlNode* node) {
  if (node->type != XML_TEXT_NODE) return false;
  for (const xmlChar* c = node->content; c && *c; ++c)
    if (*c != ' ' && *c != '\t' && *c != '\r' && *c != '\n') return false;
  return true;
}

// Removes white-space-only text from elements that hold child elements (element-only
// content in every JPK schema), so the output can put each element on a line of its own.
// Text of elements without child elements is data and stays.
void DropLayoutBlanks(xmlNode* parent) {
  bool hasElements = false;
  for (xmlNode* child = parent->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE) hasElements = true;
  for (xmlNode* child = parent->children; child;) {
    xmlNode* next = child->next;
    if (hasElements && IsBlankText(child)) {
      xmlUnlinkNode(child);
      xmlFreeNode(child);
    } else if (child->type == XML_ELEMENT_NODE) {
      DropLayoutBlanks(child);
    }
    child = next;
  }
}

// libxml2's indentation settings are per-thread globals read when a save context starts.
class IndentWithTab {
 public:
  IndentWithTab() : oldIndent_(xmlTreeIndentString), oldIndentOutput_(xmlIndentTreeOutput) {
    xmlTreeIndentString = "\t";
    xmlIndentTreeOutput = 1;
  }
  ~IndentWithTab() {
    xmlTreeIndentString = oldIndent_;
    xmlIndentTreeOutput = oldIndentOutput_;
  }
  IndentWithTab(const IndentWithTab&) = delete;
  IndentWithTab& operator=(const IndentWithTab&) = delete;

 private:
  const char* oldIndent_;
  int oldIndentOutput_;
};

int WriteToStream(void* context, const char* buffer, int length) {
  auto* out = static_cast<std::ofstream*>(context);
  out->write(buffer, length);
  return *out ? length : -1;
}

int CloseNothing(void*) { return 0; }

}  // namespace

XmlDocPtr ReadXmlFile(const std::string& fileName) {
  if (!FileExists(fileName)) Fail("Brak pliku %s", fileName);
  XmlErrorCollector collector;
  XmlDocPtr doc;
  {
    CollectXmlErrors collect(collector);
    xmlParserCtxtPtr context = xmlNewParserCtxt();
    if (!context) Fail("Brak pamięci na odczyt pliku %s", fileName);
    doc.reset(xmlCtxtReadFile(context, fileName.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_BIG_LINES));
    xmlFreeParserCtxt(context);
  }
  if (!collector.problems.empty())
    Fail("Błąd w pliku %s (wiersz %d): %s", fileName, collector.problems[0].line, collector.problems[0].message);
  if (!doc || !xmlDocGetRootElement(doc.get())) Fail("Błąd w pliku %s: brak dokumentu XML", fileName);
  return doc;
}

void WriteFormattedXml(xmlDoc* doc, const std::string& fileName) {
  if (!doc) Fail("Brak dokumentu do zapisania w pliku %s", fileName);
  for (xmlNode* child = doc->children; child; child = child->next)
    if (child->type == XML_ELEMENT_NODE) DropLayoutBlanks(child);
  xmlFree(const_cast<xmlChar*>(doc->version));
  doc->version = xmlStrdup(BAD_CAST "1.0");
  ReplaceFileAtomically(fileName, [&](const std::string& temp) {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) Fail("Nie można zapisać pliku %s", fileName);
    IndentWithTab indent;
    XmlErrorCollector collector;
    CollectXmlErrors collect(collector);
    xmlSaveCtxtPtr save = xmlSaveToIO(WriteToStream, CloseNothing, &out, "UTF-8", XML_SAVE_FORMAT);
    if (!save) Fail("Nie można zapisać pliku %s", fileName);
    long written = xmlSaveDoc(save, doc);
    int closed = xmlSaveClose(save);
    out.close();
    if (written < 0 || closed < 0 || !out) Fail("Nie można zapisać pliku %s: błąd zapisu", fileName);
  });
}

void ReformatXmlFile(const std::string& fileName) {
  XmlDocPtr doc = ReadXmlFile(fileName);
  WriteFormattedXml(doc.get(), fileName);
}

}  // namespace velkar
