// Numbers as Polish users type them into the windows: a comma (or a point) as the decimal
// separator and blanks as digit grouping ("1 234,50"). What the program writes into files
// stays machine text: '.' and no grouping.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace velkar {

// The typed text as machine text: surrounding blanks dropped, blanks between digits of the
// whole part (the space, the non-breaking space U+00A0 and the narrow one U+202F) taken as
// grouping, "," or "." as the decimal point; an optional leading "-" or "+"; the decimals
// kept as typed ("1 234,50" -> "1234.50"). Anything else (letters, two separators, an
// exponent, no digit) raises Error "'TEXT' nie jest poprawną liczbą". Empty stays empty.
std::string AmountInputText(std::string_view typed);

// AmountInputText read as a number; "" is 0.
double ParseAmountInput(std::string_view typed);

// A whole number typed with optional grouping ("12 500" -> 12500). A fraction, a
// separator or anything else raises Error "'TEXT' nie jest poprawną liczbą całkowitą";
// more than `maxDigits` digits (at most 18) raise "'TEXT' jest poza zakresem (najwyżej N
// cyfr)". "" is not a number here.
std::int64_t ParseWholeInput(std::string_view typed, int maxDigits = 18);

// The number of decimal places of a machine text ("1234.50" -> 2).
int DecimalPlaces(std::string_view machineText);

}  // namespace velkar
