#include "methods/selshapes/TovSSACurSelShapesTask.h"

#include "methods/selshapes/SummarySelShapesDialog.h"
#include "platform/runtime/ProgIds.h"
#include "store/MapQueries.h"

namespace tov {

TovSSACurSelShapesTask::TovSSACurSelShapesTask() : TovSSAMethodTask(kModulePath, kCurSelShapesFunctionProgId) {}

int32_t TovSSACurSelShapesTask::RunPages() { return ShowSummarySelShapesDialog(); }

int32_t TovSSACurSelShapesTask::ShowSummarySelShapesDialog() {
  auto page = std::make_shared<SummarySelShapesDialog>();
  page->SetSummary(GetSelectionSummary(m_pApplication));
  return RunPage(page, [this] { return ShowSelectSANameDialog(); });
}

} // namespace tov
