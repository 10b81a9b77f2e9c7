#pragma once

namespace tov {

// Registers the simple ring method: its task and function under their ProgIDs and
// its record (descriptor name, task, how its first page picks).
void RegisterSimpleRingClasses();

} // namespace tov
