// The fixed dictionaries and naming rules.
#include <gtest/gtest.h>

#include "tools/Dictionaries.h"

using namespace velkar;

TEST(EUCountries, TwentyEightEntriesInOrderWithTheEnDashOfGermany) {
  EXPECT_EQ(EUCountries.front(), "AT-Austria");
  EXPECT_EQ(EUCountries[5], "DE\u2013Niemcy");
  EXPECT_EQ(EUCountries[8], "EL-Grecja");
  EXPECT_EQ(EUCountries.back(), "XI-Irlandia Północna");
  const std::vector<std::string> expected = {"AT", "BE", "BG", "CY", "CZ", "DE", "DK", "EE", "EL", "ES",
                                             "FI", "FR", "HR", "HU", "IE", "IT", "LT", "LU", "LV", "MT",
                                             "NL", "PL", "PT", "RO", "SE", "SI", "SK", "XI"};
  EXPECT_EQ(EUCountryCodes(), expected);
}

TEST(EUCountries, MembershipIsExactAndCaseSensitive) {
  for (const char* code : {"DE", "PL", "EL", "XI", "AT", "SK"}) EXPECT_TRUE(IsEUCountryCode(code)) << code;
  for (const char* code : {"de", "GB", "GR", "CH", "US", "NO", "D", "DEU", "", "DE–"})
    EXPECT_FALSE(IsEUCountryCode(code)) << code;
}

TEST(ProcedureMarkers, BitNumbersOfTheProcedureMask) {
  EXPECT_EQ(ProcedureMarkers.size(), 13u);
  EXPECT_EQ(ProcedureMarkers[0], "SW");
  EXPECT_EQ(ProcedureMarkers[2], "TP");
  EXPECT_EQ(ProcedureMarkers[3], "TT_WNT");
  EXPECT_EQ(ProcedureMarkers[8], "I_63");
  EXPECT_EQ(ProcedureMarkers[11], "B_MPV_PROWIZJA");
  EXPECT_EQ(ProcedureMarkers[12], "MPP");
}

TEST(PaymentFormName, KnownCodesAndSevenDotsForTheRest) {
  const std::vector<std::pair<int, std::string>> cases = {{0, "gotówka"}, {1, "karta płatnicza"}, {2, "przelew"},
                                                          {3, "......."}, {4, "za pobraniem"},    {5, "przedpłata"},
                                                          {6, "......."}, {-1, "......."},        {32767, "......."}};
  for (const auto& [code, name] : cases) EXPECT_EQ(PaymentFormName(code), name) << code;
}

TEST(DatePrefixedName, YearlyOrMonthlyPrefix) {
  EXPECT_EQ(DatePrefixedName(true, "REG", DateTime{2024, 3, 15}), "2024REG");
  EXPECT_EQ(DatePrefixedName(false, "REG", DateTime{2024, 3, 15}), "24_03REG");
  EXPECT_EQ(DatePrefixedName(false, "UR", DateTime{2017, 11, 1}), "17_11UR");
  EXPECT_EQ(DatePrefixedName(false, "W", DateTime{2009, 12, 31}), "09_12W");
  EXPECT_EQ(DatePrefixedName(true, "WI", DateTime{2000, 1, 1}), "2000WI");
}

TEST(ClassIs, AClassAndItsCorrectionMatchTheEvenBase) {
  EXPECT_TRUE(ClassIs(22, 22));
  EXPECT_TRUE(ClassIs(23, 22));
  EXPECT_TRUE(ClassIs(2, 2));
  EXPECT_TRUE(ClassIs(3, 2));
  EXPECT_FALSE(ClassIs(24, 22));
  EXPECT_FALSE(ClassIs(21, 22));
  EXPECT_FALSE(ClassIs(3, 3));  // an odd base never matches
}

TEST(TulvoPeriodId, FivePerMonthFromNineteenHundred) {
  EXPECT_EQ(TulvoPeriodId(2024, 3), 12415);
  EXPECT_EQ(TulvoPeriodId(2023, 12), 12360);
  EXPECT_EQ(TulvoPeriodId(2024, 1), 12405);
  EXPECT_EQ(TulvoPeriodId(1999, 12), 9960);
}

TEST(FormatAccountSymbol, PaddedSyntheticAndLevelsUpToTheFirstZero) {
  EXPECT_EQ(FormatAccountSymbol(201, 1, 5, 0, 3), "201-1-5");
  EXPECT_EQ(FormatAccountSymbol(10, 0, 0, 0, 3), "010");
  EXPECT_EQ(FormatAccountSymbol(10, 0, 0, 0, 2), "10");
  EXPECT_EQ(FormatAccountSymbol(5, 12, 0, 0, 2), "05-12");
  EXPECT_EQ(FormatAccountSymbol(201, 0, 5, 7, 3), "201");
  EXPECT_EQ(FormatAccountSymbol(201, 1, 0, 7, 3), "201-1");
  EXPECT_EQ(FormatAccountSymbol(402, 3, 14, 2, 3), "402-3-14-2");
  EXPECT_EQ(FormatAccountSymbol(1234, 1, 0, 0, 3), "1234-1");
}
