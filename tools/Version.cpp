// Reading the version block embedded in an executable file.
#include "tools/Version.h"

#include <elf.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>

#include "base/Error.h"

namespace velkar {

namespace {

constexpr std::uint32_t kFixedInfoSignature = 0xFEEF04BD;

// The tag is kept reversed here, so that the reader's own code never contains the tag
// it searches for.
std::string BlockTag() {
  std::string tag = "KCOLB-NOISREV-RAKLEV";
  std::reverse(tag.begin(), tag.end());
  return tag + '\0';
}

void PutWord(std::string& out, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

std::uint32_t GetWord(const unsigned char* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

std::string Failure(int code) { return Format("GetFileVersionInfo failed: (%d) %s", code, std::strerror(code)); }

}  // namespace

std::string MakeVersionBlock(std::uint16_t major, std::uint16_t minor, std::uint16_t release, std::uint16_t build) {
  std::string block = BlockTag();
  PutWord(block, kFixedInfoSignature);
  PutWord(block, static_cast<std::uint32_t>(major) << 16 | minor);
  PutWord(block, static_cast<std::uint32_t>(release) << 16 | build);
  return block;
}

namespace {

// An open file read at given places, never as a whole.
class FileReader {
 public:
  explicit FileReader(const std::string& fileName) : fd_(::open(fileName.c_str(), O_RDONLY | O_CLOEXEC)) {}
  ~FileReader() {
    if (fd_ >= 0) ::close(fd_);
  }
  FileReader(const FileReader&) = delete;
  FileReader& operator=(const FileReader&) = delete;
  bool IsOpen() const { return fd_ >= 0; }
  // Exactly `size` bytes from `offset`, or false.
  bool Read(std::uint64_t offset, void* into, size_t size) const {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    ssize_t n = ::pread(fd_, into, size, static_cast<off_t>(offset));
    return n >= 0 && static_cast<size_t>(n) == size;
  }
  ssize_t ReadSome(std::uint64_t offset, void* into, size_t size) const {
    return ::pread(fd_, into, size, static_cast<off_t>(offset));
  }

 private:
  int fd_;
};

constexpr const char* kVersionSection = ".velkar_version";

// The file offset of the section ".velkar_version" of a 64-bit little-endian ELF file: the
// header, the section table and its name table are read, a few kilobytes in all.
std::optional<std::uint64_t> VersionSectionOffset(const FileReader& file) {
  Elf64_Ehdr header{};
  if (!file.Read(0, &header, sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
      header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_ident[EI_DATA] != ELFDATA2LSB ||
      header.e_shentsize != sizeof(Elf64_Shdr) || header.e_shnum == 0 || header.e_shstrndx >= header.e_shnum)
    return {};
  std::vector<Elf64_Shdr> sections(header.e_shnum);
  if (!file.Read(header.e_shoff, sections.data(), sections.size() * sizeof(Elf64_Shdr))) return {};
  const Elf64_Shdr& names = sections[header.e_shstrndx];
  if (names.sh_size == 0 || names.sh_size > (1u << 20)) return {};
  std::string nameTable(names.sh_size, '\0');
  if (!file.Read(names.sh_offset, nameTable.data(), nameTable.size())) return {};
  for (const Elf64_Shdr& section : sections) {
    if (section.sh_name >= nameTable.size()) continue;
    if (std::strcmp(nameTable.c_str() + section.sh_name, kVersionSection) == 0 && section.sh_type == SHT_PROGBITS)
      return section.sh_offset;
  }
  return {};
}

// The offset of the first block tag in the file, read in pieces of 1 MiB (for files
// without the section: other formats, stripped section tables).
std::optional<std::uint64_t> SearchBlockTag(const FileReader& file, const std::string& tag) {
  constexpr size_t kPiece = 1 << 20;
  std::vector<char> buffer(kPiece + tag.size());
  std::uint64_t offset = 0;  // of buffer[0]
  size_t kept = 0;
  for (;;) {
    ssize_t n = file.ReadSome(offset + kept, buffer.data() + kept, kPiece);
    if (n < 0) return {};
    size_t filled = kept + static_cast<size_t>(n);
    auto at = std::search(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(filled), tag.begin(), tag.end());
    if (at != buffer.begin() + static_cast<std::ptrdiff_t>(filled)) return offset + static_cast<std::uint64_t>(at - buffer.begin());
    if (n == 0) return {};
    // The last bytes stay: a tag may straddle two pieces.
    kept = std::min(filled, tag.size() - 1);
    std::memmove(buffer.data(), buffer.data() + filled - kept, kept);
    offset += filled - kept;
  }
}

}  // namespace

std::string FileVersionText(const std::string& fileName) {
  FileReader file(fileName);
  if (!file.IsOpen()) return Failure(errno ? errno : ENOENT);
  std::string tag = BlockTag();
  std::optional<std::uint64_t> at = VersionSectionOffset(file);
  std::string found(tag.size(), '\0');
  if (!at || !file.Read(*at, found.data(), found.size()) || found != tag) at = SearchBlockTag(file, tag);
  if (!at) return Failure(ENODATA);
  unsigned char fixed[12];
  if (!file.Read(*at + tag.size(), fixed, sizeof fixed)) return "";
  if (GetWord(fixed) != kFixedInfoSignature) return "";
  std::uint32_t ms = GetWord(fixed + 4);
  std::uint32_t ls = GetWord(fixed + 8);
  return Format("ver %d.%d.%d build %d", ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF);
}

std::string RunningExecutablePath() {
  std::vector<char> buffer(4096);
  ssize_t n = ::readlink("/proc/self/exe", buffer.data(), buffer.size() - 1);
  if (n <= 0) return {};
  return std::string(buffer.data(), static_cast<size_t>(n));
}

}  // namespace velkar
