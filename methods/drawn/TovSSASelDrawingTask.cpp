#include "methods/drawn/TovSSASelDrawingTask.h"

#include "methods/drawn/SelectByDrawingOwnAreaDialog.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

TovSSASelDrawingTask::TovSSASelDrawingTask() : TovSSAMethodTask(kModulePath, kSelDrawingFunctionProgId) {}

int32_t TovSSASelDrawingTask::RunPages() { return ShowSelectByDrawingOwnAreaDialog(); }

int32_t TovSSASelDrawingTask::ShowSelectByDrawingOwnAreaDialog() {
  // A failure ends the run as Cancel would: no half-made area goes on
  // (see docs/departures.md).
  return Trap(m_errors, "ShowSelectByDrawingOwnAreaDialog ", kPageCancel, [&] {
    auto page = std::make_shared<SelectByDrawingOwnAreaDialog>();
    page->m_pDataManager = m_pDataManager;
    page->m_pApplication = m_pApplication;
    page->m_pSSATask = m_pSSATask;
    page->m_pDataSet = m_pDataSet;
    const int32_t result = RunPage(page, [&] { return ShowNamePageUnlessKept(); }, PageEnd::KeepLoaded);
    m_pFeature = page->m_pFeature;
    page->Unload();
    return result;
  });
}

int32_t TovSSASelDrawingTask::DrawAgain(const FeaturePtr& stored) {
  if (!pPropertySet) pPropertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
  if (stored) {
    pPropertySet->SetProperty("OwnArea", Variant(stored));
    EnvelopePtr around = stored->Extent();
    if (around && !around->IsEmpty()) {
      around->Expand(SelectByDrawingOwnAreaDialog::kZoomRatio, SelectByDrawingOwnAreaDialog::kZoomRatio, true);
      pPropertySet->SetProperty("MapEnvelope", Variant(around));
    }
  }
  return RunPagesKeepingName();
}

bool TovSSASelDrawingTask::FunctionInputsMissing() { return !m_function; }

void TovSSASelDrawingTask::PassParameters() {
  PassObject("Application", m_pApplication);
  PassObject("DataManager", m_pDataManager);
  PassValue("StudyAreaName", m_sSAName);
  PassObject("Feature", m_pFeature);
  PassObject("DataSet", m_pDataSet);
  PassObject("SSATask", m_pSSATask);
  PassValue("FromPropertyPage", false);
}

} // namespace tov
