// Numbers typed the Polish way: comma decimals, blanks as grouping, whole złoty refusing
// fractions; machine text out.
#include <gtest/gtest.h>

#include "tests/support/ErrorOf.h"
#include "tools/NumberInput.h"

using namespace velkar;
using velkar::test::ErrorOf;

TEST(NumberInput, AmountsAcceptCommaDecimalsAndBlankGrouping) {
  EXPECT_EQ(AmountInputText("1 234,50"), "1234.50");
  EXPECT_EQ(AmountInputText("1\xC2\xA0" "234,5"), "1234.5");        // non-breaking space
  EXPECT_EQ(AmountInputText(" 12\xE2\x80\xAF" "500.00 "), "12500.00");  // narrow one, point
  EXPECT_EQ(AmountInputText("-0,01"), "-0.01");
  EXPECT_EQ(AmountInputText("+7"), "7");
  EXPECT_EQ(AmountInputText(""), "");
  EXPECT_DOUBLE_EQ(ParseAmountInput("1 234,50"), 1234.5);
  EXPECT_EQ(ParseAmountInput("  "), 0);
  for (const char* wrong : {"1,234,5", "12 ,5", "1e5", "NaN", "INF", "-", ",", "1 234 ,", "12a", "1 -2", "٣"})
    EXPECT_EQ(ErrorOf([wrong] { AmountInputText(wrong); }), std::string("'") + wrong + "' nie jest poprawną liczbą")
        << wrong;
  EXPECT_EQ(DecimalPlaces(AmountInputText("10,005")), 3);
}

TEST(NumberInput, WholeNumbersTakeGroupingButNoFraction) {
  EXPECT_EQ(ParseWholeInput("12 500"), 12500);
  EXPECT_EQ(ParseWholeInput("-1\xC2\xA0" "000"), -1000);
  EXPECT_EQ(ParseWholeInput("0099999999999999", 14), 99999999999999);
  EXPECT_EQ(ErrorOf([] { ParseWholeInput("1000,50"); }), "'1000,50' nie jest poprawną liczbą całkowitą");
  EXPECT_EQ(ErrorOf([] { ParseWholeInput("1000.00"); }), "'1000.00' nie jest poprawną liczbą całkowitą");
  EXPECT_EQ(ErrorOf([] { ParseWholeInput(""); }), "'' nie jest poprawną liczbą całkowitą");
  EXPECT_EQ(ErrorOf([] { ParseWholeInput("9223372036854775807", 14); }),
            "'9223372036854775807' jest poza zakresem (najwyżej 14 cyfr)");
  EXPECT_EQ(ErrorOf([] { ParseWholeInput("-99999999999999999999"); }),
            "'-99999999999999999999' jest poza zakresem (najwyżej 18 cyfr)");
}
