#pragma once
#include "framework/TovSSAMethodTask.h"

namespace tov {

// The study area is the map's visible extent: the task only asks for a name.
class TovSSACurExtentTask : public TovSSAMethodTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSACurExtentTask";
  TovSSACurExtentTask();

protected:
  int32_t RunPages() override;
};

} // namespace tov
