#pragma once

namespace tov {

// Registers the drawn area method: its task and function under their ProgIDs and
// its record (descriptor name, task, how its first page picks).
void RegisterSelDrawingClasses();

} // namespace tov
