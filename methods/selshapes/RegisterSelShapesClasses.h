#pragma once

namespace tov {

// Registers the selected shapes method's task and function under their ProgIDs.
void RegisterSelShapesClasses();

} // namespace tov
