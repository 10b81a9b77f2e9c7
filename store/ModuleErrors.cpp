#include "store/ModuleErrors.h"

#include "platform/framework/ErrorHandler.h"
#include "platform/runtime/ObjectRegistry.h"

#include <map>
#include <string>

namespace tov {

ErrorReporterPtr CreateErrorHandler() {
  try {
    auto handler = CreateAs<ErrorHandler>(kErrorHandlerProgId);
    handler->SetProperty("Debug", true);
    handler->SetProperty("Module Name", "SSA");
    return handler;
  } catch (const HostError&) {
    return nullptr;
  }
}

const ErrorSite& ModuleErrorSite(const char* modulePath) {
  static std::map<std::string, ErrorSite> sites;
  ErrorSite& site = sites[modulePath];
  if (!site.handler) {
    site.handler = CreateErrorHandler();
    site.modulePath = modulePath;
  }
  return site;
}

} // namespace tov
