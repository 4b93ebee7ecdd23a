// Reading and writing JPK files at the XML level: safe parsing and the one output form
// every JPK file of the program has (UTF-8, declaration, one element per line, TAB
// indentation), written as a transaction.
#pragma once

#include <libxml/tree.h>

#include <memory>
#include <string>

namespace velkar {

struct XmlDocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;

// Parses a file without network access, without loading a DTD and without expanding
// entities; line numbers past 65535 are kept. Raises velkar::Error naming the file and the
// line of the first error.
XmlDocPtr ReadXmlFile(const std::string& fileName);

// Writes `doc` to `fileName`: an XML declaration (version 1.0, encoding UTF-8), UTF-8
// text, every element on a line of its own, one TAB per level. White-space-only text
// between elements is dropped from `doc` first. The file is replaced only when the whole
// document was written; otherwise the old file stays and a Polish error is raised.
void WriteFormattedXml(xmlDoc* doc, const std::string& fileName);

// Reads `fileName` and writes it back in the form above.
void ReformatXmlFile(const std::string& fileName);

}  // namespace velkar
