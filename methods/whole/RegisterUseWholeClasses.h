#pragma once

namespace tov {

// Registers the whole layer method's task and function under their ProgIDs.
void RegisterUseWholeClasses();

} // namespace tov
