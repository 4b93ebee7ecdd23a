// Rounding half away from zero on the decimal value of a double.
#include "tools/Money.h"

#include <cfloat>
#include <cmath>

#include "base/Error.h"

namespace velkar {

namespace {

double PowerOfTen(int n) {
  double result = 1.0;
  for (int i = 0; i < n; ++i) result *= 10.0;  // exact up to 10^22
  return result;
}

}  // namespace

double RoundHalfAway(double value, int decimals) {
  if (!std::isfinite(value)) return value;
  double scale = PowerOfTen(decimals < 0 ? -decimals : decimals);
  double b = decimals >= 0 ? value * scale : value / scale;
  double whole = std::trunc(b);
  double fraction = std::fabs(b - whole);
  // A value typed as 1.005 is stored a few units in the last place below the half
  // (100.49999999999999 after scaling). Such a distance is representation error, not
  // a smaller amount, so it counts as the half.
  double tolerance = std::fabs(b) * 4 * DBL_EPSILON;
  if (fraction >= 0.5 - tolerance) whole += (b < 0 ? -1.0 : 1.0);
  double result = decimals >= 0 ? whole / scale : whole * scale;
  return result == 0.0 ? 0.0 : result;  // no negative zero in the files
}

std::int64_t RoundToWhole(double value) { return CheckedWhole(RoundHalfAway(value, 0)); }

std::int64_t CheckedWhole(double value, const std::string& what, double limit) {
  if (limit > kWholeLimit) limit = kWholeLimit;
  if (!std::isfinite(value) || std::fabs(value) >= limit) {
    std::string shown = std::isnan(value)   ? std::string("NaN")
                        : std::isinf(value) ? std::string(value > 0 ? "INF" : "-INF")
                                            : Format("%.15g", value);
    std::string message = Format("wartość %s jest poza zakresem", shown);
    throw Error(what.empty() ? "Wartość " + shown + " jest poza zakresem" : what + ": " + message);
  }
  return static_cast<std::int64_t>(value);
}

double GrossToNet(double rate, double gross) {
  if (rate > 0) return round2(gross * 100 / (100 + rate));
  return round2(gross);
}

double NetToTax(double rate, double net) {
  if (rate > 0) return round2(rate / 100 * net);
  return 0;
}

}  // namespace velkar
