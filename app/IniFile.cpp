// Profile-file reading for the configuration.
#include "app/IniFile.h"

#include <charconv>

#include <iconv.h>

#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"

namespace velkar {

namespace {

bool IsValidUtf8(const std::string& text) {
  size_t i = 0;
  while (i < text.size()) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    size_t extra = c < 0x80 ? 0 : (c >> 5) == 0x6 ? 1 : (c >> 4) == 0xE ? 2 : (c >> 3) == 0x1E ? 3 : 4;
    if (extra == 4 || i + extra >= text.size() + (extra == 0 ? 1 : 0)) return false;
    for (size_t k = 1; k <= extra; ++k)
      if ((static_cast<unsigned char>(text[i + k]) >> 6) != 0x2) return false;
    i += extra + 1;
  }
  return true;
}

}  // namespace

std::string ToUtf8FromWindows1250IfNeeded(const std::string& text) {
  if (IsValidUtf8(text)) return text;
  iconv_t cd = iconv_open("UTF-8", "WINDOWS-1250");
  if (cd == reinterpret_cast<iconv_t>(-1)) return text;
  std::string out(text.size() * 3 + 4, '\0');
  char* in = const_cast<char*>(text.data());
  size_t inLeft = text.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  while (inLeft > 0) {
    if (iconv(cd, &in, &inLeft, &dst, &outLeft) == static_cast<size_t>(-1)) {
      // An unmapped byte: keep a replacement character and go on.
      ++in;
      --inLeft;
      if (outLeft >= 3) {
        *dst++ = '\xEF', *dst++ = '\xBF', *dst++ = '\xBD';
        outLeft -= 3;
      }
    }
  }
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

TIniFile::TIniFile(const std::string& fileName) : fileName_(fileName) { Parse(ReadWholeFile(fileName)); }

TIniFile TIniFile::FromText(const std::string& fileName, const std::string& text) {
  TIniFile ini;
  ini.fileName_ = fileName;
  ini.Parse(text);
  return ini;
}

void TIniFile::Parse(const std::string& raw) {
  std::string text = raw;
  if (text.starts_with("\xEF\xBB\xBF")) text.erase(0, 3);
  text = ToUtf8FromWindows1250IfNeeded(text);
  std::map<std::string, std::string>* current = nullptr;
  for (const std::string& rawLine : SplitLines(text)) {
    std::string line = Trim(rawLine);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      size_t close = line.find(']');
      std::string name = Trim(line.substr(1, close == std::string::npos ? std::string::npos : close - 1));
      current = &sections_[ToLowerAscii(name)];
      continue;
    }
    size_t eq = line.find('=');
    if (!current || eq == std::string::npos) continue;
    std::string key = ToLowerAscii(Trim(line.substr(0, eq)));
    if (key.empty()) continue;
    // The first occurrence of a key wins, as with the platform's profile reader.
    current->emplace(key, Trim(line.substr(eq + 1)));
  }
}

bool TIniFile::SectionExists(const std::string& section) const { return sections_.contains(ToLowerAscii(section)); }

std::optional<std::string> TIniFile::Find(const std::string& section, const std::string& key) const {
  auto s = sections_.find(ToLowerAscii(section));
  if (s == sections_.end()) return {};
  auto k = s->second.find(ToLowerAscii(key));
  if (k == s->second.end()) return {};
  return k->second;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const {
  return Find(section, key).has_value();
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key, const std::string& defaultValue) const {
  auto value = Find(section, key);
  return value ? *value : defaultValue;
}

long long TIniFile::ReadInteger(const std::string& section, const std::string& key, long long defaultValue) const {
  auto value = Find(section, key);
  long long number = 0;
  if (!value) return defaultValue;
  if (value->size() > 2 && (StartsWith(*value, "0x") || StartsWith(*value, "0X"))) {
    try {
      size_t used = 0;
      number = std::stoll(value->substr(2), &used, 16);
      return used == value->size() - 2 ? number : defaultValue;
    } catch (const std::exception&) {
      return defaultValue;
    }
  }
  return TryParseInt(*value, number) ? number : defaultValue;
}

long long TIniFile::ReadIntegerInRange(const std::string& section, const std::string& key, long long defaultValue,
                                        long long min, long long max) const {
  auto value = Find(section, key);
  if (!value || value->find_first_of("0123456789") == std::string::npos) return defaultValue;
  bool hex = value->size() > 2 && (StartsWith(*value, "0x") || StartsWith(*value, "0X"));
  long long number = 0;
  bool read = false;
  if (hex) {
    std::string_view digits = std::string_view(*value).substr(2);
    auto [ptr, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), number, 16);
    read = ec == std::errc() && ptr == digits.data() + digits.size() && digits.front() != '-';
  } else {
    read = TryParseInt(*value, number);
    // Digits with anything but a sign before them are no number at all: the default.
    if (!read && value->find_first_not_of("+-0123456789") != std::string::npos) return defaultValue;
  }
  if (!read || number < min || number > max)
    Fail("Wartość w kluczu %s spoza zakresu %lld..%lld: %s", key, min, max, *value);
  return number;
}

DateTime TIniFile::ReadRequiredDate(const std::string& section, const std::string& key, const DateTime& defaultValue) const {
  auto value = Find(section, key);
  if (!value || value->empty()) return defaultValue;
  auto date = ParseDate(*value);
  if (!date) Fail("Niepoprawna data w kluczu %s: %s", key, *value);
  return *date;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool defaultValue) const {
  return ReadInteger(section, key, defaultValue ? 1 : 0) != 0;
}

DateTime TIniFile::ReadDate(const std::string& section, const std::string& key, const DateTime& defaultValue) const {
  auto value = Find(section, key);
  if (!value) return defaultValue;
  auto date = ParseDate(*value);
  return date ? *date : defaultValue;
}

}  // namespace velkar
