#pragma once
#include "host/framework/GeoPackageDataAccess.h"
#include "host/framework/JsonDataset.h"
#include "platform/gis/GisForward.h"

#include <vector>

namespace tov {

// Puts the reference layers of a data set into the focus map of a new
// analysis, drawn with the data set's reference symbols, with their scale
// ranges and labels, and shows the data set's initial extent (else the full
// extent). The first reference layer listed ends on top. The map takes the
// data set's analysis coordinate system, or the first layer's when the data
// set has no usable one.
void AddReferenceLayers(const MapDocumentPtr& document, JsonDataset& dataset, GeoPackageDataAccess& access);

// The reference layers of a data set as map layers, in the order listed
// (the first goes on top), symbols, scale ranges and labels applied.
std::vector<FeatureLayerPtr> MakeReferenceLayers(JsonDataset& dataset, GeoPackageDataAccess& access);

// Shows the data set's initial extent (longitude and latitude) in the map's
// system, else the full extent.
void ShowInitialExtent(const MapPtr& map, const JsonDataset& dataset);

// The data set's analysis coordinate system ("Projections" >
// "Projection.ResultantDefault": "Type" "Projected" or "Geographic", "ID" an
// EPSG code), or no object when the node is missing or unusable.
SpatialReferencePtr AnalysisSystemOf(JsonDataset& dataset);

// Gives a feature layer its scale range and, with a label field, one label
// class for it in its own scale range ("LabelSize", "LabelRGBColor" and
// "LabelTransparency" of keys style the text).
void ApplyLayerDisplay(const FeatureLayerPtr& layer, const LayerDisplay& display, const JsonDataset::SymbolKeys& keys);

// Applies symbol keys ("SymbolStyle", "FillRGBColor", "OutLineWidth", ...)
// to a feature layer's simple renderer by the layer's shape type. Unknown
// or empty values leave the symbol's defaults.
void ApplySymbolKeys(const FeatureLayerPtr& layer, const JsonDataset::SymbolKeys& keys);

} // namespace tov
