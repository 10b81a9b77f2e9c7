#pragma once
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/HostApplication.h"
#include "platform/gis/Map.h"

#include <cstdint>
#include <string>

namespace tov {

// The first top-level layer whose name matches without regard to case, as a
// feature layer; no object when none matches (group layers are not searched).
FeatureLayerPtr GetLayerByNameFromMap(const std::string& name, const MapPtr& map);

// Selected polygon features plus selected polygon graphics of the focus map.
// A failing host call passes to the caller.
int32_t CountSelectedPolygons(const HostApplicationPtr& application);

// "The new study area will be created from:" and one line per polygon layer
// with a selection, then the selected graphic polygons; "" on a failure.
std::string GetSelectionSummary(const HostApplicationPtr& application);

} // namespace tov
