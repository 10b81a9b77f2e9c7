#pragma once
#include <string>

namespace tov {

// Names as people type them are Unicode text; two names that look the same
// must be the same name. Names are kept in normalisation form C.

// The name in NFC; text that is not valid UTF-8 comes back unchanged (it
// matches no stored name, and the name checker refuses it).
std::string NfcName(const std::string& utf8);

// True when the text is well-formed UTF-8.
bool IsValidUtf8(const std::string& text);

} // namespace tov
