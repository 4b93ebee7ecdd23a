// A JPK file generated straight to disk: the generator writes finished records to a
// temporary file as it goes (memory stays bounded however large the month), and the save
// moves that file into place. The temporary file is removed when it is not saved.
#pragma once

#include <memory>
#include <string>

#include "model/xml/XmlStreamedSave.h"

namespace velkar {

class GeneratedJpkFile {
 public:
  // A new temporary file for `document` in the save folder (SaveDir) when it exists,
  // otherwise in the system's temporary folder. `batch`: records kept in memory before
  // they are written out.
  explicit GeneratedJpkFile(xml::IXMLDocument document, size_t batch = xml::TXMLStreamedSave::kDefaultBatch);
  // Removes the temporary file unless it was moved into place.
  ~GeneratedJpkFile();
  GeneratedJpkFile(const GeneratedJpkFile&) = delete;
  GeneratedJpkFile& operator=(const GeneratedJpkFile&) = delete;

  // See TXMLStreamedSave::RecordDone.
  void RecordDone(const xml::TXMLNode& open) { writer_->RecordDone(open); }
  // Writes the rest of the document; the file is then complete.
  void Finish() {
    writer_->Finish();
    finished_ = true;
  }
  bool Finished() const { return finished_; }
  // Whether the document in memory lost records already written to the file.
  bool Released() const { return writer_->Released(); }
  const std::string& TempPath() const { return tempPath_; }

  // Puts the finished file at `target` in one step (an old file there is replaced, or kept
  // when this fails); the temporary file is gone afterwards.
  void MoveTo(const std::string& target);

 private:
  std::string tempPath_;
  std::unique_ptr<xml::TXMLStreamedSave> writer_;
  bool finished_ = false;
  bool moved_ = false;
};

// The temporary folder of generated files (SaveDir when it exists, else the system's).
std::string GeneratedJpkFolder();

}  // namespace velkar
