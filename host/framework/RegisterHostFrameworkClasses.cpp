#include "host/framework/RegisterHostFrameworkClasses.h"

#include "host/framework/Analysis.h"
#include "host/framework/HostNameChecker.h"
#include "host/framework/MemoryTaskPropertySet.h"
#include "host/framework/ResourceComponent.h"
#include "host/framework/TerminalProgressRunner.h"
#include "host/framework/TovErrorHandler.h"
#include "host/framework/TovFileInfo.h"
#include "platform/framework/ErrorHandler.h"
#include "platform/framework/FileInfo.h"
#include "platform/framework/NameChecker.h"
#include "platform/framework/ProgressRunner.h"
#include "platform/framework/ResourceFinder.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/framework/TovExtension.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"

namespace tov {

void RegisterHostFrameworkClasses() {
  RegisterClassOf<TovErrorHandler>(kErrorHandlerProgId);
  RegisterClassOf<TovFileInfo>(kFileInfoProgId);
  RegisterClassOf<HostNameChecker>(kNameCheckerProgId);
  RegisterClassOf<TerminalProgressRunner>(kProgressRunnerProgId);
  RegisterClassOf<MemoryTaskPropertySet>(kTaskPropertySetProgId);
  RegisterClassOf<TextResources>(kTextResourcesProgId);
  RegisterClassOf<GuiResources>(kGuiResourcesProgId);
  RegisterClass(kTovExtensionProgId, []() -> ObjectPtr {
    auto extension = CurrentAnalysisExtension();
    if (!extension)
      throw HostError(err::CannotCreateObject, kTovExtensionProgId,
                      "No analysis is open, so there is no analysis extension. Open an analysis first.");
    return extension;
  });
}

} // namespace tov
