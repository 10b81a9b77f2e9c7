#include "host/datasets/CodeRules.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace tov {
namespace {
bool AllDigits(const std::string& code) {
  return !code.empty() && std::all_of(code.begin(), code.end(), [](unsigned char c) { return std::isdigit(c); });
}

std::string Word(int n) {
  static const char* const words[] = {"zero", "one", "two", "three", "four", "five",
                                      "six",  "seven", "eight", "nine", "ten"};
  return n >= 0 && n <= 10 ? words[n] : std::to_string(n);
}

// The first n characters of a code (UTF-8).
std::string Head(const std::string& code, int n) {
  size_t b = 0;
  for (int seen = 0; b < code.size(); ++b) {
    if ((static_cast<unsigned char>(code[b]) & 0xC0) == 0x80) continue;
    if (seen++ == n) break;
  }
  return code.substr(0, b);
}
} // namespace

int CodeLength(const std::string& code) {
  int n = 0;
  for (unsigned char c : code)
    if ((c & 0xC0) != 0x80) ++n;
  return n;
}

CodeRules InferCodeRules(const std::vector<std::string>& allCodes, const CodeRuleChoices& choices) {
  std::vector<std::string> codes;
  for (const std::string& c : allCodes)
    if (!c.empty() && c.find_first_not_of(' ') != std::string::npos) codes.push_back(c);
  std::sort(codes.begin(), codes.end());
  codes.erase(std::unique(codes.begin(), codes.end()), codes.end());

  std::map<int, size_t> lengths;
  for (const std::string& c : codes) ++lengths[CodeLength(c)];
  int common = 5;
  size_t most = 0;
  for (const auto& [length, count] : lengths)
    if (count > most) common = length, most = count;

  CodeRules rules;
  rules.valueLength = choices.valueLength.value_or(common);
  rules.numeric = choices.numeric.value_or(!codes.empty() && std::all_of(codes.begin(), codes.end(), AllDigits));
  const bool oneLength = std::all_of(codes.begin(), codes.end(),
                                     [&](const std::string& c) { return CodeLength(c) == rules.valueLength; });
  rules.checkValidity = choices.checkValidity.value_or(oneLength);
  // A prefix must say something: two characters of a long code, one of a short.
  rules.prefixLeastLength = rules.valueLength >= 4 ? 2 : 1;

  const std::string kind = rules.numeric ? "digit" : "character";
  const std::string first = codes.empty() ? std::string(rules.valueLength, '1') : codes.front();
  const std::string second = codes.size() > 1 ? codes[1] : first;
  const std::string prefix = Head(first, std::max(rules.prefixLeastLength, rules.valueLength - 2));
  if (rules.checkValidity) {
    rules.rulesText = "Type " + Word(rules.valueLength) + "-" + kind +
                      " codes separated by blanks, commas or semicolons. End a code of at least " +
                      Word(rules.prefixLeastLength) + " " + kind + (rules.prefixLeastLength == 1 ? "" : "s") +
                      " with * or % to take every code that begins with it.";
    rules.validExample = "Valid: " + first + ", " + second + "; " + prefix + "*";
    std::string invalid = "Not valid: " + Head(first, rules.valueLength - 1);
    if (rules.prefixLeastLength > 1) invalid += ", " + Head(first, 1) + "*";
    if (rules.numeric) invalid += ", " + Head(first, 1) + "A" + first.substr(Head(first, 2).size());
    rules.invalidExample = invalid;
  } else {
    rules.rulesText = "Type the codes separated by blanks, commas or semicolons. End a code with * or % to take every "
                      "code that begins with it.";
    rules.validExample = "Valid: " + first + ", " + second + "; " + Head(first, std::max(1, CodeLength(first) - 1)) + "*";
    rules.invalidExample = "Not valid: " + Head(first, 1) + "*" + first.substr(Head(first, 1).size());
  }
  return rules;
}

} // namespace tov
