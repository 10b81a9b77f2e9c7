#include "methods/curextent/TovSSACurExtentTask.h"

#include "platform/runtime/ProgIds.h"

namespace tov {

TovSSACurExtentTask::TovSSACurExtentTask() : TovSSAMethodTask(kModulePath, kCurExtentFunctionProgId) {}

int32_t TovSSACurExtentTask::RunPages() { return ShowSelectSANameDialog(); }

} // namespace tov
