#pragma once

namespace tov {

// Registers every creatable class of the host (the map control without its
// window, which the GUI adds) and of the component, once.
void RegisterAllHostClasses();

} // namespace tov
