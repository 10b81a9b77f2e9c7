#pragma once
#include "host/framework/GeoPackageDataAccess.h"
#include "host/framework/JsonDataset.h"
#include "platform/gis/GisForward.h"

namespace tov {

// Puts the reference layers of a data set into the focus map of a new
// analysis, drawn with the data set's reference symbols, and shows the full
// extent. The first reference layer listed ends on top. The map takes the
// coordinate system of the data.
void AddReferenceLayers(const MapDocumentPtr& document, JsonDataset& dataset, GeoPackageDataAccess& access);

// Applies symbol keys ("SymbolStyle", "FillRGBColor", "OutLineWidth", ...)
// to a feature layer's simple renderer by the layer's shape type. Unknown
// or empty values leave the symbol's defaults.
void ApplySymbolKeys(const FeatureLayerPtr& layer, const JsonDataset::SymbolKeys& keys);

} // namespace tov
