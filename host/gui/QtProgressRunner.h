#pragma once
#include "platform/framework/ProgressRunner.h"

#include <functional>
#include <string>

namespace tov {

// Runs a function while a busy progress dialog shows the message, with a
// Cancel button. The window stays responsive between the function's steps
// and inside long work that asks whether it was given up (WorkCancelled, as
// the union of many shapes does). Cancel stops the function between two
// steps, never inside one: a step that stores a study area runs to its end.
class QtProgressRunner : public ProgressRunner {
public:
  void Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
           const std::string& animationPath, int64_t ownerWindow) override;
};

// Any long work the window runs (making a data set, ...) with the same
// dialog: work() may ask WorkCancelled() and stop. True when it was not
// cancelled.
bool RunWithProgress(const std::string& title, const std::string& message, const std::function<void()>& work);

} // namespace tov
