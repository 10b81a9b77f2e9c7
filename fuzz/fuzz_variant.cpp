// Variant text conversions: every text either converts or is refused with
// type mismatch (13) or overflow (6), and what converts is written back and
// read again to the same value. Numbers from the input's bytes take the
// opposite way: value to text and back.
#include "FuzzSupport.h"

#include "platform/runtime/TextCase.h"
#include "platform/runtime/Variant.h"

#include <cmath>
#include <cstring>

using namespace tov;
using namespace tov::fuzz;

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }

std::string Trimmed(const std::string& s) {
  size_t b = 0, e = s.size();
  while (b < e && IsBlank(s[b])) ++b;
  while (e > b && IsBlank(s[e - 1])) --e;
  return s.substr(b, e - b);
}

bool SameDouble(double a, double b) { return a == b && std::signbit(a) == std::signbit(b); }

// A value's text reads back as the same value, as a double and as a Long.
void CheckValueText(const Variant& value, double expected) {
  const std::string text = value.ToString();
  Require(!text.empty(), "a number was written as an empty text");
  double back = 0;
  try {
    back = Variant(text).ToDouble();
  } catch (const HostError& e) {
    Fail("the text \"" + text + "\" of a number is not read back: " + e.Description());
  }
  Require(SameDouble(back, expected), "\"" + text + "\" reads back as another number");
  // Rounding the value or its text to a Long gives the same answer.
  long direct = 0, viaText = 0;
  long directError = 0, viaTextError = 0;
  try {
    direct = value.ToLong();
  } catch (const HostError& e) {
    CheckRefusal(e, "ToLong");
    directError = e.Number();
  }
  try {
    viaText = Variant(text).ToLong();
  } catch (const HostError& e) {
    CheckRefusal(e, "ToLong");
    viaTextError = e.Number();
  }
  Require(directError == viaTextError && direct == viaText, "a number and its text round to different Longs");
  Require(directError == 0 || directError == err::Overflow, "a finite number is refused as a Long other than by overflow");
}

void CheckText(const std::string& text) {
  const Variant v(text);
  Require(v.ToString() == text, "a text does not stay itself");

  bool isNumber = false;
  double d = 0;
  try {
    d = v.ToDouble();
    isNumber = true;
  } catch (const HostError& e) {
    CheckRefusal(e, "ToDouble");
    Require(e.Number() == err::TypeMismatch, "ToDouble refused with " + std::to_string(e.Number()));
  }
  if (isNumber) {
    Require(std::isfinite(d), "\"" + text + "\" reads as a number that is not finite");
    CheckValueText(Variant(d), d);
  }

  try {
    const int32_t n = v.ToLong();
    Require(isNumber, "\"" + text + "\" is a Long but not a double");
    Require(static_cast<double>(n) == std::nearbyint(d), "ToLong does not round ToDouble half to even");
    Require(Variant(Variant(n).ToString()).ToLong() == n, "a Long's text reads back as another Long");
  } catch (const HostError& e) {
    CheckRefusal(e, "ToLong");
    if (isNumber)
      Require(e.Number() == err::Overflow && std::fabs(d) > 2147483647.0, "a number in range refused as a Long");
    else
      Require(e.Number() == err::TypeMismatch, "ToLong refused a non-number with " + std::to_string(e.Number()));
  }

  const std::string word = Trimmed(text);
  const bool isWord = EqualsIgnoreCase(word, "True") || EqualsIgnoreCase(word, "False");
  try {
    const bool b = v.ToBool();
    Require(isNumber || isWord, "\"" + text + "\" is a Boolean but neither a word nor a number");
    if (isWord) Require(b == EqualsIgnoreCase(word, "True"), "True and False are read the wrong way round");
    if (isNumber) Require(b == (d != 0.0), "a number's Boolean is not whether it is non-zero");
    const std::string written = Variant(b).ToString();
    Require(written == (b ? "True" : "False"), "a Boolean is written as \"" + written + "\"");
    Require(Variant(written).ToBool() == b, "a Boolean's text reads back as the other one");
  } catch (const HostError& e) {
    CheckRefusal(e, "ToBool");
    Require(!isNumber && !isWord, "\"" + text + "\" is refused as a Boolean");
    Require(e.Number() == err::TypeMismatch, "ToBool refused with " + std::to_string(e.Number()));
  }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  CheckText(Text(data, size));

  // The same bytes as a double, a single and a Long.
  if (size >= sizeof(double)) {
    double d;
    std::memcpy(&d, data, sizeof d);
    if (std::isfinite(d)) CheckValueText(Variant(d), d);
  }
  if (size >= sizeof(float)) {
    float f;
    std::memcpy(&f, data, sizeof f);
    if (std::isfinite(f)) CheckValueText(Variant(f), static_cast<double>(f));
    int32_t n;
    std::memcpy(&n, data, sizeof n);
    CheckValueText(Variant(n), n);
  }
  return 0;
}
