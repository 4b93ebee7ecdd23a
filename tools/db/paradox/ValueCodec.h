// Decoding of the big-endian, sign-flipped field encodings of Paradox records into plain
// numbers and the program's date and time texts.
#pragma once

#include <cstdint>
#include <string>

namespace velkar::db::paradox {

// All bytes zero: the blank (NULL) of every fixed-size type.
bool AllZero(const unsigned char* bytes, std::size_t count);

// Short, Long, AutoInc, Date, Time: big-endian with the top bit flipped.
std::int64_t DecodeFlippedInt(const unsigned char* bytes, std::size_t count);
// Number, Currency, Timestamp: a double in the sortable form (top bit set: clear it;
// otherwise invert all 64 bits).
double DecodeSortableDouble(const unsigned char* bytes);

// Day number (0001-01-01 = 1) to "yyyy-MM-dd"; false outside 0001-01-01..9999-12-31.
bool FormatDayNumber(std::int64_t day, std::string& out);
// Milliseconds since midnight to "hh:mm:ss" (milliseconds dropped); false outside a day.
bool FormatTimeOfDay(std::int64_t milliseconds, std::string& out);
// Milliseconds on the day-number scale to "yyyy-MM-dd hh:mm:ss"; false outside the years
// 1..9999 or for a value that is not a number.
bool FormatTimestamp(double milliseconds, std::string& out);

enum class BcdResult { Null, Value };
// A 17-byte BCD field with `decimals` fraction digits (0–32). Digits after the first nibble
// above 9 count as 0.
BcdResult DecodeBcd(const unsigned char* bytes, int decimals, double& out);

}  // namespace velkar::db::paradox
