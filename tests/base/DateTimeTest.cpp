// Calendar arithmetic and date texts.
#include <gtest/gtest.h>

#include "base/DateTime.h"

using namespace velkar;

TEST(DateTime, MovingBackAMonthFromTheLastDayOfMarchLandsOnTheLastDayOfFebruary) {
  EXPECT_EQ(FormatDate(IncMonth({2023, 3, 31, 14, 5, 6}, -1)), "2023-02-28");
  EXPECT_EQ(FormatDate(IncMonth({2024, 3, 31, 0, 0, 0}, -1)), "2024-02-29");
  DateTime moved = IncMonth({2024, 1, 15, 10, 20, 30}, -1);
  EXPECT_EQ(FormatDateTimeStamp(moved), "2023-12-15T10:20:30");
  EXPECT_EQ(FormatDate(IncMonth({2024, 12, 31, 0, 0, 0}, 2)), "2025-02-28");
}

TEST(DateTime, ParsesOnlyRealCalendarDatesInYearMonthDayForm) {
  ASSERT_TRUE(ParseDate("2024-02-29"));
  EXPECT_EQ(FormatDate(*ParseDate("2024-02-29")), "2024-02-29");
  EXPECT_FALSE(ParseDate("2023-02-29"));
  EXPECT_FALSE(ParseDate("2024-13-01"));
  EXPECT_FALSE(ParseDate("01.02.2024"));
  EXPECT_FALSE(ParseDate("2024-1-5"));
  EXPECT_FALSE(ParseDate(""));
  auto withTime = ParseDate("2024-05-06 07:08:09");
  ASSERT_TRUE(withTime);
  EXPECT_EQ(withTime->hour, 7);
  EXPECT_EQ(withTime->second, 9);
  EXPECT_FALSE(ParseDate("2024-05-06 25:00"));
}

TEST(DateTime, DayNumbersCountFromTheEndOf1899) {
  EXPECT_EQ(DayNumber({1899, 12, 30}), 0);
  EXPECT_EQ(DayNumber({1900, 1, 1}), 2);
  EXPECT_EQ(DayNumber({2024, 3, 1}), 45352);
  for (long n : {-1000L, 0L, 1L, 45352L, 80000L}) EXPECT_EQ(DayNumber(FromDayNumber(n)), n);
}

TEST(DateTime, PeriodTextAndMonthBounds) {
  DateTime feb{2024, 2, 10, 8, 0, 0};
  EXPECT_EQ(FormatPeriod(feb), "2024-02");
  EXPECT_EQ(FormatDate(StartOfMonth(feb)), "2024-02-01");
  EXPECT_EQ(FormatDate(EndOfMonth(feb)), "2024-02-29");
  EXPECT_EQ(FormatDate(EndOfMonth({2023, 12, 5})), "2023-12-31");
}

TEST(DateTime, FrozenClockIsWhatNowGives) {
  Clock::Freeze({2025, 3, 31, 12, 34, 56});
  EXPECT_EQ(FormatDateTimeStamp(Clock::Now()), "2025-03-31T12:34:56");
  EXPECT_EQ(FormatDateTimeStamp(Clock::Today()), "2025-03-31T00:00:00");
  Clock::Unfreeze();
  EXPECT_GT(Clock::Now().year, 2020);
}
