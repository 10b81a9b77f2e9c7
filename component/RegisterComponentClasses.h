#pragma once

namespace tov {

// Registers every creatable class of the study area setup component under
// its ProgID: each method folder (and the management dialogs) registers its
// own classes, and this calls them all.
void RegisterComponentClasses();

} // namespace tov
