#pragma once
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Map.h"

#include <string>

namespace tov {

// The first top-level group layer named exactly so (case matters); nested
// groups are not searched. No object when there is none.
GroupLayerPtr GetGroupLayerByName(const MapPtr& map, const std::string& name);

// Makes the group's last child its first; the others keep their order.
void MoveLastLayerToTop(const GroupLayerPtr& group);

} // namespace tov
