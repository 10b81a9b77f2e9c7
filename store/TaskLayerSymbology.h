#pragma once
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/Variant.h"

#include <string>

namespace tov {

// A map layer of a registered task, for the wizard's own maps: the data-set
// layer the task layer name shows, opened through the data access service,
// named after its map layer name, visible when "Visible" is exactly "True",
// with a simple symbol from the task layer's symbol keys. taskLayers is the
// task descriptor (its layer list), dataSetLayers the data set (its layer
// list); unused is not read. No object when the data set has no such layer
// or its feature class does not open; a failure on the way ends it without
// a report and gives what was made so far.
FeatureLayerPtr CreateTaskLayer(const std::string& name, const TaskDescriptorPtr& taskLayers,
                                const HostDatasetPtr& dataSetLayers, const Variant& unused,
                                const HostApplicationPtr& application, const HostDatasetPtr& dataset);

} // namespace tov
