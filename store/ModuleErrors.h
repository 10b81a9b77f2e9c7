#pragma once
#include "platform/runtime/Trap.h"

namespace tov {

// Module path of the study area store.
constexpr char kTovSSAUtilsModule[] = "TovSSA\\TovSSAUtils";

// The failure site of a class: a new "TovKernel.TovErrorHandler" with "Debug"
// True and "Module Name" "SSA", and the class's module path. When the handler
// is created but cannot be set up, that failure is reported through it under
// "Class_Initialize " and the handler is kept; when none can be created the
// site reports nowhere.
ErrorSite CreateErrorSite(const char* modulePath);

// The failure site of a procedure module: one handler per module, set up as
// a class's, created on first use and again whenever a class was registered
// since (so an injected handler class takes effect at once).
ErrorSite ModuleErrorSite(const char* modulePath);

} // namespace tov
