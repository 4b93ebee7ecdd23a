// Field value decoding.
#include "tools/db/paradox/ValueCodec.h"

#include <bit>
#include <charconv>
#include <cmath>

namespace velkar::db::paradox {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;
constexpr std::int64_t kLastDay = 3'652'059;  // 9999-12-31

void Put2(char* at, int value) {
  at[0] = static_cast<char>('0' + value / 10);
  at[1] = static_cast<char>('0' + value % 10);
}

// Appends "yyyy-MM-dd" for a day number already known to be in range (proleptic
// Gregorian calendar, civil-from-days).
void AppendDate(std::int64_t day, std::string& out) {
  std::int64_t z = day - 1 + 306;  // days since 0000-03-01
  std::int64_t era = z / 146097;
  std::int64_t doe = z - era * 146097;
  std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  std::int64_t year = yoe + era * 400;
  std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  std::int64_t mp = (5 * doy + 2) / 153;
  int dayOfMonth = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  if (month <= 2) ++year;
  char text[10];
  int y = static_cast<int>(year);
  Put2(text, y / 100);
  Put2(text + 2, y % 100);
  text[4] = '-';
  Put2(text + 5, month);
  text[7] = '-';
  Put2(text + 8, dayOfMonth);
  out.append(text, 10);
}

void AppendTime(std::int64_t milliseconds, std::string& out) {
  int seconds = static_cast<int>(milliseconds / 1000);
  char text[8];
  Put2(text, seconds / 3600);
  text[2] = ':';
  Put2(text + 3, seconds / 60 % 60);
  text[5] = ':';
  Put2(text + 6, seconds % 60);
  out.append(text, 8);
}

}  // namespace

bool AllZero(const unsigned char* bytes, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i)
    if (bytes[i] != 0) return false;
  return true;
}

std::int64_t DecodeFlippedInt(const unsigned char* bytes, std::size_t count) {
  std::uint64_t raw = 0;
  for (std::size_t i = 0; i < count; ++i) raw = raw << 8 | bytes[i];
  std::uint64_t top = std::uint64_t{1} << (count * 8 - 1);
  raw ^= top;
  // Two's complement of `count` bytes: values with the (new) top bit set are negative.
  return (raw & top) ? static_cast<std::int64_t>(raw) - static_cast<std::int64_t>(top << 1)
                     : static_cast<std::int64_t>(raw);
}

double DecodeSortableDouble(const unsigned char* bytes) {
  std::uint64_t raw = 0;
  for (int i = 0; i < 8; ++i) raw = raw << 8 | bytes[i];
  if (raw & (std::uint64_t{1} << 63))
    raw &= ~(std::uint64_t{1} << 63);
  else
    raw = ~raw;
  return std::bit_cast<double>(raw);
}

bool FormatDayNumber(std::int64_t day, std::string& out) {
  out.clear();
  if (day < 1 || day > kLastDay) return false;
  AppendDate(day, out);
  return true;
}

bool FormatTimeOfDay(std::int64_t milliseconds, std::string& out) {
  out.clear();
  if (milliseconds < 0 || milliseconds >= kMsPerDay) return false;
  AppendTime(milliseconds, out);
  return true;
}

bool FormatTimestamp(double milliseconds, std::string& out) {
  out.clear();
  // Checked as a double first, so the conversion to an integer cannot overflow.
  if (!(milliseconds >= static_cast<double>(kMsPerDay) && milliseconds < static_cast<double>((kLastDay + 1) * kMsPerDay)))
    return false;
  std::int64_t ms = std::llround(milliseconds);
  std::int64_t day = ms / kMsPerDay;
  if (day > kLastDay) return false;
  AppendDate(day, out);
  out += ' ';
  AppendTime(ms % kMsPerDay, out);
  return true;
}

BcdResult DecodeBcd(const unsigned char* bytes, int decimals, double& out) {
  bool positive = (bytes[0] & 0x80) != 0;
  if (!positive && AllZero(bytes + 1, 16)) return BcdResult::Null;
  unsigned char invert = positive ? 0x00 : 0xFF;
  // At most 32 digits, a sign and a decimal point.
  char text[40];
  std::size_t length = 0;
  if (!positive) text[length++] = '-';
  bool junk = false;
  int integerDigits = 32 - decimals;
  for (int i = 0; i < 32; ++i) {
    if (i == integerDigits) {
      if (length == 0 || text[length - 1] == '-') text[length++] = '0';
      text[length++] = '.';
    }
    unsigned char byte = bytes[1 + i / 2] ^ invert;
    int digit = (i % 2 == 0) ? byte >> 4 : byte & 0x0F;
    if (digit > 9) junk = true;
    if (junk) digit = 0;
    // Leading zeros of the integer part are left out.
    bool leadingZero = i < integerDigits && digit == 0 && (length == 0 || (length == 1 && !positive));
    if (!leadingZero) text[length++] = static_cast<char>('0' + digit);
  }
  if (length == 0 || (length == 1 && !positive)) text[length++] = '0';
  double value = 0;
  const char* begin = text[0] == '-' ? text + 1 : text;
  std::from_chars(begin, text + length, value);
  out = positive || value == 0 ? value : -value;
  return BcdResult::Value;
}

}  // namespace velkar::db::paradox
