// ZipCodesToCollection with its four rule values from the first four bytes
// and the list from the rest. A list gives all its codes or none: either
// exactly the codes a plain split finds, each obeying the rules, with no
// refusal, or no object and one refusal (none when the list holds no code).
#include "FuzzSupport.h"

#include "methods/zipcodes/ZipCodeRules.h"

#include <vector>

using namespace tov;
using namespace tov::fuzz;

namespace {

// Any report from the trap is a finding: a text alone cannot make it fail.
class FailingReporter : public ErrorReporter {
public:
  void ReportError(const std::string& location, long number, const std::string&,
                   const std::string& description) override {
    Fail("reported at " + location + ": " + std::to_string(number) + " " + description);
  }
};

bool IsSeparator(char c) { return c == ' ' || c == ',' || c == ';'; }
bool IsContinuationByte(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The codes as a user reads the list: CR LF is a blank, "*" is "%", runs of
// blanks, commas and semicolons separate.
std::vector<std::string> SplitCodes(const std::string& text) {
  std::string t;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
      t += ' ';
      ++i;
    } else {
      t += text[i] == '*' ? '%' : text[i];
    }
  }
  std::vector<std::string> codes;
  std::string code;
  for (char c : t + " ") {
    if (!IsSeparator(c)) {
      code += c;
    } else if (!code.empty()) {
      codes.push_back(code);
      code.clear();
    }
  }
  return codes;
}

long CharacterCount(const std::string& s) {
  long n = 0;
  for (char c : s)
    if (!IsContinuationByte(c)) ++n;
  return n;
}

void CheckCode(const std::string& code, bool checkValidity, bool numericZips, int32_t valueLength,
               int32_t prefixLeastLength) {
  const size_t wildcard = code.find('%');
  Require(wildcard == std::string::npos || wildcard == code.size() - 1, "\"%\" inside an accepted code");
  if (!checkValidity) return;
  const std::string body = wildcard == std::string::npos ? code : code.substr(0, wildcard);
  // A stray continuation byte belongs to the character before it, as it
  // does for the parser; in UTF-8 that character is never a digit.
  if (numericZips)
    for (char c : body)
      if (!IsContinuationByte(c)) Require(c >= '0' && c <= '9', "a letter in an accepted numeric code");
  const long length = CharacterCount(code);
  if (wildcard == std::string::npos) {
    Require(length == valueLength, "an accepted code of the wrong length");
  } else {
    Require(length <= valueLength, "an accepted prefix longer than a code");
    Require(length > prefixLeastLength, "an accepted prefix shorter than the least prefix");
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 4) return 0;
  bool checkValidity = data[0] & 1;
  bool numericZips = data[1] & 1;
  // Small lengths, negatives included, so that the rules bite.
  int32_t valueLength = static_cast<int8_t>(data[2]) % 12;
  int32_t prefixLeastLength = static_cast<int8_t>(data[3]) % 12;
  const std::string text = Text(data + 4, size - 4);
  const bool checkGiven = checkValidity, numericGiven = numericZips;
  const int32_t lengthGiven = valueLength, prefixGiven = prefixLeastLength;

  std::vector<ZipRefusal> refusals;
  ErrorSite errors{std::make_shared<FailingReporter>(), "fuzz"};
  CollectionPtr codes = ZipCodesToCollection(
      text, checkValidity, numericZips, valueLength, prefixLeastLength,
      [&](const ZipRefusal& r) { refusals.push_back(r); }, errors);

  const std::vector<std::string> expected = SplitCodes(text);
  for (const auto& r : refusals) Require(!r.messageId.empty(), "a refusal without a message");
  if (!codes) {
    if (expected.empty()) Require(refusals.empty(), "a list without codes was refused");
    else Require(refusals.size() == 1, "a refused list gave " + std::to_string(refusals.size()) + " refusals");
    return 0;
  }
  Require(refusals.empty(), "a list was refused and still gave codes");
  Require(codes->Count() == static_cast<long>(expected.size()), "the codes are not the ones typed");
  for (long i = 1; i <= codes->Count(); ++i) {
    const std::string code = codes->Item(i).ToString();
    Require(code == expected[static_cast<size_t>(i - 1)], "code " + std::to_string(i) + " is not the one typed");
    CheckCode(code, checkGiven, numericGiven, lengthGiven, prefixGiven);
  }
  if (!checkGiven)
    Require(!numericZips && prefixLeastLength == 0 && valueLength == 1000, "unchecked values were not widened");
  else
    Require(checkValidity && numericZips == numericGiven && valueLength == lengthGiven &&
                prefixLeastLength == prefixGiven,
            "checked values were changed");
  return 0;
}
