// The .mb file of a table: memo and BLOb values too long for their record. Each reference
// is checked against the file before a byte of the value is read.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "tools/db/paradox/ByteSource.h"

namespace velkar::db::paradox {

class MemoFile {
 public:
  explicit MemoFile(std::shared_ptr<ByteSource> source) : source_(std::move(source)) {}

  // nullptr when the file starts with its header block; otherwise what is wrong (Polish).
  const char* CheckHeader() const;
  // Reads the value that a record's reference (`pointer`: block offset and index, `length`)
  // names into `out`. Returns nullptr, or the damage found (Polish).
  const char* Read(std::uint32_t pointer, std::uint32_t length, std::string& out) const;

 private:
  std::shared_ptr<ByteSource> source_;
};

}  // namespace velkar::db::paradox
