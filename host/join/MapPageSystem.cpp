#include "host/join/MapPageSystem.h"

#include "host/framework/MethodDescriptor.h"
#include "platform/framework/DataAccessService.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/framework/TaskLayer.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/FeatureClass.h"
#include "store/Settings.h"

namespace tov {

SpatialReferencePtr MapPageSystem(const DataManagerPtr& dataManager, const HostApplicationPtr& application,
                                  const std::string& datasetName, const std::string& methodName) {
  HostDatasetPtr dataset = dataManager ? dataManager->DataSetByName(datasetName) : nullptr;
  TaskDescriptorPtr method = FindMethodDescriptor(dataset, methodName);
  if (!method || method->LayerCount() == 0) return nullptr;
  DataSetLayerPtr layer = dataset->LayerByName(method->Layer(0)->Name());
  TovExtensionPtr extension = GetTovExtension(application);
  DataAccessServicePtr access = extension ? extension->GetDataAccessService() : nullptr;
  FeatureClassPtr featureClass =
      layer && access ? access->OpenFeatureClass(layer->SourceName(), dataset->DataSetPath()) : nullptr;
  return featureClass ? featureClass->SpatialReference() : nullptr;
}

} // namespace tov
