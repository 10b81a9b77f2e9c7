#pragma once
#include <string>

namespace tov {

// Every occurrence of from in text replaced by to, exactly and case-sensitively,
// left to right; what was put in is not searched again. An empty from changes
// nothing. One pass, so a long pasted list costs no more than its length.
std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to);

} // namespace tov
