#pragma once
#include <string>

namespace tov {

// Names and texts pasted into SQL statements: every table, column or index
// name is quoted as an identifier and every text as a literal, so a name
// with a quote or an apostrophe stays one name.

// "name" with each " doubled.
std::string SqlIdentifier(const std::string& name);
// 'text' with each ' doubled.
std::string SqlLiteral(const std::string& text);

} // namespace tov
