#include "host/gui/RegisterHostGuiClasses.h"

#include "host/gui/HostMapControl.h"
#include "host/gui/QtProgressRunner.h"
#include "platform/runtime/ObjectRegistry.h"

namespace tov {

void RegisterHostGuiClasses(bool windowProgress) {
  RegisterClassOf<HostMapControl>("orvaControls.MapControl");
  if (windowProgress) RegisterClassOf<QtProgressRunner>(kProgressRunnerProgId);
}

} // namespace tov
