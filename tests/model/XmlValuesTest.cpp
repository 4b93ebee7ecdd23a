// Value conversions of the typed model: the amount writer, XmlStrToFloat, whole numbers
// and truth values, each with the malformed texts they must refuse.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "model/xml/XmlErrors.h"
#include "model/xml/XmlValues.h"

using namespace velkar::xml;

TEST(XmlFloatToStr, WritesFifteenSignificantDigitsInInvariantNotation) {
  struct Case {
    double value;
    const char* text;
  } cases[] = {
      {1234.5, "1234.5"},
      {100, "100"},
      {0.1 + 0.2, "0.3"},
      {10.005, "10.005"},
      {-12.34, "-12.34"},
      {0.07, "0.07"},
      {0.0, "0"},
      {-0.0, "0"},
      {1.0 / 3.0, "0.333333333333333"},
      {-2.0 / 3.0, "-0.666666666666667"},
      {0.00001, "0.00001"},
      {0.000015, "0.000015"},
      {0.0000099, "9.9E-6"},
      {-0.000001, "-1E-6"},
      {123456789012345.0, "123456789012345"},
      {99999999999999.99, "100000000000000"},  // rounding to 15 digits carries into a new digit
      {1234567890123456.0, "1.23456789012346E15"},
      {1e20, "1E20"},
      {-1.5e300, "-1.5E300"},
      {std::numeric_limits<double>::quiet_NaN(), "NaN"},
      {std::numeric_limits<double>::infinity(), "INF"},
      {-std::numeric_limits<double>::infinity(), "-INF"},
  };
  for (const Case& c : cases) EXPECT_EQ(XmlFloatToStr(c.value), c.text) << c.text;
}

TEST(XmlStrToFloat, ReadsInvariantNumbersBlanksAndSpecialValues) {
  EXPECT_EQ(XmlStrToFloat(""), 0.0);
  EXPECT_EQ(XmlStrToFloat(" \t\r\n "), 0.0);
  EXPECT_EQ(XmlStrToFloat("12.5"), 12.5);
  EXPECT_EQ(XmlStrToFloat("  -0.5\n"), -0.5);
  EXPECT_EQ(XmlStrToFloat("+3"), 3.0);
  EXPECT_EQ(XmlStrToFloat(".5"), 0.5);
  EXPECT_EQ(XmlStrToFloat("1E3"), 1000.0);
  EXPECT_EQ(XmlStrToFloat("2.5e-2"), 0.025);
  EXPECT_TRUE(std::isnan(XmlStrToFloat("NaN")));
  EXPECT_TRUE(std::isnan(XmlStrToFloat("nan")));
  EXPECT_EQ(XmlStrToFloat("INF"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(XmlStrToFloat("inf"), std::numeric_limits<double>::infinity());
  EXPECT_EQ(XmlStrToFloat("-INF"), -std::numeric_limits<double>::infinity());
}

TEST(XmlStrToFloat, RefusesTextsThatAreNotInvariantNumbers) {
  const char* bad[] = {"1,5", "abc", "1.2.3", "infinity", "+INF", "0x10", "1e", "--1", "1 000", "12zł", "."};
  for (const char* text : bad) {
    try {
      XmlStrToFloat(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' nie jest poprawną liczbą");
    }
  }
  EXPECT_THROW(XmlStrToFloat("1e999"), EConvertError);
}

TEST(XmlStrToFloatStrict, BlankIsNotANumber) {
  EXPECT_EQ(XmlStrToFloatStrict("7.25"), 7.25);
  EXPECT_THROW(XmlStrToFloatStrict(""), EConvertError);
  EXPECT_THROW(XmlStrToFloatStrict("  "), EConvertError);
  EXPECT_THROW(XmlStrToFloatStrict("1,25"), EConvertError);
}

TEST(XmlIntegers, ReadDigitsWithOptionalSignAndRefuseEverythingElse) {
  EXPECT_EQ(XmlStrToInt("42"), 42);
  EXPECT_EQ(XmlStrToInt(" -7 "), -7);
  EXPECT_EQ(XmlStrToInt("+5"), 5);
  EXPECT_EQ(XmlStrToInt64("9223372036854775807"), INT64_MAX);
  EXPECT_EQ(XmlStrToInt64("5000000000"), 5000000000LL);
  const char* bad[] = {"", "1.0", "2147483648", "abc", "1 2", "++1", "0x1"};
  for (const char* text : bad) {
    try {
      XmlStrToInt(text);
      ADD_FAILURE() << "accepted " << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("'") + text + "' nie jest poprawną liczbą całkowitą");
    }
  }
  EXPECT_EQ(XmlIntToStr(-120), "-120");
  EXPECT_EQ(XmlIntToStr(5000000000LL), "5000000000");
}

TEST(XmlBooleans, ReadWordsAndNumbersAndWriteWords) {
  EXPECT_TRUE(XmlStrToBool("true"));
  EXPECT_TRUE(XmlStrToBool("TRUE"));
  EXPECT_FALSE(XmlStrToBool("False"));
  EXPECT_TRUE(XmlStrToBool("1"));
  EXPECT_TRUE(XmlStrToBool("-1"));
  EXPECT_TRUE(XmlStrToBool("2.5"));
  EXPECT_FALSE(XmlStrToBool("0"));
  EXPECT_THROW(XmlStrToBool("yes"), EConvertError);
  EXPECT_THROW(XmlStrToBool(""), EConvertError);
  EXPECT_STREQ(XmlBoolToStr(true), "true");
  EXPECT_STREQ(XmlBoolToStr(false), "false");
}

TEST(XmlCleanText, DropsWhatXmlCannotCarryAndRefusesBrokenUtf8) {
  std::string buffer;
  EXPECT_EQ(XmlCleanText("Zwykły tekst\tz tabulatorem\r\n", buffer, "Opis"), "Zwykły tekst\tz tabulatorem\r\n");
  EXPECT_EQ(XmlCleanText("A\x01" "B\x1A" "C\x7F", buffer, "Opis"), "ABC\x7F");
  EXPECT_EQ(XmlCleanText("x\xEF\xBF\xBEy", buffer, "Opis"), "xy");  // U+FFFE
  EXPECT_EQ(XmlCleanText("\xF0\x9F\x98\x80", buffer, "Opis"), "\xF0\x9F\x98\x80");  // U+1F600 stays
  const char* broken[] = {"\xFF", "abc\xC5", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80"};
  for (const char* text : broken) {
    try {
      XmlCleanText(text, buffer, "NazwaKontrahenta");
      ADD_FAILURE() << "accepted broken UTF-8";
    } catch (const EConvertError& e) {
      EXPECT_STREQ(e.what(), "Wartość NazwaKontrahenta nie jest poprawnym tekstem UTF-8");
    }
  }
}
