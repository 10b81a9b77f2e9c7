#pragma once
#include "host/framework/Analysis.h"

#include <ostream>
#include <string>

namespace tov {

// What a ZIP code list would take, before anything is made: the list is
// checked by the ZIP code method's own rules (the descriptor's values, the
// same messages); each code or prefix is then counted in the current data
// set's ZIP areas by one query through the method's own where clause, so
// the count is what the study area would take. Prints one line per code and
// a total on `out`, a refusal on `err`; false when the list is refused.
// Kept out of the command so the benchmarks can run it in-process.
bool PreviewZipCodes(const Analysis& analysis, const std::string& text, std::ostream& out, std::ostream& err);

} // namespace tov
