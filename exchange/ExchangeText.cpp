// Document numbers, short contractor names and name lines of the exchange writers.
#include "exchange/ExchangeText.h"

#include <memory>
#include <string_view>

#include "base/Error.h"
#include "base/Text.h"
#include "tools/Regex.h"

namespace velkar {

namespace {

// UTF-8 to code points; a broken byte stands for itself (the text came from a document
// that was checked on reading, so this is only a guard).
std::u32string Decode(std::string_view text) {
  std::u32string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size();) {
    auto c = static_cast<unsigned char>(text[i]);
    size_t extra = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : c >= 0xC0 ? 1 : 0;
    if (extra == 0 || i + extra >= text.size()) {
      out.push_back(c);
      ++i;
      continue;
    }
    char32_t cp = c & (0x3Fu >> extra);
    for (size_t k = 1; k <= extra; ++k) cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3Fu);
    out.push_back(cp);
    i += extra + 1;
  }
  return out;
}

std::string Encode(std::u32string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char32_t cp : text) {
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

char32_t UpperChar(char32_t c) {
  if (c >= 'a' && c <= 'z') return c - 32;
  if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return c - 32;
  // Latin Extended-A: pairs upper/lower; in 0x139-0x148 and 0x179-0x17E the lower case
  // letter is the even one (ł 0x142, ń 0x144, ź 0x17A, ż 0x17C), elsewhere the odd one.
  if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E)) return c % 2 == 0 ? c - 1 : c;
  if ((c >= 0x100 && c <= 0x137) || (c >= 0x14A && c <= 0x177)) return c % 2 == 1 ? c - 1 : c;
  return c;
}

bool IsLetter(char32_t c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0x24F && c != 0xD7 && c != 0xF7);
}
bool IsDigit(char32_t c) { return c >= '0' && c <= '9'; }


}  // namespace

std::string UpperText(const std::string& text) {
  bool ascii = true;
  for (char c : text) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) {
    std::string out = text;
    for (char& c : out)
      if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 32);
    return out;
  }
  std::u32string wide = Decode(text);
  for (char32_t& c : wide) c = UpperChar(c);
  return Encode(wide);
}

void SplitDocumentNumber(const std::string& text, std::string& number, std::string& prefix, std::string& suffix) {
  number.clear();
  std::u32string pre, suf;
  std::u32string chars = Decode(EqualsNoCase(text, "raport fiskalny okresowy") ? std::string("FISK") : text);
  enum { kPrefix, kDigits, kSuffix } phase = kPrefix;
  for (char32_t c : chars) {
    if (phase == kPrefix) {
      if (IsLetter(c)) {
        pre.push_back(c);
        continue;
      }
      phase = kDigits;
    }
    if (phase == kDigits) {
      if (IsDigit(c)) {
        number.push_back(static_cast<char>(c));
        continue;
      }
      if (number.empty()) continue;  // non-digits before the first digit are skipped
      phase = kSuffix;
    }
    if (!suf.empty() || IsLetter(c) || IsDigit(c)) suf.push_back(c);
  }
  prefix = UpperText(Encode(pre));
  suffix = UpperText(Encode(suf));
}

struct ContractorNameShortener::Compiled {
  Regex lineFeeds{"\n", false};
  Regex marks{"[\\[\\]\"/]", false};
  Regex initials{"[A-Z]\\.", false};
  Regex limited{"sp..ka komandytowa", true};
  Regex limitedLiability{"sp..ka z ograniczon. odpowiedzialno..i.", true};
  struct Entry {
    std::string abbreviation;
    std::unique_ptr<Regex> pattern;
  };
  std::vector<Entry> entries;
};

namespace {

// The abbreviation a CutDict entry stands for: its leading upper-case letters, with a
// dot when at least two of them come before its first other character.
std::string Abbreviation(const std::string& entry) {
  std::u32string chars = Decode(entry);
  size_t n = 0;
  while (n < chars.size() && IsLetter(chars[n]) && UpperChar(chars[n]) == chars[n]) ++n;
  std::string out = Encode(chars.substr(0, n));
  if (n >= 2 && n < chars.size()) out += '.';
  return out;
}

}  // namespace

ContractorNameShortener::ContractorNameShortener(const std::vector<std::string>& cutDict)
    : compiled_(std::make_unique<Compiled>()) {
  for (const std::string& entry : cutDict) {
    try {
      compiled_->entries.push_back({Abbreviation(entry), std::make_unique<Regex>("^(?:" + entry + ")", true)});
    } catch (const Error& error) {
      Fail("Błędny wpis słownika skrótów CutDict.txt: %s", error.what());
    }
  }
}

