#include "platform/runtime/Variant.h"

#include "CommaLocale.h"
#include "Errors.h"

#include <gtest/gtest.h>

using tov::test::ErrorOf;
using tov::Variant;

TEST(Variant, TextToBooleanAcceptsTheWordsInAnyCaseAndNumbers) {
  for (const auto& [text, value] :
       {std::pair{"True", true}, {"False", false}, {" true ", true}, {" 12.5 ", true}, {"0", false}})
    EXPECT_EQ(Variant(text).ToBool(), value) << text;
  for (const char* text : {"abc", ""}) EXPECT_EQ(ErrorOf([&] { Variant(text).ToBool(); }).number, 13) << text;
}

TEST(Variant, TextToNumbersAllowsBlanksTrailingPointAndExponent) {
  EXPECT_DOUBLE_EQ(Variant(" 12.5 ").ToDouble(), 12.5);
  // Halves round to even.
  for (const auto& [text, value] : {std::pair{" 12.5 ", 12}, {"13.5", 14}, {"12.", 12}, {"1e3", 1000}})
    EXPECT_EQ(Variant(text).ToLong(), value) << text;
  EXPECT_DOUBLE_EQ(Variant("1e3").ToDouble(), 1000.0);
}

TEST(Variant, NonNumbersAreTypeMismatches) {
  for (const char* text : {"abc", "", "True", "False", "0x10", "1,5"}) {
    EXPECT_EQ(ErrorOf([&] { Variant(text).ToLong(); }).number, 13) << text;
    EXPECT_EQ(ErrorOf([&] { Variant(text).ToDouble(); }).number, 13) << text;
  }
  EXPECT_EQ(ErrorOf([] { Variant(std::make_shared<tov::Object>()).ToString(); }).number, 13);
  EXPECT_EQ(ErrorOf([] { Variant("x").ToObject(); }).number, 13);
}

TEST(Variant, BooleansNumbersAndEmptyConvertBothWays) {
  EXPECT_EQ(Variant(true).ToString() + Variant(false).ToString(), "TrueFalse");
  EXPECT_EQ(Variant(true).ToLong(), -1);
  EXPECT_EQ(Variant(false).ToDouble(), 0.0);
  for (const auto& [number, text] : {std::pair{12.5, "12.5"}, {0.1, "0.1"}, {3.0, "3"}})
    EXPECT_EQ(Variant(number).ToString(), text);
  EXPECT_EQ(Variant(Variant(1.0 / 3.0).ToString()).ToDouble(), 1.0 / 3.0);
  EXPECT_EQ(ErrorOf([] { Variant(3e10).ToLong(); }).number, 6);
  // Empty converts to zero, false and empty text.
  Variant v;
  EXPECT_TRUE(v.IsEmpty() && !v.ToBool() && v.ToLong() == 0 && v.ToString().empty() && !v.ToObject());
}

TEST(Variant, NumbersKeepTheirPointUnderACommaDecimalLocale) {
  tov::testing::CommaLocale german;
  if (!german.Active()) GTEST_SKIP() << german.SkipMessage();
  EXPECT_DOUBLE_EQ(Variant("0.4").ToDouble(), 0.4);
  EXPECT_DOUBLE_EQ(Variant(" -12.5e2 ").ToDouble(), -1250.0);
  EXPECT_EQ(Variant("+7").ToLong(), 7);
  for (const auto& [number, text] : {std::pair{0.4, "0.4"}, {1.0 / 3.0, "0.3333333333333333"}, {2.5e20, "2.5e+20"}})
    EXPECT_EQ(Variant(number).ToString(), text);
  EXPECT_EQ(Variant(Variant(0.1 + 0.2).ToString()).ToDouble(), 0.1 + 0.2);
  for (const char* text : {"0,4", "+-1"}) EXPECT_EQ(ErrorOf([&] { Variant(text).ToDouble(); }).number, 13) << text;
  EXPECT_TRUE(Variant("0.5").ToBool());
}
