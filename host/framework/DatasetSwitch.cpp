#include "host/framework/DatasetSwitch.h"

#include "host/framework/ReferenceLayers.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/SpatialReference.h"
#include "platform/runtime/HostError.h"

namespace tov {

void SwitchDataset(Analysis& analysis, const std::string& name) {
  auto next = std::dynamic_pointer_cast<JsonDataset>(analysis.dataManager->DataSetByName(name));
  if (!next) {
    std::string names;
    for (const auto& ds : analysis.dataManager->DataSets()) names += (names.empty() ? "" : ", ") + ds->Name();
    throw HostError(err::InvalidCall, "Analysis",
                    "There is no data set named \"" + name + "\". Installed data sets: " + names + ".");
  }
  const std::string previous = analysis.extension->CurrentDatasetName();
  analysis.extension->SetCurrentDatasetName(name);
  MapPtr map = analysis.application->Document()->FocusMap();
  // The old data set's reference layers are the top-level layers of their names.
  if (auto old = std::dynamic_pointer_cast<JsonDataset>(analysis.dataManager->DataSetByName(previous)))
    for (const auto& entry : old->Layers()) {
      if (!entry->IsReference()) continue;
      for (long i = map->LayerCount() - 1; i >= 0; --i) {
        LayerPtr layer = map->Layer(i);
        if (std::dynamic_pointer_cast<FeatureLayer>(layer) && layer->Name() == entry->MapLayerName()) {
          map->DeleteLayer(layer);
          break;
        }
      }
    }
  if (SpatialReferencePtr system = AnalysisSystemOf(*next)) map->SetSpatialReference(system);
  for (const FeatureLayerPtr& layer : MakeReferenceLayers(*next, *analysis.extension->DataAccess()))
    map->InsertLayer(layer, map->LayerCount());
  ShowInitialExtent(map, *next);
  SaveAnalysis(analysis);
}

JsonDatasetPtr InstallDataset(Analysis& analysis, const std::string& nativeFolder) {
  JsonDatasetPtr dataset = JsonDataset::Load(nativeFolder);
  analysis.dataManager->AddDataSet(dataset);
  analysis.extension->DataAccess()->AddDataset(dataset);
  return dataset;
}

} // namespace tov
