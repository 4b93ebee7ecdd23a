// Windows-1250 and Mazovia conversions of dBASE text.
#include "tools/db/Mazovia.h"

#include <iconv.h>

#include <array>
#include <cerrno>

#include "base/Error.h"
#include "tools/db/paradox/TextDecoder.h"

namespace velkar::db {

namespace {

// The 18 letters: Windows-1250 byte, Mazovia byte.
constexpr std::array<std::array<unsigned char, 2>, 18> kLetters{{
    {0xA5, 0x8F}, {0xC6, 0x95}, {0xCA, 0x90}, {0xA3, 0x9C}, {0xD1, 0xA5}, {0xD3, 0xA3},  // Ą Ć Ę Ł Ń Ó
    {0x8C, 0x98}, {0x8F, 0xA0}, {0xAF, 0xA1},                                            // Ś Ź Ż
    {0xB9, 0x86}, {0xE6, 0x8D}, {0xEA, 0x91}, {0xB3, 0x92}, {0xF1, 0xA4}, {0xF3, 0xA2},  // ą ć ę ł ń ó
    {0x9C, 0x9E}, {0x9F, 0xA6}, {0xBF, 0xA7},                                            // ś ź ż
}};

std::array<unsigned char, 256> MakeMap(bool toMazovia) {
  std::array<unsigned char, 256> map{};
  for (int b = 0; b < 256; ++b) map[static_cast<size_t>(b)] = static_cast<unsigned char>(b);
  for (const auto& pair : kLetters) map[pair[toMazovia ? 0 : 1]] = pair[toMazovia ? 1 : 0];
  return map;
}

std::string MapBytes(const std::string& text, const std::array<unsigned char, 256>& map) {
  std::string out(text);
  for (char& c : out) c = static_cast<char>(map[static_cast<unsigned char>(c)]);
  return out;
}

}  // namespace

std::string ToMazovia(const std::string& cp1250) {
  static const auto map = MakeMap(true);
  return MapBytes(cp1250, map);
}

std::string FromMazovia(const std::string& bytes) {
  static const auto map = MakeMap(false);
  return MapBytes(bytes, map);
}

std::string Utf8ToCp1250(const std::string& utf8) {
  bool ascii = true;
  for (char c : utf8) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) return utf8;
  iconv_t cd = iconv_open("CP1250", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) Fail("Brak konwersji znaków UTF-8 na Windows-1250");
  std::string out;
  out.reserve(utf8.size());
  char buffer[256];
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  while (inLeft > 0) {
    char* outPtr = buffer;
    size_t outLeft = sizeof buffer;
    size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer, static_cast<size_t>(outPtr - buffer));
    if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
      // A character Windows-1250 lacks, or broken UTF-8: one "?" for the whole sequence.
      out += '?';
      size_t skip = 1;
      while (skip < inLeft && (static_cast<unsigned char>(in[skip]) & 0xC0) == 0x80) ++skip;
      in += skip;
      inLeft -= skip;
    }
  }
  iconv_close(cd);
  return out;
}

std::string Cp1250ToUtf8(const std::string& bytes) {
  static const auto decoder = paradox::TextDecoder::ForCodePage(1250);
  if (!decoder) Fail("Brak konwersji znaków Windows-1250 na UTF-8");
  return decoder->Decode(bytes);
}

}  // namespace velkar::db
