// The text helpers of the exchange writers: document numbers split into their parts,
// short contractor names with and without the abbreviation dictionary, and name lines.
#include <gtest/gtest.h>

#include "exchange/ExchangeText.h"
#include "tests/support/ErrorOf.h"

namespace velkar::test {
namespace {

struct SplitCase {
  std::string text, number, prefix, suffix;
};

TEST(SplitDocumentNumber, PrefixNumberAndSuffix) {
  for (const SplitCase& c : std::vector<SplitCase>{
           {"FV/123/2024", "123", "FV", "2024"},
           {"15/A", "15", "", "A"},
           {"fv 7/03/24", "7", "FV", "03/24"},
           {"Raport Fiskalny Okresowy", "", "FISK", ""},
           {"raport fiskalny okresowy", "", "FISK", ""},
           {"WEW/ABC", "", "WEW", ""},
           {"FS-12", "12", "FS", ""},
           {"ŁZ/5/x", "5", "ŁZ", "X"},
           {"123", "123", "", ""},
           {"", "", "", ""},
           {"A/ /12 b/c", "12", "A", "B/C"},
       }) {
    std::string number = "stare", prefix = "stare", suffix = "stare";
    SplitDocumentNumber(c.text, number, prefix, suffix);
    EXPECT_EQ(number, c.number) << c.text;
    EXPECT_EQ(prefix, c.prefix) << c.text;
    EXPECT_EQ(suffix, c.suffix) << c.text;
  }
}

TEST(ShortenContractorName, CleaningInitialsAndCompanyForms) {
  ContractorNameShortener shortener({});
  EXPECT_EQ(shortener.Shorten("Abc spółka z ograniczoną odpowiedzialnością"), "ABC SP.ZOO");
  EXPECT_EQ(shortener.Shorten("Abc Spolka z ograniczona odpowiedzialnoscia"), "ABC SP.ZOO");
  EXPECT_EQ(shortener.Shorten("Kowalski i Syn spółka komandytowa"), "KOWALSKI I SYN SP.K.");
  EXPECT_EQ(shortener.Shorten("P.H.U. ABC"), "PHU ABC");
  EXPECT_EQ(shortener.Shorten("P. H. U. ABC"), "PHU ABC");
  EXPECT_EQ(shortener.Shorten("A.B. Test"), "A.B. TEST");  // two initials stay
  EXPECT_EQ(shortener.Shorten("  \"Żuraw\" [Łódź]\nul/2  "), "ŻURAW ŁÓDŹ UL 2");
  EXPECT_EQ(shortener.Shorten("Firma  -  Handel"), "FIRMA-HANDEL");
  EXPECT_EQ(shortener.Shorten("zażółć gęślą jaźń"), "ZAŻÓŁĆ GĘŚLĄ JAŹŃ");
}

TEST(ShortenContractorName, LeadingWordsFoundInCutDictBecomeAbbreviations) {
  ContractorNameShortener shortener({"PRZEDsiębiorstwo", "Handl", "PRODukc", "USŁ", "Zakład"});
  // PRZED. + H + PROD. + USŁ + the rest; a blank only after an abbreviation without a dot.
  EXPECT_EQ(shortener.Shorten("Przedsiębiorstwo Handlowe Kowalski"), "PRZED.H KOWALSKI");
  EXPECT_EQ(shortener.Shorten("Przedsiębiorstwo Produkcyjno-Usługowe Nowak"), "PRZED.PROD.USŁ NOWAK");
  EXPECT_EQ(shortener.Shorten("Zakład Stolarski"), "Z STOLARSKI");
  EXPECT_EQ(shortener.Shorten("Handlowiec"), "H");           // every word abbreviated
  EXPECT_EQ(shortener.Shorten("Jan Handel"), "JAN HANDEL");  // only leading words
  EXPECT_EQ(shortener.Shorten("przedsiębiorstwo 2000"), "PRZED.2000");

  EXPECT_EQ(
      ErrorOf([] { ContractorNameShortener bad({"Sp(ółka"}); }).rfind("Błędny wpis słownika skrótów CutDict.txt: ", 0),
      0u);
}

TEST(SplitNameLines, SeventyCharactersInNa1AndTheRestInNa2) {
  std::string seventy(70, 'a');
  EXPECT_EQ(SplitNameLines(seventy).na1, std::string(70, 'A'));
  EXPECT_EQ(SplitNameLines(seventy).na2, "");
  // 71 characters: broken at the last blank within 70.
  std::string name = std::string(40, 'b') + " " + std::string(30, 'c');
  NameLines lines = SplitNameLines(name);
  EXPECT_EQ(lines.na1, std::string(40, 'B'));
  EXPECT_EQ(lines.na2, std::string(30, 'C'));
  // A hyphen stays at the end of the first line; further breaks are marked with #.
  lines = SplitNameLines(std::string(60, 'd') + "-" + std::string(69, 'e') + " " + std::string(10, 'f'));
  EXPECT_EQ(lines.na1, std::string(60, 'D') + "-");
  EXPECT_EQ(lines.na2, std::string(69, 'E') + " #" + std::string(10, 'F'));
  // Nothing to break at: the whole text in NA1.
  EXPECT_EQ(SplitNameLines(std::string(80, 'g')).na1, std::string(80, 'G'));
  EXPECT_EQ(SplitNameLines(std::string(80, 'g')).na2, "");
  // Polish letters count as one character each.
  lines = SplitNameLines(std::string("Ł") + std::string(68, 'x') + "ą ż");
  EXPECT_EQ(lines.na1, "Ł" + std::string(68, 'X') + "Ą");
  EXPECT_EQ(lines.na2, "Ż");
}

TEST(UpperText, PolishAndLatinLetters) {
  EXPECT_EQ(UpperText("ąćęłńóśźż ĄĆĘŁŃÓŚŹŻ abc äöüß"), "ĄĆĘŁŃÓŚŹŻ ĄĆĘŁŃÓŚŹŻ ABC ÄÖÜß");
}

}  // namespace
}  // namespace velkar::test
