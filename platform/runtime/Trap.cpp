#include "platform/runtime/Trap.h"

#include "platform/forms/MsgBox.h"

namespace tov {

void ReportFailure(const ErrorSite& site, const char* procedure, const HostError& e) {
  if (!site.handler) return;
  try {
    site.handler->ReportError(std::string(procedure) + site.modulePath, e.Number(), e.Source(), e.Description());
  } catch (...) {
    // A failing report must not turn a handled failure into a crash.
  }
}

HostError PendingError(std::exception_ptr failure) {
  try {
    std::rethrow_exception(failure);
  } catch (const HostError& e) {
    return e;
  } catch (const std::bad_alloc&) {
    return HostError(err::OutOfMemory, "Runtime", "Out of memory");
  } catch (const std::exception& e) {
    return HostError(err::AutomationError, "Runtime", e.what());
  } catch (...) {
    return HostError(err::AutomationError, "Runtime", "Unknown failure");
  }
}

void ShowFailureMessage(const HostError& e) { MsgBox(e.Description(), vbOKOnly); }

} // namespace tov
