// Changing register fields found by the row scan: writes go through the typed model (so
// the document knows it was modified), and only when the value differs.
#pragma once

#include <libxml/tree.h>

#include <cstdint>
#include <string_view>

#include "model/xml/XmlNode.h"

namespace velkar::regedit {

// The document whose raw nodes are written.
struct Editable {
  xml::IXMLDocument document;
  xml::TXMLNode Node(const xmlNode* node) const { return xml::TXMLNode(const_cast<xmlNode*>(node), document); }
};

// "brak" (missing) as a word of its own, in any letter case: "brak", "Brak danych",
// "NIP: BRAK", but not "Abrakadabra".
bool MentionsBrak(std::string_view text);

void SetIfDifferent(const Editable& doc, const xmlNode* field, std::string_view value);
// A whole number; a text that is not one is replaced.
void SetNumberIfDifferent(const Editable& doc, const xmlNode* field, std::int64_t value);
// An amount, compared as the shortest decimal texts; a text that is not a number is replaced.
void SetAmountIfDifferent(const Editable& doc, const xmlNode* field, double value);

}  // namespace velkar::regedit
