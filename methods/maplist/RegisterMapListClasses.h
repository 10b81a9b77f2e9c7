#pragma once

namespace tov {

// Registers the map list method: its task and function under their ProgIDs and
// its record (descriptor name, task, how its first page picks).
void RegisterMapListClasses();

} // namespace tov
