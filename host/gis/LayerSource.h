#pragma once
#include "host/gis/HostWorkspace.h"
#include "host/gis/StrictJson.h"
#include "platform/gis/GisForward.h"

#include <string>

namespace tov {

class HostFeatureLayer;

// Where a layer's data is, as a layer file or the map document says it:
// the absolute path it was saved with and, when it was saved with an
// anchor folder, the path relative to that folder, which is tried first so
// that a moved folder still opens.
struct LayerSource {
  WorkspaceKind kind = WorkspaceKind::Shapefile;
  std::string format, dataset, path, relativePath;
  bool hasRelativePath = false;
};

// Reads a layer's "source" member; anything but what a save writes raises
// JsonFormatError.
LayerSource ReadLayerSource(const JsonValue& s, const JsonWhere& where);
// The data, or no object when it cannot be found or opened.
FeatureClassPtr OpenLayerSource(const LayerSource& source, const std::string& nativeAnchor);
// The layer's data is opened from `source` when it is first needed; without
// a saved symbol (`defaultSymbol`) the layer then takes its shape type's.
void SetLayerDataToOpen(HostFeatureLayer& layer, const LayerSource& source, const std::string& nativeAnchor,
                        bool defaultSymbol);

} // namespace tov