ContractorNameShortener::~ContractorNameShortener() = default;

std::string ContractorNameShortener::Shorten(const std::string& name) const {
  const Compiled& re = *compiled_;
  // 1. Line feeds, brackets, quotes and slashes become blanks.
  std::string work = Trim(re.marks.ReplaceAll(re.lineFeeds.ReplaceAll(name, " "), " "));

  // 2. Initials: more than two "X." join into one word (P.H.U. ABC and P. H. U. ABC
  // both give PHU ABC).
  int count = re.initials.CountMatches(work);
  if (count > 2) {
    std::u32string chars = Decode(work);
    for (int k = 0; k < count; ++k) {
      size_t at = static_cast<size_t>(k) + 1;
      if (at >= chars.size() || chars[at] != U'.') break;
      chars.erase(at, 1);
      if (at < chars.size() && chars[at] == U' ') chars.erase(at, 1);
      if (k == count - 1 && (at >= chars.size() || chars[at] != U' ')) chars.insert(at, 1, U' ');
    }
    work = Encode(chars);
  }

  // 3. Doubled blanks, blanks around hyphens.
  work = ReplaceAll(ReplaceAll(work, "  ", " "), "  ", " ");
  work = ReplaceAll(ReplaceAll(work, " -", "-"), "- ", "-");

  // 4. The two company forms (any character stands for the Polish letters).
  work = re.limited.ReplaceAll(work, "sp.k.");
  work = re.limitedLiability.ReplaceAll(work, "sp.zoo");

  // 5. Leading words found in CutDict become their abbreviations.
  std::vector<std::string> words;
  std::string word;
  for (char c : work) {
    if (c == ' ' || c == '-') {
      if (!word.empty()) words.push_back(word);
      word.clear();
    } else {
      word.push_back(c);
    }
  }
  if (!word.empty()) words.push_back(word);

  std::string result;
  std::string rest = work;
  for (const std::string& w : words) {
    const Compiled::Entry* found = nullptr;
    for (const Compiled::Entry& entry : re.entries)
      if (entry.pattern->Matches(w)) {
        found = &entry;
        break;
      }
    if (!found) {
      std::u32string restChars = Decode(rest);
      if (!result.empty() && result.back() != '.' && !restChars.empty() && IsLetter(restChars.front())) result += ' ';
      result += rest;
      rest.clear();
      break;
    }
    result += found->abbreviation;
    size_t at = rest.find(w);
    rest = at == std::string::npos ? std::string() : rest.substr(at + w.size());
    size_t start = rest.find_first_not_of(" \t\r\n");
    rest = start == std::string::npos ? std::string() : rest.substr(start);
  }
  return UpperText(result);
}

NameLines SplitNameLines(const std::string& name) {
  constexpr size_t kWidth = 70;
  std::u32string text = Decode(UpperText(name));
  if (text.size() <= kWidth) return {Encode(text), {}};
  auto isBreak = [](char32_t c) { return c == U' ' || c == U'\t' || c == U'\r' || c == U'-'; };
  // Lines of at most 70 characters, each ending after its last break character.
  std::vector<std::u32string> lines;
  size_t start = 0;
  while (text.size() - start > kWidth) {
    size_t cut = std::u32string::npos;
    for (size_t i = start; i < start + kWidth; ++i)
      if (isBreak(text[i])) cut = i + 1;
    if (cut == std::u32string::npos) {  // a word longer than a line: break after it
      for (size_t i = start + kWidth; i < text.size(); ++i)
        if (isBreak(text[i])) {
          cut = i + 1;
          break;
        }
    }
    if (cut == std::u32string::npos || cut >= text.size()) break;
    lines.push_back(text.substr(start, cut - start));
    start = cut;
  }
  if (lines.empty()) return {Encode(text), {}};
  lines.push_back(text.substr(start));
  std::u32string first = lines.front();
  while (!first.empty() && (first.back() == U' ' || first.back() == U'\t' || first.back() == U'\r')) first.pop_back();
  std::u32string rest;
  for (size_t i = 1; i < lines.size(); ++i) {
    if (i > 1) rest += U'#';
    rest += lines[i];
  }
  size_t lead = 0;
  while (lead < rest.size() && (rest[lead] == U' ' || rest[lead] == U'\t' || rest[lead] == U'\r')) ++lead;
  return {Encode(first), Encode(rest.substr(lead))};
}

}  // namespace velkar
