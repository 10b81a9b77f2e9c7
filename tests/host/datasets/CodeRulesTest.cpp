// The code rules a new data set's ZIP method gets from its codes, checked by
// the method's own parser.
#include "host/datasets/CodeRules.h"
#include "methods/zipcodes/ZipCodeRules.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

// The codes the ZIP method's parser takes from text under the rules, or
// the refusal's message id.
std::string Parse(const CodeRules& rules, const std::string& text) {
  bool check = rules.checkValidity, numeric = rules.numeric;
  int32_t length = rules.valueLength, prefix = rules.prefixLeastLength;
  std::string refused;
  CollectionPtr codes = ZipCodesToCollection(text, check, numeric, length, prefix,
                                             [&](const ZipRefusal& r) { refused = r.messageId; });
  if (!codes) return "refused " + refused;
  std::string list;
  for (long i = 1; i <= codes->Count(); ++i) list += (i > 1 ? " " : "") + codes->Item(i).ToString();
  return list;
}

TEST(CodeRulesTest, FiveDigitCodesAreCheckedAsTheSampleDoes) {
  const CodeRules rules = InferCodeRules({"10001", "10002", "02134", "", "99950"});
  EXPECT_TRUE(rules.checkValidity);
  EXPECT_TRUE(rules.numeric);
  EXPECT_EQ(rules.valueLength, 5);
  EXPECT_EQ(rules.prefixLeastLength, 2);
  EXPECT_EQ(rules.validExample, "Valid: 02134, 10001; 021*");
  EXPECT_EQ(Parse(rules, rules.validExample.substr(7)), "02134 10001 021%");
  EXPECT_EQ(Parse(rules, "1000"), "refused 184");
  EXPECT_EQ(Parse(rules, "1*"), "refused 181");
  EXPECT_EQ(Parse(rules, "10A01"), "refused 183");
}

TEST(CodeRulesTest, CodesOfOneLengthWithLettersAreCheckedAsCharacters) {
  const CodeRules rules = InferCodeRules({"H2X", "H3A", "K1A", "M5V"});
  EXPECT_TRUE(rules.checkValidity);
  EXPECT_FALSE(rules.numeric);
  EXPECT_EQ(rules.valueLength, 3);
  EXPECT_EQ(Parse(rules, "H2X, h3a; H*"), "H2X h3a H%");
  EXPECT_EQ(Parse(rules, "H2XY"), "refused 191");
}

TEST(CodeRulesTest, CodesOfSeveralLengthsAreNotCheckedSoThatNoneIsRefused) {
  const CodeRules rules = InferCodeRules({"LS1", "LS2", "LS10", "LS11", "M1", "SW1A"});
  EXPECT_FALSE(rules.checkValidity);
  EXPECT_FALSE(rules.numeric);
  EXPECT_EQ(rules.valueLength, 4); // the most common
  EXPECT_EQ(Parse(rules, "LS1, LS1*, LS10 M1;SW1A"), "LS1 LS1% LS10 M1 SW1A");
  EXPECT_EQ(Parse(rules, "LS*1"), "refused 185");
  EXPECT_NE(rules.rulesText.find("* or %"), std::string::npos);
}

TEST(CodeRulesTest, WhatTheUserSetsWinsOverWhatIsInferred) {
  CodeRuleChoices choices;
  choices.checkValidity = true;
  choices.valueLength = 4;
  const CodeRules rules = InferCodeRules({"LS1", "LS10"}, choices);
  EXPECT_TRUE(rules.checkValidity);
  EXPECT_EQ(rules.valueLength, 4);
  EXPECT_EQ(Parse(rules, "LS10, LS1*"), "LS10 LS1%");
  EXPECT_EQ(Parse(rules, "LS1"), "refused 191");
}

} // namespace
} // namespace tov
