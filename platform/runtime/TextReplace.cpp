#include "platform/runtime/TextReplace.h"

namespace tov {

std::string ReplaceAll(const std::string& text, const std::string& from, const std::string& to) {
  if (from.empty()) return text;
  std::string result;
  result.reserve(text.size());
  size_t done = 0;
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, done)) {
    result.append(text, done, at - done);
    result += to;
    done = at + from.size();
  }
  result.append(text, done, std::string::npos);
  return result;
}

} // namespace tov
