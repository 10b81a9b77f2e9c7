#pragma once

namespace tov {

// Registers the current-extent method's task and function under their ProgIDs.
void RegisterCurExtentClasses();

} // namespace tov
