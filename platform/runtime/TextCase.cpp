#include "platform/runtime/TextCase.h"

namespace tov {

namespace {
char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
char Upper(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }
} // namespace

std::string LowerCase(std::string text) {
  for (char& c : text) c = Lower(c);
  return text;
}

std::string UpperCase(std::string text) {
  for (char& c : text) c = Upper(c);
  return text;
}

bool EqualsIgnoreCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (Lower(a[i]) != Lower(b[i])) return false;
  return true;
}

} // namespace tov
