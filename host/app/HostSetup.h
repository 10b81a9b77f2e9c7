#pragma once

namespace tov {

// Registers every creatable class of the host and of the component, once.
void RegisterAllHostClasses();

} // namespace tov
