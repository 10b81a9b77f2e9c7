#include "platform/forms/SystemCalls.h"

#include "platform/runtime/HostError.h"

namespace tov {

namespace {
SystemCallsPtr& Current() {
  static SystemCallsPtr calls;
  return calls;
}
} // namespace

void SetSystemCalls(SystemCallsPtr calls) { Current() = std::move(calls); }

SystemCallsPtr GetSystemCalls() {
  if (!Current()) throw HostError(err::ObjectVariableNotSet, "Forms", "The host has not set its system calls");
  return Current();
}

} // namespace tov
