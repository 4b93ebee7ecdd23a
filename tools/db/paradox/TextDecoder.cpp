// Code-page decoding with iconv.
#include "tools/db/paradox/TextDecoder.h"

#include <iconv.h>

#include <cerrno>
#include <string>

namespace velkar::db::paradox {

namespace {
constexpr char kReplacement[] = "\xEF\xBF\xBD";  // U+FFFD
}

struct TextDecoder::Converter {
  iconv_t cd;
  explicit Converter(iconv_t handle) : cd(handle) {}
  ~Converter() { iconv_close(cd); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
};

std::optional<TextDecoder> TextDecoder::ForCodePage(int codePage) {
  if (codePage <= 0 || codePage > 65535) return std::nullopt;
  std::string name = "CP" + std::to_string(codePage);
  iconv_t cd = iconv_open("UTF-8", name.c_str());
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  auto converter = std::make_shared<Converter>(cd);

  TextDecoder decoder;
  decoder.length_[0] = 1;  // NUL stays NUL in every code page
  for (int byte = 1; byte < 256; ++byte) {
    char in = static_cast<char>(byte);
    char out[8];
    char* inPtr = &in;
    char* outPtr = out;
    size_t inLeft = 1, outLeft = sizeof out;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    size_t produced = sizeof out - outLeft;
    if (rc == static_cast<size_t>(-1) && errno == EINVAL) {
      // A lead byte of a multi-byte character: this code page needs iconv for every value.
      decoder.multiByte_ = converter;
      continue;
    }
    if (rc == static_cast<size_t>(-1) || produced == 0 || produced > 4) {
      decoder.length_[byte] = 3;
      std::copy(kReplacement, kReplacement + 3, decoder.table_[byte].begin());
    } else {
      decoder.length_[byte] = static_cast<unsigned char>(produced);
      std::copy(out, out + produced, decoder.table_[byte].begin());
    }
    if (byte < 0x80 && (produced != 1 || out[0] != in)) decoder.asciiIsIdentity_ = false;
  }
  return decoder;
}

void TextDecoder::Decode(const unsigned char* bytes, std::size_t count, std::string& out) const {
  out.clear();
  if (multiByte_) {
    iconv_t cd = multiByte_->cd;
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
    size_t inLeft = count;
    char buffer[1024];
    while (inLeft > 0) {
      char* outPtr = buffer;
      size_t outLeft = sizeof buffer;
      size_t rc = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
      out.append(buffer, static_cast<size_t>(outPtr - buffer));
      if (rc != static_cast<size_t>(-1)) break;
      if (errno == E2BIG) continue;
      // An invalid or incomplete sequence: one replacement character, then go on after it.
      out += kReplacement;
      ++inPtr;
      --inLeft;
      iconv(cd, nullptr, nullptr, nullptr, nullptr);
    }
    return;
  }
  std::size_t i = 0;
  if (asciiIsIdentity_) {
    while (i < count && bytes[i] < 0x80) ++i;
    out.assign(reinterpret_cast<const char*>(bytes), i);
    if (i == count) return;
  }
  out.reserve(count + (count - i) * 2);
  for (; i < count; ++i) out.append(table_[bytes[i]].data(), length_[bytes[i]]);
}

}  // namespace velkar::db::paradox
