#pragma once
#include <string>

namespace tov {

// The turns (JSON text) that play Study Area Setup for one creation method:
// the chooser with the method picked by its caption and Next, the method's
// own page turns (a JSON list), then the name page with the name typed and
// Next.
std::string SetupMethodTurns(const std::string& caption, const std::string& pageTurns, const std::string& name);

} // namespace tov
