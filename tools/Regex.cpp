// Regular expressions on PCRE2.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "tools/Regex.h"

#include <pcre2.h>

#include "base/Error.h"

namespace velkar {

Regex::Regex(std::string_view pattern, bool caseless) {
  int code = 0;
  PCRE2_SIZE offset = 0;
  uint32_t options = PCRE2_UTF | (caseless ? PCRE2_CASELESS : 0);
  re_ = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(pattern.data()), pattern.size(), options, &code, &offset, nullptr);
  if (!re_) {
    PCRE2_UCHAR buffer[256];
    pcre2_get_error_message(code, buffer, sizeof buffer);
    Fail("Błędne wyrażenie \"%s\": %s", std::string(pattern), reinterpret_cast<const char*>(buffer));
  }
  match_ = pcre2_match_data_create_from_pattern(re_, nullptr);
}

Regex::~Regex() {
  pcre2_match_data_free(match_);
  pcre2_code_free(re_);
}

bool Regex::Matches(std::string_view subject) const {
  return pcre2_match(re_, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0, 0, match_, nullptr) >= 0;
}

int Regex::CountMatches(std::string_view subject) const {
  int count = 0;
  PCRE2_SIZE start = 0;
  while (start <= subject.size() && pcre2_match(re_, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(),
                                                start, 0, match_, nullptr) >= 0) {
    PCRE2_SIZE* ovector = pcre2_get_ovector_pointer(match_);
    ++count;
    start = ovector[1] > ovector[0] ? ovector[1] : ovector[1] + 1;
  }
  return count;
}

std::string Regex::ReplaceAll(const std::string& subject, std::string_view replacement) const {
  PCRE2_SIZE length = subject.size() * 2 + replacement.size() + 64;
  std::string out(length, '\0');
  for (;;) {
    int rc = pcre2_substitute(re_, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0,
                              PCRE2_SUBSTITUTE_GLOBAL | PCRE2_SUBSTITUTE_OVERFLOW_LENGTH | PCRE2_SUBSTITUTE_LITERAL,
                              match_, nullptr, reinterpret_cast<PCRE2_SPTR>(replacement.data()), replacement.size(),
                              reinterpret_cast<PCRE2_UCHAR*>(out.data()), &length);
    if (rc == PCRE2_ERROR_NOMEMORY) {
      out.assign(length, '\0');
      continue;
    }
    if (rc < 0) Fail("Błąd wyrażenia regularnego przy tekście \"%s\"", subject);
    out.resize(length);
    return out;
  }
}

bool Regex::MatchesWhole(std::string_view subject) const {
  return pcre2_match(re_, reinterpret_cast<PCRE2_SPTR>(subject.data()), subject.size(), 0, PCRE2_ANCHORED | PCRE2_ENDANCHORED,
                     match_, nullptr) >= 0;
}

}  // namespace velkar
