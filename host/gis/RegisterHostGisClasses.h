#pragma once

namespace tov {

// Prepares the GIS libraries (once) and registers the creatable GIS classes
// under their ProgIDs: "orvaCore.Point", "orvaCore.Envelope",
// "orvaCore.Polyline", "orvaCore.Polygon", "orvaCore.GeometryEnumerator",
// "orvaCore.SpatialReferenceEnvironment", "orvaCore.QueryFilter",
// "orvaCore.SpatialFilter", "orvaCore.Field", "orvaCore.Fields",
// "orvaCore.GeometryDef", "orvaCore.Index", "orvaCore.ShapefileWorkspaceFactory",
// "orvaCore.AccessWorkspaceFactory", "orvaCore.ScratchWorkspaceFactory",
// "orvaCore.FeatureLayer", "orvaCore.GroupLayer", "orvaCore.LayerFile",
// "orvaCore.SimpleRenderer", "orvaCore.SimpleFillSymbol",
// "orvaCore.SimpleLineSymbol", "orvaCore.SimpleMarkerSymbol",
// "orvaCore.TextSymbol", "orvaCore.RgbColor", "orvaCore.SelectionEnvironment",
// "orvaCore.GraphicElement", "orvaCore.Map" and "Scripting.FileSystemObject".
void RegisterHostGisClasses();

// The library set-up alone (error handlers, configuration); called by
// RegisterHostGisClasses and safe to call again.
void InitHostGis();

} // namespace tov
