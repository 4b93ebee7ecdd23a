// Text of a table's code page (437, 850, 852, 866, 1250, 1251, 1252 ...) to UTF-8, through
// iconv. Single-byte code pages are turned into a 256-entry table once, so decoding a field
// costs a table look-up per byte; other code pages go through iconv for every value.
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>

namespace velkar::db::paradox {

class TextDecoder {
 public:
  // nullopt when iconv does not know "CP<codePage>".
  static std::optional<TextDecoder> ForCodePage(int codePage);

  // Replaces `out` with the UTF-8 form of `count` bytes; bytes the code page does not map
  // become U+FFFD.
  void Decode(const unsigned char* bytes, std::size_t count, std::string& out) const;
  std::string Decode(const std::string& bytes) const {
    std::string out;
    Decode(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), out);
    return out;
  }

 private:
  struct Converter;
  std::array<std::array<char, 4>, 256> table_{};
  std::array<unsigned char, 256> length_{};
  bool asciiIsIdentity_ = true;
  std::shared_ptr<Converter> multiByte_;  // set for code pages with multi-byte characters
};

}  // namespace velkar::db::paradox
