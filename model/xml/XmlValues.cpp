// Value conversions of the typed model: amounts, whole numbers, truth values.
#include "model/xml/XmlValues.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "model/xml/XmlErrors.h"

namespace velkar::xml {

namespace {

bool IsXmlBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

bool EqualsAsciiNoCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

[[noreturn]] void NotANumber(std::string_view text) {
  throw EConvertError(Format("'%s' nie jest poprawną liczbą", std::string(text)));
}

[[noreturn]] void NotAnInteger(std::string_view text) {
  throw EConvertError(Format("'%s' nie jest poprawną liczbą całkowitą", std::string(text)));
}

// Only [+-]digits[.digits][(e|E)[+-]digits] with at least one mantissa digit: the
// invariant form. Locale forms (comma), hexadecimal and words are not numbers here.
bool IsDecimalNumber(std::string_view s) {
  size_t i = 0, n = s.size();
  if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
  size_t digits = 0;
  while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < n && s[i] == '.') {
    ++i;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < n && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < n && (s[i] == '+' || s[i] == '-')) ++i;
    size_t expDigits = 0;
    while (i < n && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == n;
}

// The power of ten of the first significant digit of a valid decimal number (rough: for
// telling an overflow from an underflow).
long DecimalExponent(std::string_view s) {
  size_t i = 0;
  if (s[i] == '+' || s[i] == '-') ++i;
  long position = 0;  // of the first significant digit, relative to the decimal point
  bool seenPoint = false, seenDigit = false;
  long integerDigits = 0, zerosAfterPoint = 0;
  for (; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
    if (s[i] == '.') {
      seenPoint = true;
    } else if (!seenPoint) {
      if (seenDigit || s[i] != '0') ++integerDigits, seenDigit = true;
    } else if (!seenDigit) {
      if (s[i] == '0') ++zerosAfterPoint;
      else seenDigit = true;
    }
  }
  position = integerDigits > 0 ? integerDigits - 1 : -(zerosAfterPoint + 1);
  long exponent = 0;
  if (i < s.size()) {
    ++i;
    bool negative = i < s.size() && s[i] == '-';
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    for (; i < s.size() && exponent < 100000; ++i) exponent = exponent * 10 + (s[i] - '0');
    if (negative) exponent = -exponent;
  }
  return position + exponent;
}

double ParseNumber(std::string_view original, std::string_view t) {
  if (EqualsAsciiNoCase(t, "NaN")) return std::numeric_limits<double>::quiet_NaN();
  if (EqualsAsciiNoCase(t, "INF")) return std::numeric_limits<double>::infinity();
  if (EqualsAsciiNoCase(t, "-INF")) return -std::numeric_limits<double>::infinity();
  if (!IsDecimalNumber(t)) NotANumber(original);
  if (t.front() == '+') t.remove_prefix(1);
  double value = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec == std::errc::result_out_of_range) {
    // Underflow to zero is a value; overflow is not a number the program can hold.
    if (DecimalExponent(t) > 0) NotANumber(original);
    return 0.0;
  }
  if (ec != std::errc() || ptr != t.data() + t.size()) NotANumber(original);
  return value;
}

template <typename Int>
Int ParseInteger(std::string_view text) {
  std::string_view t = XmlTrim(text);
  if (!t.empty() && t.front() == '+') t.remove_prefix(1);
  if (t.empty() || t.front() == '+') NotAnInteger(text);
  Int value = 0;
  auto [ptr, ec] = std::from_chars(t.data(), t.data() + t.size(), value);
  if (ec != std::errc() || ptr != t.data() + t.size()) NotAnInteger(text);
  return value;
}

}  // namespace

