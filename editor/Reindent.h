// The re-indented text of a document, as the program writes JPK files (the declaration,
// one element per line, a TAB per level, UTF-8), set against a text already at hand: the
// line clean-up before loading needs to know whether a file is already in that form.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <string_view>

namespace velkar::reindent {

// True when `text` is certainly the re-indented text of `doc`. Decided by one walk of the
// tree for documents made of elements, attributes and text (as JPK files are), written
// the way libxml2's formatter writes them; false when the texts differ or the document
// holds anything else (then ask Text).
bool QuickSame(const xmlDoc* doc, std::string_view text);

// libxml2's re-indented text of `doc`, set against `original` while it is written:
// nothing is kept while the two agree, so a document already in this form costs no copy.
// Raises a Polish error when the document cannot be written.
class Text {
 public:
  Text(xmlDoc* doc, std::string_view original);
  // The text equals the original.
  bool Same() const { return !diverged_; }
  // The text, when it differs from the original.
  const std::string& Differing() const { return text_; }

 private:
  static int Write(void* context, const char* buffer, int length);
  static int Close(void*) { return 0; }
  void Diverge();

  std::string_view original_;
  size_t agreed_ = 0;
  bool diverged_ = false;
  std::string text_;
};

}  // namespace velkar::reindent
