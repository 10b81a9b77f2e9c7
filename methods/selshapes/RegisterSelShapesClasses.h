#pragma once

namespace tov {

// Registers the selected shapes method: its task and function under their ProgIDs and
// its record (descriptor name, task, how its first page picks).
void RegisterSelShapesClasses();

} // namespace tov
