// File and memory byte sources.
#include "tools/db/paradox/ByteSource.h"

#include <cstring>
#include <fstream>

namespace velkar::db::paradox {

namespace {

class FileSource final : public ByteSource {
 public:
  explicit FileSource(std::ifstream in, std::uint64_t size) : in_(std::move(in)), size_(size) {}
  std::uint64_t Size() const override { return size_; }
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const override {
    if (offset > size_ || count > size_ - offset) return false;
    in_.clear();
    in_.seekg(static_cast<std::streamoff>(offset));
    in_.read(static_cast<char*>(buffer), static_cast<std::streamsize>(count));
    // The file may have shrunk since it was opened.
    return in_.gcount() == static_cast<std::streamsize>(count);
  }

 private:
  mutable std::ifstream in_;
  std::uint64_t size_;
};

class MemorySource final : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  std::uint64_t Size() const override { return bytes_.size(); }
  bool ReadAt(std::uint64_t offset, void* buffer, std::size_t count) const override {
    if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
    if (count > 0) std::memcpy(buffer, bytes_.data() + offset, count);
    return true;
  }

 private:
  std::string bytes_;
};

}  // namespace

std::shared_ptr<ByteSource> OpenFileSource(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return nullptr;
  in.seekg(0, std::ios::end);
  std::streamoff size = in.tellg();
  if (size < 0) return nullptr;
  in.seekg(0);
  return std::make_shared<FileSource>(std::move(in), static_cast<std::uint64_t>(size));
}

std::shared_ptr<ByteSource> MakeMemorySource(std::string bytes) {
  return std::make_shared<MemorySource>(std::move(bytes));
}

}  // namespace velkar::db::paradox
