#pragma once
#include <string>

namespace tov {

// A short text that changes whenever the text does (64-bit FNV-1a and the
// length): to tell contents apart, never to keep them secret.
std::string TextDigest(const std::string& text);

} // namespace tov
