// Calendar arithmetic for the program's dates and the freezable clock.
#include "base/DateTime.h"

#include <atomic>
#include <cstdio>
#include <ctime>
#include <mutex>

namespace velkar {

bool IsLeapYear(int year) { return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0; }

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month == 2 && IsLeapYear(year)) return 29;
  return kDays[(month - 1) % 12];
}

DateTime IncMonth(const DateTime& value, int months) {
  DateTime result = value;
  int index = value.year * 12 + (value.month - 1) + months;
  result.year = index / 12;
  result.month = index % 12 + 1;
  int last = DaysInMonth(result.year, result.month);
  if (result.day > last) result.day = last;
  return result;
}

DateTime StartOfMonth(const DateTime& value) { return {value.year, value.month, 1, 0, 0, 0}; }

DateTime EndOfMonth(const DateTime& value) {
  return {value.year, value.month, DaysInMonth(value.year, value.month), 0, 0, 0};
}

std::string FormatDate(const DateTime& value) {
  char buffer[32];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d", value.year, value.month, value.day);
  return buffer;
}

std::string FormatDateTimeStamp(const DateTime& value) {
  char buffer[40];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02dT%02d:%02d:%02d", value.year, value.month,
                value.day, value.hour, value.minute, value.second);
  return buffer;
}

std::string FormatPeriod(const DateTime& value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04d-%02d", value.year, value.month);
  return buffer;
}

namespace {

bool ReadNumber(const std::string& text, size_t& pos, size_t digits, int& out) {
  if (pos + digits > text.size()) return false;
  int value = 0;
  for (size_t i = 0; i < digits; ++i) {
    char c = text[pos + i];
    if (c < '0' || c > '9') return false;
    value = value * 10 + (c - '0');
  }
  pos += digits;
  out = value;
  return true;
}

}  // namespace

std::optional<DateTime> ParseDate(const std::string& text) {
  DateTime result;
  size_t pos = 0;
  if (!ReadNumber(text, pos, 4, result.year) || pos >= text.size() || text[pos++] != '-') return {};
  if (!ReadNumber(text, pos, 2, result.month) || pos >= text.size() || text[pos++] != '-') return {};
  if (!ReadNumber(text, pos, 2, result.day)) return {};
  if (result.month < 1 || result.month > 12 || result.day < 1 ||
      result.day > DaysInMonth(result.year, result.month) || result.year < 1)
    return {};
  if (pos == text.size()) return result;
  if (text[pos] != ' ' && text[pos] != 'T') return {};
  ++pos;
  if (!ReadNumber(text, pos, 2, result.hour) || pos >= text.size() || text[pos++] != ':') return {};
  if (!ReadNumber(text, pos, 2, result.minute)) return {};
  if (pos < text.size()) {
    if (text[pos++] != ':' || !ReadNumber(text, pos, 2, result.second)) return {};
  }
  if (pos != text.size() || result.hour > 23 || result.minute > 59 || result.second > 59) return {};
  return result;
}

long DayNumber(const DateTime& value) {
  // Days from civil (H. Hinnant's algorithm), shifted so that 1899-12-30 is day 0.
  int y = value.year - (value.month <= 2 ? 1 : 0);
  long era = (y >= 0 ? y : y - 399) / 400;
  unsigned yoe = static_cast<unsigned>(y - era * 400);
  unsigned mp = static_cast<unsigned>((value.month + 9) % 12);
  unsigned doy = (153 * mp + 2) / 5 + static_cast<unsigned>(value.day) - 1;
  unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  long unixDays = era * 146097 + static_cast<long>(doe) - 719468;
  return unixDays + 25569;
}

DateTime FromDayNumber(long days) {
  long z = days - 25569 + 719468;
  long era = (z >= 0 ? z : z - 146096) / 146097;
  unsigned doe = static_cast<unsigned>(z - era * 146097);
  unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  long y = static_cast<long>(yoe) + era * 400;
  unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  unsigned mp = (5 * doy + 2) / 153;
  unsigned d = doy - (153 * mp + 2) / 5 + 1;
  unsigned m = mp < 10 ? mp + 3 : mp - 9;
  return {static_cast<int>(y + (m <= 2 ? 1 : 0)), static_cast<int>(m), static_cast<int>(d), 0, 0, 0};
}

DateTime LocalToUtc(const DateTime& local) {
  std::tm tm{};
  tm.tm_year = local.year - 1900;
  tm.tm_mon = local.month - 1;
  tm.tm_mday = local.day;
  tm.tm_hour = local.hour;
  tm.tm_min = local.minute;
  tm.tm_sec = local.second;
  tm.tm_isdst = -1;  // the zone's rules say whether summer time applies
  std::time_t instant = std::mktime(&tm);
  std::tm utc{};
  if (instant == static_cast<std::time_t>(-1) || gmtime_r(&instant, &utc) == nullptr) return local;
  return {utc.tm_year + 1900, utc.tm_mon + 1, utc.tm_mday, utc.tm_hour, utc.tm_min, utc.tm_sec};
}

namespace Clock {
namespace {
std::mutex gMutex;
std::optional<DateTime> gFrozen;
}  // namespace

DateTime Now() {
  {
    std::lock_guard lock(gMutex);
    if (gFrozen) return *gFrozen;
  }
  std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return {local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec};
}

DateTime Today() { return Now().DateOnly(); }

void Freeze(const DateTime& value) {
  std::lock_guard lock(gMutex);
  gFrozen = value;
}

void Unfreeze() {
  std::lock_guard lock(gMutex);
  gFrozen.reset();
}
}  // namespace Clock

}  // namespace velkar
