// Random access to the bytes of a table file, from disk or from memory. Every read states
// how much it needs; a source shorter than that reports it instead of reading past its end.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace velkar::db::paradox {

class ByteSource {
 public:
  virtual ~ByteSource() = default;
  virtual std::uint64_t Size() const = 0;
  // Copies exactly `count` bytes from `offset`; false when they are not all there.
  virtual bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const = 0;
};

// nullptr when the file cannot be opened.
std::shared_ptr<ByteSource> OpenFileSource(const std::string& path);
std::shared_ptr<ByteSource> MakeMemorySource(std::string bytes);

}  // namespace velkar::db::paradox
