#include "host/join/DrawnAreaRebuilder.h"

#include "host/framework/MethodDescriptor.h"
#include "host/join/MethodTaskStart.h"
#include "methods/drawn/TovSSASelDrawingTask.h"
#include "pages/WizardPage.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ProgIds.h"
#include "store/StudyAreaDataset.h"

namespace tov {

namespace {

constexpr char kSource[] = "Study Area Properties";

// The feature the study area is stored as; no object when its data is gone.
FeaturePtr StoredArea(const StudyAreaRecordPtr& record) {
  FeatureLayerPtr layer = OpenLayerFileLayer(record->FilePath());
  FeatureClassPtr areas = layer ? layer->FeatureClass() : nullptr;
  return areas ? areas->Search(nullptr, false)->NextFeature() : nullptr;
}

} // namespace

std::string DrawnAreaRebuilder::FunctionProgId() const { return kSelDrawingFunctionProgId; }

bool DrawnAreaRebuilder::Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
                              const HostApplicationPtr& application) {
  HostDatasetPtr dataset = dataManager->DataSetByName(record->BaseDataSet());
  TaskDescriptorPtr method = FindMethodDescriptor(dataset, kDrawnAreaMethod);
  if (!method)
    throw HostError(err::InvalidCall, kSource, "The data set offers no drawn area method any more.");

  auto task = StartMethodTask<TovSSASelDrawingTask>(
      kSelDrawingTaskProgId, method, dataset, dataManager, application, kSource,
      "The drawn area method is not installed.", "The drawn area method cannot use its settings (see the error log).");
  if (task->DrawAgain(StoredArea(record)) != kPagesAccepted) return false;
  m_feature = task->Feature();
  return true;
}

void DrawnAreaRebuilder::PassParameters(ITovFunction& function) {
  Variant feature(m_feature);
  function.SetParam("Feature", feature);
}

void RegisterDrawnAreaRebuilder() {
  RegisterStudyAreaRebuilder(kDrawnAreaMethod, [] { return std::make_unique<DrawnAreaRebuilder>(); });
}

} // namespace tov
