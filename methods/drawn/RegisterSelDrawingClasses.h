#pragma once

namespace tov {

// Registers the drawn area method's task and function under their ProgIDs.
void RegisterSelDrawingClasses();

} // namespace tov
