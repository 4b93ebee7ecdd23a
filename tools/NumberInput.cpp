// Parsing of amounts and whole numbers typed the Polish way.
#include "tools/NumberInput.h"

#include <charconv>
#include <cstdlib>

#include "base/Error.h"

namespace velkar {

namespace {

// The length of a blank at `i` that may stand between grouped digits: space,
// U+00A0 (C2 A0) or U+202F (E2 80 AF); 0 when there is none.
size_t BlankAt(std::string_view s, size_t i) {
  if (s[i] == ' ') return 1;
  if (s.substr(i, 2) == "\xC2\xA0") return 2;
  if (s.substr(i, 3) == "\xE2\x80\xAF") return 3;
  return 0;
}

std::string_view TrimBlanks(std::string_view s) {
  for (;;) {
    if (s.empty()) return s;
    if (size_t n = BlankAt(s, 0)) {
      s.remove_prefix(n);
      continue;
    }
    if (s.back() == '\t') {
      s.remove_suffix(1);
      continue;
    }
    if (s.back() == ' ') {
      s.remove_suffix(1);
      continue;
    }
    if (s.size() >= 2 && s.substr(s.size() - 2) == "\xC2\xA0") {
      s.remove_suffix(2);
      continue;
    }
    if (s.size() >= 3 && s.substr(s.size() - 3) == "\xE2\x80\xAF") {
      s.remove_suffix(3);
      continue;
    }
    return s;
  }
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// Machine text of `typed`, or false when it is not a number of the allowed form.
bool Normalise(std::string_view typed, bool whole, std::string& out) {
  std::string_view s = TrimBlanks(typed);
  out.clear();
  size_t i = 0;
  if (i < s.size() && (s[i] == '-' || s[i] == '+')) {
    if (s[i] == '-') out += '-';
    ++i;
  }
  size_t digits = 0;
  while (i < s.size()) {
    if (IsDigit(s[i])) {
      out += s[i++];
      ++digits;
      continue;
    }
    size_t blank = BlankAt(s, i);
    // A blank groups digits: a digit before it and a digit after it.
    if (blank && digits > 0 && i + blank < s.size() && IsDigit(s[i + blank])) {
      i += blank;
      continue;
    }
    break;
  }
  size_t decimals = 0;
  if (!whole && i < s.size() && (s[i] == ',' || s[i] == '.')) {
    ++i;
    if (digits == 0) out += '0';  // ",5" is 0.5
    out += '.';
    while (i < s.size() && IsDigit(s[i])) out += s[i++], ++decimals;
    if (decimals == 0) out.pop_back();  // "12," is 12
  }
  return digits + decimals > 0 && i == s.size();
}

}  // namespace

std::string AmountInputText(std::string_view typed) {
  if (TrimBlanks(typed).empty()) return {};
  std::string out;
  if (!Normalise(typed, false, out)) Fail("'%s' nie jest poprawną liczbą", std::string(typed));
  return out;
}

double ParseAmountInput(std::string_view typed) {
  std::string text = AmountInputText(typed);
  if (text.empty()) return 0;
  double value = 0;
  auto result = std::from_chars(text.data(), text.data() + text.size(), value);
  if (result.ec != std::errc() || result.ptr != text.data() + text.size())
    Fail("'%s' nie jest poprawną liczbą", std::string(typed));
  return value;
}

std::int64_t ParseWholeInput(std::string_view typed, int maxDigits) {
  if (maxDigits > 18) maxDigits = 18;
  std::string text;
  if (!Normalise(typed, true, text)) Fail("'%s' nie jest poprawną liczbą całkowitą", std::string(typed));
  const char* begin = text.data() + (text[0] == '-' ? 1 : 0);
  size_t digits = text.size() - static_cast<size_t>(begin - text.data());
  while (digits > 1 && *begin == '0') ++begin, --digits;
  if (digits > static_cast<size_t>(maxDigits))
    Fail("'%s' jest poza zakresem (najwyżej %d cyfr)", std::string(typed), maxDigits);
  std::int64_t value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

int DecimalPlaces(std::string_view machineText) {
  size_t point = machineText.find('.');
  return point == std::string_view::npos ? 0 : static_cast<int>(machineText.size() - point - 1);
}

}  // namespace velkar
