// Walking the rows of a JPK register and reading their amounts, for the exchange writers:
// nothing is created by reading.
#pragma once

#include <string_view>

#include "model/xml/XmlNode.h"
#include "model/xml/XmlValues.h"

namespace velkar {

// The next element after `node`, passing over comments and text between rows; null at
// the end.
inline xml::TXMLNode NextElement(const xml::TXMLNode& node) {
  xml::TXMLNode next = node.NextSibling();
  while (next && next.NodeType() != xml::ntElement) next = next.NextSibling();
  return next;
}

// The amount a child element holds ("." as decimal point, unrounded); 0 when the row has
// no such element. A text that is not a number raises xml::EConvertError.
inline double ElementAmount(const xml::TXMLNode& row, std::string_view name) {
  xml::TXMLNode element = row.FindChild(name);
  return element ? xml::XmlStrToFloat(element.Text()) : 0.0;
}

}  // namespace velkar
