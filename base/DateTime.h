// Calendar dates and times of the program: "yyyy-MM-dd" texts in every machine format,
// and one clock that tests can freeze.
#pragma once

#include <compare>
#include <optional>
#include <string>

namespace velkar {

struct DateTime {
  int year = 1899;
  int month = 12;
  int day = 30;
  int hour = 0;
  int minute = 0;
  int second = 0;

  auto operator<=>(const DateTime&) const = default;

  DateTime DateOnly() const { return {year, month, day, 0, 0, 0}; }
};

bool IsLeapYear(int year);
int DaysInMonth(int year, int month);

// Moves the date by whole months; a day past the end of the target month becomes its
// last day (31 March minus one month is 28 or 29 February). The time of day is kept.
DateTime IncMonth(const DateTime& value, int months);

// The first and the last day of the value's month.
DateTime StartOfMonth(const DateTime& value);
DateTime EndOfMonth(const DateTime& value);

// "yyyy-MM-dd".
std::string FormatDate(const DateTime& value);
// "yyyy-MM-ddThh:mm:ss".
std::string FormatDateTimeStamp(const DateTime& value);
// "yyyy-mm" (the period prefix of default file names).
std::string FormatPeriod(const DateTime& value);

// Reads "yyyy-MM-dd", optionally followed by " hh:mm[:ss]" or "Thh:mm[:ss]"; the date
// must exist in the calendar. Anything else gives no value.
std::optional<DateTime> ParseDate(const std::string& text);

// The same instant in UTC, the local time read in the time zone of the process (TZ).
DateTime LocalToUtc(const DateTime& local);

// Days since 1899-12-30 (the day numbering of the source databases' date fields).
long DayNumber(const DateTime& value);
DateTime FromDayNumber(long days);

// The program's clock: the local time, unless a test froze it.
namespace Clock {
DateTime Now();
DateTime Today();
void Freeze(const DateTime& value);
void Unfreeze();
}  // namespace Clock

}  // namespace velkar