namespace {

// Length of the UTF-8 sequence at text[i] and its code point; 0 when it is not valid UTF-8
// (overlong forms and surrogates included).
size_t DecodeUtf8(std::string_view text, size_t i, uint32_t& cp) {
  auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
  unsigned char b = byte(i);
  size_t n;
  uint32_t min;
  if (b < 0x80) {
    cp = b;
    return 1;
  } else if ((b & 0xE0) == 0xC0) {
    n = 2, cp = b & 0x1F, min = 0x80;
  } else if ((b & 0xF0) == 0xE0) {
    n = 3, cp = b & 0x0F, min = 0x800;
  } else if ((b & 0xF8) == 0xF0) {
    n = 4, cp = b & 0x07, min = 0x10000;
  } else {
    return 0;
  }
  if (i + n > text.size()) return 0;
  for (size_t k = 1; k < n; ++k) {
    if ((byte(i + k) & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (byte(i + k) & 0x3F);
  }
  if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return 0;
  return n;
}

bool XmlCanCarry(uint32_t cp) {
  return cp == 0x9 || cp == 0xA || cp == 0xD || (cp >= 0x20 && cp != 0xFFFE && cp != 0xFFFF);
}

}  // namespace

std::string_view XmlCleanText(std::string_view text, std::string& buffer, std::string_view what) {
  size_t i = 0;
  // Fast path: plain printable ASCII needs no decoding.
  while (i < text.size() && static_cast<unsigned char>(text[i]) >= 0x20 && static_cast<unsigned char>(text[i]) < 0x80)
    ++i;
  if (i == text.size()) return text;
  bool clean = true;
  for (size_t k = i; k < text.size();) {
    uint32_t cp = 0;
    size_t n = DecodeUtf8(text, k, cp);
    if (n == 0) throw EConvertError(Format("Wartość %s nie jest poprawnym tekstem UTF-8", std::string(what)));
    if (!XmlCanCarry(cp)) clean = false;
    k += n;
  }
  if (clean) return text;
  buffer.assign(text.substr(0, i));
  for (size_t k = i; k < text.size();) {
    uint32_t cp = 0;
    size_t n = DecodeUtf8(text, k, cp);
    if (XmlCanCarry(cp)) buffer.append(text.substr(k, n));
    k += n;
  }
  return buffer;
}

std::string_view XmlTrim(std::string_view text) {
  size_t b = 0, e = text.size();
  while (b < e && IsXmlBlank(text[b])) ++b;
  while (e > b && IsXmlBlank(text[e - 1])) --e;
  return text.substr(b, e - b);
}

double XmlStrToFloat(std::string_view text) {
  std::string_view t = XmlTrim(text);
  if (t.empty()) return 0;
  return ParseNumber(text, t);
}

double XmlStrToFloatStrict(std::string_view text) {
  std::string_view t = XmlTrim(text);
  if (t.empty()) NotANumber(text);
  return ParseNumber(text, t);
}

size_t XmlFloatToChars(double value, char* out) {
  if (std::isnan(value)) {
    std::memcpy(out, "NaN", 4);
    return 3;
  }
  if (std::isinf(value)) {
    std::strcpy(out, value > 0 ? "INF" : "-INF");
    return value > 0 ? 3 : 4;
  }
  if (value == 0) {
    out[0] = '0';  // also for -0
    return 1;
  }
  // 15 significant digits, correctly rounded: d.dddddddddddddde[+-]x
  char sci[40];
  auto res = std::to_chars(sci, sci + sizeof sci, value, std::chars_format::scientific, 14);
  const char* p = sci;
  bool negative = *p == '-';
  if (negative) ++p;
  char digits[16];
  int nd = 0;
  for (; p < res.ptr && *p != 'e'; ++p)
    if (*p != '.') digits[nd++] = *p;
  int exponent = 0;
  const char* e = p + 1;
  if (e < res.ptr && *e == '+') ++e;
  std::from_chars(e, res.ptr, exponent);
  while (nd > 1 && digits[nd - 1] == '0') --nd;

  char* o = out;
  if (negative) *o++ = '-';
  if (exponent < -5 || exponent >= 15) {
    *o++ = digits[0];
    if (nd > 1) {
      *o++ = '.';
      for (int i = 1; i < nd; ++i) *o++ = digits[i];
    }
    *o++ = 'E';
    auto r = std::to_chars(o, o + 8, exponent);
    o = r.ptr;
  } else if (exponent >= 0) {
    for (int i = 0; i <= exponent; ++i) *o++ = i < nd ? digits[i] : '0';
    if (nd > exponent + 1) {
      *o++ = '.';
      for (int i = exponent + 1; i < nd; ++i) *o++ = digits[i];
    }
  } else {
    *o++ = '0';
    *o++ = '.';
    for (int i = 0; i < -exponent - 1; ++i) *o++ = '0';
    for (int i = 0; i < nd; ++i) *o++ = digits[i];
  }
  *o = '\0';
  return static_cast<size_t>(o - out);
}

std::string XmlFloatToStr(double value) {
  char buffer[40];
  size_t n = XmlFloatToChars(value, buffer);
  return std::string(buffer, n);
}

int32_t XmlStrToInt(std::string_view text) { return ParseInteger<int32_t>(text); }
int64_t XmlStrToInt64(std::string_view text) { return ParseInteger<int64_t>(text); }

std::string XmlIntToStr(int64_t value) {
  char buffer[24];
  auto r = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, r.ptr);
}

bool XmlStrToBool(std::string_view text) {
  std::string_view t = XmlTrim(text);
  if (EqualsAsciiNoCase(t, "true")) return true;
  if (EqualsAsciiNoCase(t, "false")) return false;
  if (!t.empty() && IsDecimalNumber(t)) return ParseNumber(text, t) != 0;
  throw EConvertError(Format("'%s' nie jest poprawną wartością logiczną", std::string(text)));
}

}  // namespace velkar::xml
