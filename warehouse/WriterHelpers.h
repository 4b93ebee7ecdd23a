// Small helpers of the warehouse writers: elements appended in the order they are written.
#pragma once

#include <string>
#include <string_view>

#include "model/xml/XmlNode.h"
#include "model/xml/XmlValues.h"

namespace velkar {

// Appends the child `name` with `text` (the writers write every element once, in schema order).
inline xml::TXMLNode Put(const xml::TXMLNode& parent, const char* name, std::string_view text) {
  xml::TXMLNode child = parent.AddChild(name);
  child.SetText(text);
  return child;
}
// The first `count` characters (code points) of a UTF-8 text.
inline std::string Utf8Prefix(const std::string& text, size_t count) {
  size_t i = 0;
  for (size_t chars = 0; i < text.size() && chars < count; ++chars) {
    ++i;
    while (i < text.size() && (static_cast<unsigned char>(text[i]) & 0xC0) == 0x80) ++i;  // continuation bytes
  }
  return text.substr(0, i);
}

inline void PutNumber(const xml::TXMLNode& parent, const char* name, double value) {
  Put(parent, name, xml::XmlFloatToStr(value));
}
inline void PutInt(const xml::TXMLNode& parent, const char* name, long long value) {
  Put(parent, name, xml::XmlIntToStr(value));
}
inline void PutBool(const xml::TXMLNode& parent, const char* name, bool value) {
  Put(parent, name, xml::XmlBoolToStr(value));
}

}  // namespace velkar
