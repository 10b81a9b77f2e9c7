#pragma once
#include "platform/runtime/ProgIds.h"
#include "platform/framework/ITovFunction.h"
#include "platform/runtime/Object.h"

#include <cstdint>
#include <string>

namespace tov {

// Runs a function while a progress window (or terminal line) shows the message.
class ProgressRunner : public virtual Object {
public:
  // Calls function->Start() once, then DoStep() until it returns False.
  // animationPath may be ""; ownerWindow 0 means no owner.
  virtual void Run(const ITovFunctionPtr& function, const std::string& title,
                   const std::string& message, const std::string& animationPath,
                   int64_t ownerWindow) = 0;
};

using ProgressRunnerPtr = std::shared_ptr<ProgressRunner>;

} // namespace tov
