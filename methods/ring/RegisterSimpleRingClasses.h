#pragma once

namespace tov {

// Registers the simple ring method's task and function under their ProgIDs.
void RegisterSimpleRingClasses();

} // namespace tov
