#pragma once
#include "platform/framework/DataManager.h"
#include "platform/gis/HostApplication.h"
#include "platform/gis/SpatialReference.h"

#include <string>

namespace tov {

// The system of a Study Area Setup method's map page: that of its bottom
// layer, the method's first task layer, as the page's map takes it. The
// command line puts longitude and latitude into it before it clicks or
// draws there. Null when the data set lacks the method or the layer does not
// open.
SpatialReferencePtr MapPageSystem(const DataManagerPtr& dataManager, const HostApplicationPtr& application,
                                  const std::string& datasetName, const std::string& methodName);

} // namespace tov
