// Money arithmetic: every amount the program computes passes through these helpers.
#pragma once

#include <cstdint>

namespace velkar {

// Rounds to `decimals` places (negative: to tens, hundreds ...), halves away from zero,
// as the tax law wants ("0.5 grosz and more rounds up"). The half is decided on the
// decimal value the double stands for: 1.005 rounds to 1.01 although its binary
// expansion is 1.00499999999999989...
double RoundHalfAway(double value, int decimals);

// Two decimal places, halves away from zero.
inline double round2(double value) { return RoundHalfAway(value, 2); }

// Whole złoty, halves away from zero (declaration positions).
std::int64_t RoundToWhole(double value);

// Net from gross at a rate in per cent; a rate of 0 or below is 0 % / exempt.
double GrossToNet(double rate, double gross);
// Tax on a net amount at a rate in per cent; 0 for a rate of 0 or below.
double NetToTax(double rate, double net);

}  // namespace velkar
