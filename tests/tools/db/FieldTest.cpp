// Typed reading of field values: NULL as empty / 0, numbers in the fixed format, and
// conversion errors that name the field and table.
#include <gtest/gtest.h>

#include "base/Error.h"
#include "tools/db/Field.h"

using namespace velkar;
using namespace velkar::db;

TEST(Field, NullReadsAsEmptyTextZeroAndFalse) {
  Field null = Field::Null();
  EXPECT_TRUE(null.IsNull());
  EXPECT_EQ(null.AsString(), "");
  EXPECT_EQ(null.AsInteger(), 0);
  EXPECT_EQ(null.AsFloat(), 0.0);
  EXPECT_FALSE(null.AsBoolean());
}

TEST(Field, NumbersAsTextUseADotAndNoExponent) {
  EXPECT_EQ(Field::OfFloat(12.5).AsString(), "12.5");
  EXPECT_EQ(Field::OfFloat(100).AsString(), "100");
  EXPECT_EQ(Field::OfFloat(-0.0).AsString(), "0");
  EXPECT_EQ(Field::OfFloat(0.1 + 0.2).AsString(), "0.30000000000000004");
  EXPECT_EQ(Field::OfFloat(1e20).AsString(), "100000000000000000000");
  EXPECT_EQ(Field::OfFloat(1234567.89).AsString(), "1234567.89");
  EXPECT_EQ(Field::OfInteger(-12415).AsString(), "-12415");
  EXPECT_EQ(Field::OfBoolean(true).AsString(), "True");
}

TEST(Field, WholeNumbersFromFractionsRoundHalfAwayFromZero) {
  EXPECT_EQ(Field::OfFloat(12.5).AsInteger(), 13);
  EXPECT_EQ(Field::OfFloat(-12.5).AsInteger(), -13);
  EXPECT_EQ(Field::OfFloat(12.49).AsInteger(), 12);
  EXPECT_EQ(Field::OfText(" 201 ").AsInteger(), 201);
  EXPECT_EQ(Field::OfText("").AsInteger(), 0);
  EXPECT_EQ(Field::OfText("12.25").AsFloat(), 12.25);
  EXPECT_EQ(Field::OfInteger(7).AsFloat(), 7.0);
}

TEST(Field, TextThatIsNoNumberIsAnErrorNamingFieldAndTable) {
  Field text = Field::OfText("12,50");
  text.Named("Net", "/dane/REG");
  try {
    text.AsFloat();
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Wartość \"12,50\" pola Net tabeli /dane/REG nie jest liczbą");
  }
  try {
    Field::OfText("12.5").Named("Number", "T").AsInteger();
    FAIL();
  } catch (const Error& e) {
    EXPECT_STREQ(e.what(), "Wartość \"12.5\" pola Number tabeli T nie jest liczbą całkowitą");
  }
  try {
    Field::OfFloat(1e300).Named("X", "T").AsInteger();
    FAIL();
  } catch (const Error& e) {
    EXPECT_TRUE(std::string(e.what()).ends_with("pola X tabeli T nie mieści się w liczbie całkowitej")) << e.what();
  }
}

TEST(Field, LogicalValuesFromNumbersAndText) {
  EXPECT_TRUE(Field::OfInteger(2).AsBoolean());
  EXPECT_FALSE(Field::OfFloat(0).AsBoolean());
  for (const char* yes : {"T", "true", "Y", "1"}) EXPECT_TRUE(Field::OfText(yes).AsBoolean()) << yes;
  for (const char* no : {"F", "False", "n", "0", ""}) EXPECT_FALSE(Field::OfText(no).AsBoolean()) << no;
  EXPECT_THROW(Field::OfText("może").AsBoolean(), Error);
}
