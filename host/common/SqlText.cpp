#include "host/common/SqlText.h"

namespace tov {

namespace {
std::string Quoted(const std::string& text, char quote) {
  std::string q(1, quote);
  for (char c : text) {
    if (c == quote) q += quote;
    q += c;
  }
  return q + quote;
}
} // namespace

std::string SqlIdentifier(const std::string& name) { return Quoted(name, '"'); }
std::string SqlLiteral(const std::string& text) { return Quoted(text, '\''); }

} // namespace tov
