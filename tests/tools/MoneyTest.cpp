// Rounding and VAT conversions, to the grosz.
#include <gtest/gtest.h>

#include <cmath>

#include "tests/support/ErrorOf.h"
#include "tools/Money.h"

using namespace velkar;

TEST(Money, HalvesRoundAwayFromZero) {
  EXPECT_EQ(RoundHalfAway(2.5, 0), 3);
  EXPECT_EQ(RoundHalfAway(-2.5, 0), -3);
  EXPECT_EQ(round2(0.125), 0.13);
  EXPECT_EQ(round2(-0.125), -0.13);
  EXPECT_EQ(RoundToWhole(1234.5), 1235);
  EXPECT_EQ(RoundToWhole(-10.5), -11);
  EXPECT_EQ(RoundToWhole(11.5), 12);
  EXPECT_EQ(RoundToWhole(10.49), 10);
}

TEST(Money, HalvesAreDecidedOnTheDecimalValueNotTheBinaryExpansion) {
  // Each of these is stored a hair below the half.
  EXPECT_EQ(round2(0.23 * 1.5), 0.35);
  EXPECT_EQ(round2(1.005), 1.01);
  EXPECT_EQ(round2(2.675), 2.68);
  EXPECT_EQ(round2(-1.005), -1.01);
  EXPECT_EQ(round2(1.015), 1.02);
  EXPECT_EQ(round2(8.345), 8.35);
  EXPECT_EQ(round2(1234567.885), 1234567.89);
}

TEST(Money, ValuesTrulyBelowTheHalfRoundDown) {
  EXPECT_EQ(round2(1.00499), 1.0);
  EXPECT_EQ(round2(1.0049999999), 1.0);
  EXPECT_EQ(round2(0.124), 0.12);
  EXPECT_EQ(RoundHalfAway(2.4999999, 0), 2);
}

TEST(Money, NegativeDecimalsRoundToTensAndNoNegativeZero) {
  EXPECT_EQ(RoundHalfAway(1250, -2), 1300);
  EXPECT_EQ(RoundHalfAway(-1249, -2), -1200);
  EXPECT_FALSE(std::signbit(round2(-0.001)));
}

TEST(Money, VatConversions) {
  EXPECT_EQ(GrossToNet(23, 123), 100);
  EXPECT_EQ(GrossToNet(8, 10.80), 10);
  EXPECT_EQ(GrossToNet(0, 12.345), 12.35);
  EXPECT_EQ(GrossToNet(-1, 50), 50);
  EXPECT_EQ(NetToTax(23, 1000), 230);
  EXPECT_EQ(NetToTax(23, 0.5), 0.12);  // 0.115 -> 0.12
  EXPECT_EQ(NetToTax(0, 1000), 0);
  EXPECT_EQ(NetToTax(-1, 1000), 0);
}

TEST(Money, NoDoubleBecomesAWrappedWholeNumber) {
  using velkar::test::ErrorOf;
  EXPECT_EQ(CheckedWhole(-9223372036854774784.0), -9223372036854774784);
  EXPECT_EQ(CheckedWhole(12.9), 12);
  EXPECT_EQ(ErrorOf([] { CheckedWhole(9223372036854775808.0); }), "Wartość 9.22337203685478e+18 jest poza zakresem");
  EXPECT_EQ(ErrorOf([] { CheckedWhole(std::nan("")); }), "Wartość NaN jest poza zakresem");
  EXPECT_EQ(ErrorOf([] { RoundToWhole(-HUGE_VAL); }), "Wartość -INF jest poza zakresem");
  EXPECT_EQ(ErrorOf([] { CheckedWhole(1e14, "Pozycja P_37", 1e14); }),
            "Pozycja P_37: wartość 100000000000000 jest poza zakresem");
  EXPECT_EQ(CheckedWhole(-99999999999999.0, "Pozycja P_37", 1e14), -99999999999999);
}
