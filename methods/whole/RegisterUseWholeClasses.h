#pragma once

namespace tov {

// Registers the whole layer method: its task and function under their ProgIDs and
// its record (descriptor name, task, how its first page picks).
void RegisterUseWholeClasses();

} // namespace tov
