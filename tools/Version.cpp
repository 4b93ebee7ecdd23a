// Reading the version block embedded in an executable file.
#include "tools/Version.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
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

std::string FileVersionText(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) return Failure(errno ? errno : ENOENT);
  std::vector<char> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) return Failure(EIO);
  std::string tag = BlockTag();
  auto at = std::search(data.begin(), data.end(), tag.begin(), tag.end());
  if (at == data.end()) return Failure(ENODATA);
  size_t offset = static_cast<size_t>(at - data.begin()) + tag.size();
  if (data.size() - offset < 12) return "";
  const auto* fixed = reinterpret_cast<const unsigned char*>(data.data() + offset);
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
