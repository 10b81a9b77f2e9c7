#include "host/gui/RegisterHostGuiClasses.h"

#include "host/gui/QtProgressRunner.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

void RegisterHostGuiClasses() { RegisterClassOf<QtProgressRunner>(kProgressRunnerProgId); }

} // namespace tov
