#pragma once
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// Tests study area names against the host's naming rules.
class NameChecker : public virtual Object {
public:
  // True when the name is refused; Reason() then says why in a sentence.
  virtual bool Test(const std::string& name) = 0;
  // Why the last tested name was refused; "" after an accepted name.
  virtual std::string Reason() = 0;
};

using NameCheckerPtr = std::shared_ptr<NameChecker>;

} // namespace tov
