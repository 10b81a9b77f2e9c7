#pragma once

namespace tov {

// Registers the host's study area property sheet task
// ("TovSSAPropertySheet.TovSSAPSTask").
void RegisterHostStudyAreaClasses();

} // namespace tov
