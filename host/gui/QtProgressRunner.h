#pragma once
#include "platform/framework/ProgressRunner.h"

namespace tov {

// Runs a function while a busy progress dialog shows the message; the
// window stays responsive between steps.
class QtProgressRunner : public ProgressRunner {
public:
  void Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
           const std::string& animationPath, int64_t ownerWindow) override;
};

} // namespace tov
