#pragma once

namespace tov {

// Registers the host's study area property sheet task
// ("TovSSAPropertySheet.TovSSAPSTask") and the rebuilders of the methods
// that need nothing from the component to ask for new input.
void RegisterHostStudyAreaClasses();

} // namespace tov
