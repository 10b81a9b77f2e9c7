#pragma once
#include <string>
#include <vector>

namespace tov {

// The comma-separated text of the gazetteer and of one's own places files:
// fields quoted with double quotes, a quote inside doubled.

// The fields of one line; false when a quote is left open.
bool SplitCsvLine(const std::string& line, std::vector<std::string>& fields);

// A field as written, quoted when it holds a separator, a quote or a line break.
std::string CsvField(const std::string& text);

} // namespace tov
