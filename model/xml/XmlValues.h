// Conversions between property values and XML text. Machine format only: '.' as decimal
// point, no thousands separator, never the user's locale.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkar::xml {

// Amount text to number: blank (after trimming white space) gives 0; "NaN", "INF", "-INF"
// (any letter case) give not-a-number and the infinities; otherwise a decimal number with
// '.' as decimal point and an optional exponent. Anything else, a comma included, raises
// EConvertError.
double XmlStrToFloat(std::string_view text);

// Strict decimal number with '.' (JPK_MAG(1) amounts): like XmlStrToFloat, but a blank
// text is not a number and raises EConvertError.
double XmlStrToFloatStrict(std::string_view text);

// Writes an amount in invariant general notation with 15 significant digits: trailing
// zeros and a trailing point dropped, '.' as decimal point, scientific notation ("1E-6",
// "1.5E20") only below 0.00001 or from 16 integer digits up. 1234.5 -> "1234.5",
// 0.1 + 0.2 -> "0.3", 10.005 -> "10.005". Not-a-number and the infinities give "NaN",
// "INF" and "-INF".
std::string XmlFloatToStr(double value);
// The same into a caller's buffer of at least 32 characters; returns the length.
size_t XmlFloatToChars(double value, char* buffer);

// Whole numbers: optional surrounding white space and sign, decimal digits only; out of
// range or anything else raises EConvertError.
int32_t XmlStrToInt(std::string_view text);
int64_t XmlStrToInt64(std::string_view text);
std::string XmlIntToStr(int64_t value);

// Truth values: "true"/"false" in any letter case, or a number (non-zero is true).
// Anything else raises EConvertError. Written as "true" / "false".
bool XmlStrToBool(std::string_view text);
inline const char* XmlBoolToStr(bool value) { return value ? "true" : "false"; }

// Text as it may be stored in an XML 1.0 document: characters XML cannot carry (control
// characters other than tab, line feed and carriage return; U+FFFE, U+FFFF) are dropped, so a
// saved file always loads again. Returns `text` itself when nothing had to go, else the
// cleaned copy in `buffer`. Text that is not valid UTF-8 raises EConvertError naming `what`.
std::string_view XmlCleanText(std::string_view text, std::string& buffer, std::string_view what);

// XML white space (space, tab, CR, LF) trimmed from both ends.
std::string_view XmlTrim(std::string_view text);

}  // namespace velkar::xml
