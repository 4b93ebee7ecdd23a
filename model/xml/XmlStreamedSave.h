// Saving a large document while it is being built: finished elements are written to the
// file and released as the builder goes, so memory holds only the part not yet written.
// The file comes out byte for byte as TXMLDocument::SaveToFile writes the whole document
// with doNodeAutoIndent (one element per line, the indent string per level, UTF-8).
#pragma once

#include <libxml/tree.h>

#include <cstdio>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/xml/XmlDocument.h"
#include "model/xml/XmlNode.h"

namespace velkar::xml {

class TXMLStreamedSave {
 public:
  // Records waiting in memory before they are written out (see RecordDone). Few: the
  // memory they free is then allocated again for the next records while still cached.
  static constexpr size_t kDefaultBatch = 64;

  // Creates (or empties) `fileName` for `document`, whose encoding must be UTF-8 or unset.
  // Raises EXMLDocError when the file cannot be created.
  TXMLStreamedSave(IXMLDocument document, std::string fileName, size_t batch = kDefaultBatch);
  ~TXMLStreamedSave();
  TXMLStreamedSave(const TXMLStreamedSave&) = delete;
  TXMLStreamedSave& operator=(const TXMLStreamedSave&) = delete;

  // Called after each finished record appended under `open` (the root or an element
  // below it that will take further records). Once `batch` records wait, everything before
  // `open` and every child `open` holds is written and released; elements of an earlier
  // open path are closed. The builder must hold no node reference into what is released
  // and must not change it afterwards: that part of the document is on disk only.
  void RecordDone(const TXMLNode& open);
  // Writes everything not yet written and closes the file. What was never released stays
  // in the document (a document small enough for one batch is still whole afterwards).
  void Finish();

  // Whether part of the document was released (the document is then no longer whole).
  bool Released() const { return released_; }
  const std::string& FileName() const { return fileName_; }

 private:
  void Flush(xmlNode* open, bool release);
  void OpenRoot();
  void Open(xmlNode* element);
  void Close(xmlNode* element, bool release);
  void WriteChildren(xmlNode* parent, xmlNode* upTo, bool release);
  void WriteIndent(size_t level);
  void Write(const std::string& text);
  // The start and end tag of `element` exactly as the whole-document save writes them
  // around its element children.
  void Tags(xmlNode* element, std::string& start, std::string& end);
  void CheckOutput();

  IXMLDocument document_;
  std::string fileName_;
  size_t batch_;
  size_t waiting_ = 0;
  bool released_ = false;
  bool finished_ = false;
  FILE* file_ = nullptr;
  std::unique_ptr<char[]> fileBuffer_;
  xmlOutputBufferPtr out_ = nullptr;
  bool writeFailed_ = false;
  // Elements whose start tag is written and end tag not yet, root first, with their end tags.
  std::vector<xmlNode*> opened_;
  std::vector<std::string> endTags_;
  // Elements closed on disk while still linked in the tree, and whether their children
  // were released (they are then empty shells and must stay empty).
  std::unordered_map<const xmlNode*, bool> closed_;
};

}  // namespace velkar::xml
