#pragma once

namespace tov {

// Registers the ZIP code method: its task and function under their ProgIDs and
// its record (descriptor name, task, how its first page picks).
void RegisterZipCodesClasses();

} // namespace tov
