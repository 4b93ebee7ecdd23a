// Money arithmetic: every amount the program computes passes through these helpers.
#pragma once

#include <cstdint>
#include <string>

namespace velkar {

// Rounds to `decimals` places (negative: to tens, hundreds ...), halves away from zero,
// as the tax law wants ("0.5 grosz and more rounds up"). The half is decided on the
// decimal value the double stands for: 1.005 rounds to 1.01 although its binary
// expansion is 1.00499999999999989...
double RoundHalfAway(double value, int decimals);

// Two decimal places, halves away from zero.
inline double round2(double value) { return RoundHalfAway(value, 2); }

// Whole złoty, halves away from zero (declaration positions). A value that is not finite
// or does not fit a 64-bit whole number raises Error (see CheckedWhole).
std::int64_t RoundToWhole(double value);

// The largest whole number a double converts to without leaving std::int64_t: 2^63 is the
// first double above the range, so every double strictly below it fits.
inline constexpr double kWholeLimit = 9223372036854775808.0;

// A double that must stand for a whole number the program can hold: not-a-number, an
// infinity or a value outside (-limit, limit) raises Error "<what>: wartość X jest poza
// zakresem" (without "<what>: " when `what` is empty); otherwise the value's integer part.
// Every conversion of a double to a whole number goes through here.
std::int64_t CheckedWhole(double value, const std::string& what = {}, double limit = kWholeLimit);

// Net from gross at a rate in per cent; a rate of 0 or below is 0 % / exempt.
double GrossToNet(double rate, double gross);
// Tax on a net amount at a rate in per cent; 0 for a rate of 0 or below.
double NetToTax(double rate, double net);

}  // namespace velkar
