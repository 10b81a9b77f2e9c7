#pragma once

namespace tov {

// Registers the main setup task, the one the host starts for Study Area
// Setup, under its ProgID.
void RegisterSetupClasses();

} // namespace tov
