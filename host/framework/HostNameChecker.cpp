#include "host/framework/HostNameChecker.h"

namespace tov {
namespace {
size_t CountCharacters(const std::string& utf8) {
  size_t n = 0;
  for (unsigned char c : utf8)
    if ((c & 0xC0) != 0x80) ++n; // count lead bytes only
  return n;
}
} // namespace

std::string HostNameChecker::Check(const std::string& name) {
  if (name.empty()) return "The name is empty. Type a name for the study area.";
  if (name.front() == ' ' || name.back() == ' ')
    return "The name begins or ends with a blank. Remove the blanks around the name.";
  for (unsigned char c : name) {
    if (c < 32 || c == 127)
      return "The name contains a control character such as a tab or a line break. Use only visible characters.";
    if (std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos)
      return std::string("The name contains the character ") + static_cast<char>(c) +
             ", which is not allowed. Do not use any of \\ / : * ? \" < > |.";
  }
  size_t length = CountCharacters(name);
  if (length > kMaxLength)
    return "The name has " + std::to_string(length) + " characters. Use at most " + std::to_string(kMaxLength) +
           " characters.";
  return std::string();
}

bool HostNameChecker::Test(const std::string& name) {
  m_reason = Check(name);
  return !m_reason.empty();
}

} // namespace tov
