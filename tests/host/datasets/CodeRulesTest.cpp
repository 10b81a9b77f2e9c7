// The code rules a new data set's ZIP method gets from its codes, checked by
// the method's own parser.
#include "host/datasets/CodeRules.h"
#include "methods/zipcodes/ZipCodeRules.h"

#include <gtest/gtest.h>

#include <tuple>

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

// checkValidity, numeric and valueLength of the rules.
std::tuple<bool, bool, int32_t> Checks(const CodeRules& r) { return {r.checkValidity, r.numeric, r.valueLength}; }

TEST(CodeRulesTest, FiveDigitCodesAreCheckedAsTheSampleDoes) {
  const CodeRules rules = InferCodeRules({"10001", "10002", "02134", "", "99950"});
  EXPECT_EQ(Checks(rules), std::make_tuple(true, true, 5));
  EXPECT_EQ(rules.prefixLeastLength, 2);
  EXPECT_EQ(rules.validExample, "Valid: 02134, 10001; 021*");
  EXPECT_EQ(Parse(rules, rules.validExample.substr(7)), "02134 10001 021%");
  for (const auto& [text, refusal] :
       {std::pair{"1000", "refused 184"}, {"1*", "refused 181"}, {"10A01", "refused 183"}})
    EXPECT_EQ(Parse(rules, text), refusal) << text;
}

// Letters in codes of one length are checked as characters; codes of several
// lengths are not checked, so that none is refused; what the user sets wins.
TEST(CodeRulesTest, LettersSeveralLengthsAndTheUsersChoices) {
  CodeRuleChoices choices;
  choices.checkValidity = true;
  choices.valueLength = 4;
  const struct {
    CodeRules rules;
    std::tuple<bool, bool, int32_t> checks;
    std::vector<std::pair<const char*, const char*>> parsed;
  } cases[] = {
      {InferCodeRules({"H2X", "H3A", "K1A", "M5V"}), {true, false, 3},
       {{"H2X, h3a; H*", "H2X h3a H%"}, {"H2XY", "refused 191"}}},
      // Of several lengths, the most common.
      {InferCodeRules({"LS1", "LS2", "LS10", "LS11", "M1", "SW1A"}), {false, false, 4},
       {{"LS1, LS1*, LS10 M1;SW1A", "LS1 LS1% LS10 M1 SW1A"}, {"LS*1", "refused 185"}}},
      {InferCodeRules({"LS1", "LS10"}, choices), {true, false, 4},
       {{"LS10, LS1*", "LS10 LS1%"}, {"LS1", "refused 191"}}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Checks(c.rules), c.checks) << c.rules.rulesText;
    for (const auto& [text, parsed] : c.parsed) EXPECT_EQ(Parse(c.rules, text), parsed) << text;
  }
  EXPECT_NE(cases[1].rules.rulesText.find("* or %"), std::string::npos);
}

} // namespace
} // namespace tov
