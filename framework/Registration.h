#pragma once

namespace tov {

// Registers every creatable class of the study area setup component under
// its ProgID.
void RegisterComponentClasses();

} // namespace tov
