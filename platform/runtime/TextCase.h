#pragma once
#include <string>

namespace tov {

// Case folding of keys, ProgIDs, control and layer names. ASCII letters only:
// every name that is compared without regard to case is an identifier, and a
// byte-wise fold never splits a UTF-8 sequence.
std::string LowerCase(std::string text);
std::string UpperCase(std::string text);
bool EqualsIgnoreCase(const std::string& a, const std::string& b);

} // namespace tov
