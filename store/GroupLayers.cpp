#include "store/GroupLayers.h"

#include "store/ModuleErrors.h"

namespace tov {

GroupLayerPtr GetGroupLayerByName(const MapPtr& map, const std::string& name) {
  return Trap(ModuleErrorSite(kTovSSAUtilsModule), "GetGroupLayerByName ", GroupLayerPtr(), [&]() -> GroupLayerPtr {
    Must(map, "the map");
    for (long i = 0; i < map->LayerCount(); ++i) {
      GroupLayerPtr group = As<GroupLayer>(map->Layer(i));
      if (group && group->Name() == name) return group;
    }
    return nullptr;
  });
}

void MoveLastLayerToTop(const GroupLayerPtr& group) {
  Trap(ModuleErrorSite(kTovSSAUtilsModule), "MoveLastLayerToTop ", [&] {
    const long count = Must(group, "the group layer")->Count();
    // Adding appends at the end, so cycling the first c - 1 children brings
    // the last one to the front.
    for (long i = 0; i < count - 1; ++i) {
      LayerPtr first = group->Layer(0);
      group->Delete(first);
      group->Add(first);
    }
  });
}

} // namespace tov
