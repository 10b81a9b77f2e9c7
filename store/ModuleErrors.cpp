#include "store/ModuleErrors.h"

#include "platform/framework/ErrorHandler.h"
#include "platform/runtime/ObjectRegistry.h"

#include <map>
#include <mutex>
#include <string>

namespace tov {

ErrorSite CreateErrorSite(const char* modulePath) {
  ErrorSite site{nullptr, modulePath};
  try {
    auto handler = CreateAs<ErrorHandler>(kErrorHandlerProgId);
    site.handler = handler;
    handler->SetProperty("Debug", true);
    handler->SetProperty("Module Name", "SSA");
  } catch (...) {
    ReportFailure(site, "Class_Initialize ", PendingError(std::current_exception()));
  }
  return site;
}

ErrorSite ModuleErrorSite(const char* modulePath) {
  struct Cached {
    ErrorSite site;
    uint64_t generation = 0;
  };
  static std::mutex lock;
  static std::map<std::string, Cached> sites;
  const uint64_t generation = RegistryGeneration();
  {
    std::lock_guard<std::mutex> guard(lock);
    auto it = sites.find(modulePath);
    if (it != sites.end() && it->second.generation == generation) return it->second.site;
  }
  // Created outside the lock: setting up the handler may report, and a report
  // may come back here.
  ErrorSite site = CreateErrorSite(modulePath);
  std::lock_guard<std::mutex> guard(lock);
  sites[modulePath] = Cached{site, generation};
  return site;
}

} // namespace tov
