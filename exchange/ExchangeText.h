// Text helpers of the exchange writers: the split of a sales document number into its
// parts, the short contractor name (with the user's abbreviation dictionary CutDict) and
// the upper case of Polish text, as the Buchalter and Ramzes tables want them.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace velkar {

// Upper case of UTF-8 text: ASCII, Latin-1 and Latin Extended-A letters (all Polish
// letters among them); other characters unchanged.
std::string UpperText(const std::string& text);

// The parts of a sales document number. "raport fiskalny okresowy" (any letter case)
// stands for "FISK". Prefix: the letters before the first non-letter; Number: the first
// run of digits after it; Suffix: from the character ending that run on, its leading
// characters other than letters and digits dropped. Prefix and Suffix in upper case.
// FV/123/2024 gives FV, 123, 2024; 15/A gives "", 15, A; a text without digits gives an
// empty Number.
void SplitDocumentNumber(const std::string& text, std::string& number, std::string& prefix, std::string& suffix);

// The short name of a contractor for the exchange tables (ShortenContractorName). Holds
// the compiled entries of CutDict, so one shortener serves a whole conversion.
class ContractorNameShortener {
 public:
  // `cutDict`: the lines of CutDict.txt, each a regular expression matched at the start of
  // a word ignoring letter case. Raises a Polish error naming an entry that is not a valid
  // expression.
  explicit ContractorNameShortener(const std::vector<std::string>& cutDict);
  ~ContractorNameShortener();
  ContractorNameShortener(const ContractorNameShortener&) = delete;
  ContractorNameShortener& operator=(const ContractorNameShortener&) = delete;

  // Brackets, quotes, slashes and line feeds out; initials joined (P.H.U. ABC gives
  // PHU ABC); doubled blanks and blanks around hyphens out; "spółka komandytowa" to
  // "sp.k." and "spółka z ograniczoną odpowiedzialnością" to "sp.zoo"; leading words
  // found in CutDict replaced by their abbreviations; the result in upper case.
  std::string Shorten(const std::string& name) const;

 private:
  struct Compiled;
  std::unique_ptr<Compiled> compiled_;
};

// NA1 and NA2 of a name (WriteNameFields): the name in upper case; up to 70 characters
// all in NA1, else broken into lines of at most 70 characters at blanks, tabs, carriage
// returns or hyphens with "#" between them: NA1 the first line without trailing blanks,
// NA2 the rest without leading blanks (its further "#" marks kept). A name that cannot be
// broken goes whole into NA1.
struct NameLines {
  std::string na1;
  std::string na2;
};
NameLines SplitNameLines(const std::string& name);

}  // namespace velkar
