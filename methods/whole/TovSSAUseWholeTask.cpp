#include "methods/whole/TovSSAUseWholeTask.h"

#include "platform/runtime/ProgIds.h"

namespace tov {

TovSSAUseWholeTask::TovSSAUseWholeTask() : TovSSAMethodTask(kModulePath, kUseWholeFunctionProgId) {}

int32_t TovSSAUseWholeTask::RunPages() { return ShowSelectSANameDialog(); }

bool TovSSAUseWholeTask::FunctionInputsMissing() { return !m_function; }

void TovSSAUseWholeTask::PassParameters() {
  PassObject("Application", m_pApplication);
  PassObject("DataManager", m_pDataManager);
  PassValue("StudyAreaName", m_sSAName);
  PassObject("DataSet", m_pDataSet);
  PassObject("SSATask", m_pSSATask);
  // A new study area: the property sheet passes True when it rebuilds one.
  PassValue("FromPropertyPage", false);
}

} // namespace tov
