#include "host/join/DrawnAreaRebuilder.h"

#include "methods/drawn/SelectByDrawingOwnAreaDialog.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/StudyAreaDataset.h"

namespace tov {

namespace {

constexpr char kDrawnMethod[] = "SetupStudyArea.DrawOwn";

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
  TaskDescriptorPtr setup = dataset ? dataset->TaskByName("SetupStudyArea") : nullptr;
  TaskDescriptorPtr method = setup ? setup->ChildByName(kDrawnMethod) : nullptr;
  if (!method)
    throw HostError(err::InvalidCall, "Study Area Properties", "The data set offers no drawn area method any more.");

  // The page starts as after a visit: the stored shape, the map around it.
  auto state = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
  if (FeaturePtr stored = StoredArea(record)) {
    state->SetProperty("OwnArea", Variant(stored));
    EnvelopePtr around = stored->Extent();
    if (around && !around->IsEmpty()) {
      around->Expand(SelectByDrawingOwnAreaDialog::kZoomRatio, SelectByDrawingOwnAreaDialog::kZoomRatio, true);
      state->SetProperty("MapEnvelope", Variant(around));
    }
  }

  auto page = std::make_shared<SelectByDrawingOwnAreaDialog>();
  page->m_pApplication = application;
  page->m_pDataManager = dataManager;
  page->m_pDataSet = dataset;
  page->m_pSSATask = method;
  page->ReadFromPropertySet(state);
  page->InitializeDialog();
  page->ResetParams();
  page->ShowModal();
  const bool accepted = page->m_Result == kPageNext;
  if (accepted) m_feature = page->m_pFeature;
  page->Unload();
  return accepted;
}

void DrawnAreaRebuilder::PassParameters(ITovFunction& function) {
  Variant feature(m_feature);
  function.SetParam("Feature", feature);
}

void RegisterDrawnAreaRebuilder() {
  RegisterStudyAreaRebuilder(kDrawnMethod, [] { return std::make_unique<DrawnAreaRebuilder>(); });
}

} // namespace tov
