// The ZIP list rules on their own: separators, the wildcard, lengths, the
// refusal messages and the all-or-nothing result.
#include "Prelude.h"

#include "host/framework/SimplePropertyList.h"
#include "methods/zipcodes/ZipCodeRules.h"

namespace tov::test {
namespace {

struct Parsed {
  std::vector<std::string> codes; // empty when no collection came back
  bool none = true;
  std::vector<ZipRefusal> refusals;
  ZipRuleValues after;
};

Parsed Parse(const std::string& text, ZipRuleValues rules = {}) {
  Parsed parsed;
  CollectionPtr codes = ZipCodesToCollection(text, rules.checkValidity, rules.numericZips, rules.valueLength,
                                             rules.prefixLeastLength,
                                             [&](const ZipRefusal& r) { parsed.refusals.push_back(r); });
  parsed.none = !codes;
  if (codes)
    for (const Variant& code : *codes) parsed.codes.push_back(code.ToString());
  parsed.after = rules;
  return parsed;
}

using Codes = std::vector<std::string>;

TEST(ZipCodeRules, CodesAreAcceptedInOrderWithDuplicatesBetweenRunsOfSeparators) {
  const std::pair<const char*, Codes> cases[] = {
      {"12345", {"12345"}},
      {"12% 123% 1234%", {"12%", "123%", "1234%"}},
      {"123* 12345 12345", {"123%", "12345", "12345"}},
      // Blanks, commas, semicolons and line breaks, in runs of any length.
      {"12345, 23456;34567", {"12345", "23456", "34567"}},
      {" ;12345,,  ;23456; ", {"12345", "23456"}},
      {"12345\r\n23456\r\n", {"12345", "23456"}}};
  for (const auto& [text, codes] : cases) EXPECT_EQ(Parse(text).codes, codes) << text;
}

TEST(ZipCodeRules, EachBrokenRuleHasItsMessageAndNumberWord) {
  ZipRuleValues lettersAllowed;
  lettersAllowed.numericZips = false;
  ZipRuleValues longer;
  longer.valueLength = 12;
  struct Case {
    const char* text;
    ZipRuleValues rules;
    const char* id;
    const char* word;
  } cases[] = {
      // A tab or a lone line break is refused like any other non-digit.
      {"12345\t23456", {}, "183", ""}, {"12345\n23456", {}, "183", ""}, {"12345\r23456", {}, "183", ""},
      {"12a45", {}, "183", ""},
      {"%", {}, "181", "two"},        {"1%", {}, "181", "two"},      {"1%", lettersAllowed, "190", "two"},
      {"1234", {}, "184", "five"},    {"123456", {}, "184", "five"}, {"12345%", {}, "184", "five"},
      {"abcd", lettersAllowed, "191", "five"}, {"1234", longer, "184", "more then ten"},
      {"12%3", {}, "185", ""},        {"12%%", {}, "185", ""},
  };
  for (const Case& c : cases) {
    Parsed parsed = Parse(c.text, c.rules);
    EXPECT_TRUE(parsed.none) << c.text;
    ASSERT_EQ(parsed.refusals.size(), 1u) << c.text;
    EXPECT_EQ(parsed.refusals[0].messageId, c.id) << c.text;
    EXPECT_EQ(parsed.refusals[0].numberWord, c.word) << c.text;
  }
}

TEST(ZipCodeRules, ARefusalAfterGoodCodesLeavesNoCodeAtAll) {
  Parsed parsed = Parse("12345, 23456 12a45 34567");
  EXPECT_TRUE(parsed.none);
  EXPECT_EQ(parsed.refusals.size(), 1u);

  // On its own, the refused call empties the collection it was given.
  auto codes = std::make_shared<Collection>();
  std::string text = "12345 1234 ";
  ZipRuleValues r;
  EXPECT_TRUE(GetNextZip(text, codes, r.checkValidity, r.numericZips, r.valueLength, r.prefixLeastLength, nullptr));
  EXPECT_EQ(text, "1234 ");
  EXPECT_FALSE(GetNextZip(text, codes, r.checkValidity, r.numericZips, r.valueLength, r.prefixLeastLength, nullptr));
  EXPECT_EQ(codes->Count(), 0);
}

TEST(ZipCodeRules, WithCheckingOffOnlyTheWildcardMustEndItsCode) {
  ZipRuleValues off;
  off.checkValidity = false;
  Parsed parsed = Parse("% 1% a 123456789012 é1234%", off);
  EXPECT_EQ(parsed.codes, (Codes{"%", "1%", "a", "123456789012", "é1234%"}));
  EXPECT_FALSE(parsed.after.numericZips);
  EXPECT_EQ(parsed.after.prefixLeastLength, 0);
  EXPECT_EQ(parsed.after.valueLength, 1000);

  parsed = Parse("ab%c", off);
  ASSERT_EQ(parsed.refusals.size(), 1u);
  EXPECT_EQ(parsed.refusals[0].messageId, "185");
}

TEST(ZipCodeRules, LengthsCountCharactersNotBytes) {
  ZipRuleValues letters;
  letters.numericZips = false;
  EXPECT_EQ(Parse("é1234 ab1é%", letters).codes, (Codes{"é1234", "ab1é%"}));
  EXPECT_EQ(Parse("é%", letters).refusals.at(0).messageId, "190");
}

TEST(ZipCodeRules, SettingsAreReadWithTheirDefaults) {
  auto settings = std::make_shared<SimplePropertyList>();
  ZipRuleValues values = ReadZipRuleValues(*settings);
  EXPECT_TRUE(values.checkValidity);
  EXPECT_TRUE(values.numericZips);
  EXPECT_EQ(values.valueLength, 5);
  EXPECT_EQ(values.prefixLeastLength, 2);

  settings->SetValue("CheckZipsValidity", "false");
  settings->SetValue("NumericZips", "False");
  settings->SetValue("ValueLength", "five");
  settings->SetValue("NumericPrefixLeastLength", " 3 ");
  values = ReadZipRuleValues(*settings);
  EXPECT_TRUE(values.checkValidity);
  EXPECT_FALSE(values.numericZips);
  EXPECT_EQ(values.valueLength, 5);
  EXPECT_EQ(values.prefixLeastLength, 3);
}

} // namespace
} // namespace tov::test
