#include "platform/framework/MethodTaskLookup.h"

namespace tov {

namespace {
MethodTaskLookup& Lookup() {
  static MethodTaskLookup lookup;
  return lookup;
}
} // namespace

void SetMethodTaskLookup(MethodTaskLookup lookup) { Lookup() = std::move(lookup); }

std::string MethodTaskProgIdFor(const std::string& descriptorName) {
  return Lookup() ? Lookup()(descriptorName) : std::string();
}

} // namespace tov
