#include "methods/curextent/TovSSACurExtentTask.h"

#include "methods/curextent/TovSSACurExtentFunction.h"

namespace tov {

TovSSACurExtentTask::TovSSACurExtentTask() : TovSSAMethodTask(kModulePath, kCurExtentFunctionProgId) {}

int32_t TovSSACurExtentTask::RunPages() { return ShowSelectSANameDialog(); }

} // namespace tov
