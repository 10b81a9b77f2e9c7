#pragma once
#include "host/framework/Analysis.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/Map.h"

#include <string>

namespace tov {

// The map made ready for a run as a user makes it before starting Study
// Area Setup: the part shown, features selected by a condition, polygons
// drawn as graphics. The command line and the window share these.

// The focus map of the analysis's document.
MapPtr FocusMapOf(const Analysis& analysis);

// Shows the envelope, in the map's coordinates, in the map.
void ShowExtent(const MapPtr& map, const EnvelopePtr& envelope);

// A feature layer of the map by name, inside group layers too (names
// compared without regard to case); no object when there is none.
FeatureLayerPtr FindFeatureLayer(Map& map, const std::string& name);

// Adds the features of the layer that pass the where clause to the
// selection; a clause the layer refuses raises its HostError.
void SelectFeaturesWhere(FeatureLayer& layer, const std::string& where);

// How many features of the map are selected.
long SelectedFeatureCount(Map& map);

// Adds the polygon (in the map's coordinates) as a graphic, hollow with a
// blue outline as drawn graphics are, and selects it when select.
GraphicElementPtr AddPolygonGraphic(Map& map, const GeometryPtr& polygon, bool select);

} // namespace tov
