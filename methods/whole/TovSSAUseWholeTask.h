#pragma once
#include "framework/TovSSAMethodTask.h"

namespace tov {

// The study area is the whole main layer of the method: the task only asks
// for a name.
class TovSSAUseWholeTask : public TovSSAMethodTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSAUseWholeTask";
  TovSSAUseWholeTask();

protected:
  int32_t RunPages() override;
  // Only a missing function keeps the parameters back: the function itself
  // refuses what else is missing.
  bool FunctionInputsMissing() override;
  void PassParameters() override;
};

} // namespace tov
