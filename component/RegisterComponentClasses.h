#pragma once

namespace tov {

// Registers every creatable class of the study area setup component under
// its ProgID: each method folder, the management dialogs and the main setup
// task register their own classes, and this calls them all.
void RegisterComponentClasses();

} // namespace tov
