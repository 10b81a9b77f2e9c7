#pragma once

namespace tov {

// Registers the current-extent method: its task and function under their ProgIDs and
// its record (descriptor name, task, how its first page picks).
void RegisterCurExtentClasses();

} // namespace tov
