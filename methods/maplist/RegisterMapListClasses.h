#pragma once

namespace tov {

// Registers the map list method's task and function under their ProgIDs.
void RegisterMapListClasses();

} // namespace tov
