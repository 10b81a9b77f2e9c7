#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tov {

// The rules the ZIP method checks typed codes against, for a data set's own
// codes: its descriptor keys "CheckZipsValidity", "NumericZips",
// "ValueLength", "NumericPrefixLeastLength" and the texts the code page
// shows ("ZipCodeRules", "ValidExampleText", "InvalidExampleText").
struct CodeRules {
  bool checkValidity = true;
  bool numeric = true;
  int valueLength = 5;
  int prefixLeastLength = 2;
  std::string rulesText, validExample, invalidExample;
};

// What the user set; unset values are inferred.
struct CodeRuleChoices {
  std::optional<bool> checkValidity, numeric;
  std::optional<int> valueLength;
};

// Infers the rules from the codes (blank codes ignored): the most common
// length, numeric when every code is digits only, checked when every code
// has that length (else a rule would refuse codes the data holds: "LS1"
// beside "LS10"). The texts use the codes themselves as examples.
CodeRules InferCodeRules(const std::vector<std::string>& codes, const CodeRuleChoices& choices = CodeRuleChoices());

// Length in characters (UTF-8), as the rules count.
int CodeLength(const std::string& code);

} // namespace tov
