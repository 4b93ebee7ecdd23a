// Regular expressions of the program: compiled PCRE2 patterns on UTF-8 text.
#pragma once

#include <string>
#include <string_view>

struct pcre2_real_code_8;
struct pcre2_real_match_data_8;

namespace velkar {

// A compiled PCRE2 pattern (UTF, optionally ignoring case). A bad pattern raises
// velkar::Error "Błędne wyrażenie ...". Not for use by two threads at once (it keeps its
// match data).
class Regex {
 public:
  Regex(std::string_view pattern, bool caseless);
  ~Regex();
  Regex(const Regex&) = delete;
  Regex& operator=(const Regex&) = delete;

  // Whether the pattern matches somewhere in `subject`.
  bool Matches(std::string_view subject) const;
  // Whether it matches the whole of `subject`.
  bool MatchesWhole(std::string_view subject) const;
  // How many non-overlapping matches `subject` holds.
  int CountMatches(std::string_view subject) const;
  // `subject` with every match replaced by the literal `replacement`.
  std::string ReplaceAll(const std::string& subject, std::string_view replacement) const;

 private:
  pcre2_real_code_8* re_ = nullptr;
  pcre2_real_match_data_8* match_ = nullptr;
};

}  // namespace velkar
