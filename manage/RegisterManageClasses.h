#pragma once

namespace tov {

// Registers the open and delete functions under their ProgIDs.
void RegisterManageClasses();

} // namespace tov
