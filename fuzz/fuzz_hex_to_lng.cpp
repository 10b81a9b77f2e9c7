// HexToLng: any text gives the value of its trailing hexadecimal digits (an
// optional "0x" dropped), read until the first other character from the
// right; when they do not fit 32 bits, the value of those that did.
#include "FuzzSupport.h"

#include "store/StrUtils.h"

#include <cctype>
#include <cstdint>

using namespace tov;
using namespace tov::fuzz;

namespace {

// The same reading in 64 bits, stopping where 32 bits would overflow.
int32_t Expected(std::string text) {
  if (text.rfind("0x", 0) == 0) text.erase(0, 2);
  int64_t value = 0, weight = 1;
  for (auto it = text.rbegin(); it != text.rend(); ++it) {
    if (!std::isxdigit(static_cast<unsigned char>(*it))) break;
    const int64_t digit = std::isdigit(static_cast<unsigned char>(*it)) ? *it - '0' : std::tolower(*it) - 'a' + 10;
    if (value + digit * weight > INT32_MAX) break;
    value += digit * weight;
    weight *= 16;
    if (weight > INT32_MAX) break;
  }
  return static_cast<int32_t>(value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text = Text(data, size);
  const int32_t value = HexToLng(text);
  Require(value >= 0, "a negative colour value");
  Require(value == Expected(text), "the value differs from the digits read");
  return 0;
}
