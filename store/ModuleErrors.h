#pragma once
#include "platform/runtime/Trap.h"

namespace tov {

// Module path of the study area store.
constexpr char kTovSSAUtilsModule[] = "TovSSA\\TovSSAUtils";

// The failure site of a procedure module: one error handler per module,
// created on first use ("Debug" True, "Module Name" "SSA", as every class
// sets its own). When the host has no error handler the site reports nowhere.
const ErrorSite& ModuleErrorSite(const char* modulePath);

// Creates and sets up a new "TovKernel.TovErrorHandler" for a class.
ErrorReporterPtr CreateErrorHandler();

} // namespace tov
