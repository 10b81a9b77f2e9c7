#include "platform/runtime/Variant.h"

#include "CommaLocale.h"
#include "Errors.h"

#include <gtest/gtest.h>

using tov::test::ErrorOf;
using tov::Variant;

TEST(Variant, TextToBooleanAcceptsTheWordsInAnyCaseAndNumbers) {
  EXPECT_TRUE(Variant("True").ToBool());
  EXPECT_FALSE(Variant("False").ToBool());
  EXPECT_TRUE(Variant(" true ").ToBool());
  EXPECT_TRUE(Variant(" 12.5 ").ToBool());
  EXPECT_FALSE(Variant("0").ToBool());
  EXPECT_EQ(ErrorOf([] { Variant("abc").ToBool(); }).number, 13);
  EXPECT_EQ(ErrorOf([] { Variant("").ToBool(); }).number, 13);
}

TEST(Variant, TextToNumbersAllowsBlanksTrailingPointAndExponent) {
  EXPECT_DOUBLE_EQ(Variant(" 12.5 ").ToDouble(), 12.5);
  EXPECT_EQ(Variant(" 12.5 ").ToLong(), 12); // half to even
  EXPECT_EQ(Variant("13.5").ToLong(), 14);
  EXPECT_EQ(Variant("12.").ToLong(), 12);
  EXPECT_DOUBLE_EQ(Variant("1e3").ToDouble(), 1000.0);
  EXPECT_EQ(Variant("1e3").ToLong(), 1000);
}

TEST(Variant, NonNumbersAreTypeMismatches) {
  for (const char* text : {"abc", "", "True", "False", "0x10", "1,5"}) {
    EXPECT_EQ(ErrorOf([&] { Variant(text).ToLong(); }).number, 13) << text;
    EXPECT_EQ(ErrorOf([&] { Variant(text).ToDouble(); }).number, 13) << text;
  }
  EXPECT_EQ(ErrorOf([] { Variant(std::make_shared<tov::Object>()).ToString(); }).number, 13);
  EXPECT_EQ(ErrorOf([] { Variant("x").ToObject(); }).number, 13);
}

TEST(Variant, BooleansAndNumbersConvertBothWays) {
  EXPECT_EQ(Variant(true).ToString(), "True");
  EXPECT_EQ(Variant(false).ToString(), "False");
  EXPECT_EQ(Variant(true).ToLong(), -1);
  EXPECT_EQ(Variant(false).ToDouble(), 0.0);
  EXPECT_EQ(Variant(12.5).ToString(), "12.5");
  EXPECT_EQ(Variant(0.1).ToString(), "0.1");
  EXPECT_EQ(Variant(3.0).ToString(), "3");
  EXPECT_EQ(Variant(Variant(1.0 / 3.0).ToString()).ToDouble(), 1.0 / 3.0);
  EXPECT_EQ(ErrorOf([] { Variant(3e10).ToLong(); }).number, 6);
}

TEST(Variant, EmptyConvertsToZeroFalseAndEmptyText) {
  Variant v;
  EXPECT_TRUE(v.IsEmpty());
  EXPECT_FALSE(v.ToBool());
  EXPECT_EQ(v.ToLong(), 0);
  EXPECT_EQ(v.ToString(), "");
  EXPECT_EQ(v.ToObject(), nullptr);
}

TEST(Variant, NumbersKeepTheirPointUnderACommaDecimalLocale) {
  tov::testing::CommaLocale german;
  if (!german.Active()) GTEST_SKIP() << german.SkipMessage();
  EXPECT_DOUBLE_EQ(Variant("0.4").ToDouble(), 0.4);
  EXPECT_DOUBLE_EQ(Variant(" -12.5e2 ").ToDouble(), -1250.0);
  EXPECT_EQ(Variant("+7").ToLong(), 7);
  EXPECT_EQ(Variant(0.4).ToString(), "0.4");
  EXPECT_EQ(Variant(1.0 / 3.0).ToString(), "0.3333333333333333");
  EXPECT_EQ(Variant(2.5e20).ToString(), "2.5e+20");
  EXPECT_EQ(Variant(Variant(0.1 + 0.2).ToString()).ToDouble(), 0.1 + 0.2);
  EXPECT_EQ(ErrorOf([] { Variant("0,4").ToDouble(); }).number, 13);
  EXPECT_EQ(ErrorOf([] { Variant("+-1").ToDouble(); }).number, 13);
  EXPECT_TRUE(Variant("0.5").ToBool());
}
