#include "host/framework/HostNameChecker.h"

#include "host/framework/UnicodeNames.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdio>
#include <vector>

namespace tov {
namespace {

std::vector<UChar32> CodePoints(const std::string& utf8) {
  std::vector<UChar32> points;
  const auto* s = reinterpret_cast<const uint8_t*>(utf8.data());
  const int32_t length = static_cast<int32_t>(utf8.size());
  for (int32_t i = 0; i < length;) {
    UChar32 c = 0;
    U8_NEXT(s, i, length, c);
    points.push_back(c);
  }
  return points;
}

// "U+200B ZERO WIDTH SPACE", so that an invisible character can be found.
std::string Describe(UChar32 c) {
  char code[16];
  std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
  char name[128] = {};
  UErrorCode status = U_ZERO_ERROR;
  u_charName(c, U_UNICODE_CHAR_NAME, name, sizeof name, &status);
  return U_SUCCESS(status) && name[0] ? std::string(code) + " " + name : std::string(code);
}

bool IsBlank(UChar32 c) { return c == 0x85 || u_charType(c) == U_SPACE_SEPARATOR; }

// Characters that show nothing or break the line: controls, formatting
// characters (zero width space, direction marks) and line or paragraph
// separators.
const char* InvisibleKind(UChar32 c) {
  switch (u_charType(c)) {
  case U_CONTROL_CHAR: return "a control character";
  case U_FORMAT_CHAR: return "an invisible formatting character";
  case U_LINE_SEPARATOR: return "a line separator";
  case U_PARAGRAPH_SEPARATOR: return "a paragraph separator";
  default: return nullptr;
  }
}

} // namespace

std::string HostNameChecker::Check(const std::string& typed) {
  if (typed.empty()) return "The name is empty. Type a name for the study area.";
  if (!IsValidUtf8(typed))
    return "The name is not valid text: it holds bytes that are not UTF-8 characters. Type the name again.";
  const std::string name = NfcName(typed);
  const std::vector<UChar32> points = CodePoints(name);
  if (points.front() == ' ' || points.back() == ' ')
    return "The name begins or ends with a blank. Remove the blanks around the name.";
  for (UChar32 c : {points.front(), points.back()})
    if (IsBlank(c))
      return "The name begins or ends with a blank (" + Describe(c) + "). Remove the blanks around the name.";
  for (UChar32 c : points) {
    if (c < 32 || c == 127)
      return "The name contains a control character such as a tab or a line break. Use only visible characters.";
    if (const char* kind = InvisibleKind(c))
      return "The name contains " + std::string(kind) + " (" + Describe(c) +
             "), which cannot be seen. Use only visible characters.";
    if (c < 128 && std::string("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string::npos)
      return std::string("The name contains the character ") + static_cast<char>(c) +
             ", which is not allowed. Do not use any of \\ / : * ? \" < > |.";
  }
  if (points.size() > kMaxLength)
    return "The name has " + std::to_string(points.size()) + " characters. Use at most " + std::to_string(kMaxLength) +
           " characters.";
  return std::string();
}

bool HostNameChecker::Test(const std::string& name) {
  m_reason = Check(name);
  return !m_reason.empty();
}

} // namespace tov
