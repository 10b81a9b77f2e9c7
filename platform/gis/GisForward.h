#pragma once
#include <memory>

namespace tov {

// Forward declarations of the GIS object model, so that headers that only
// pass objects around need not include each other.
#define TOV_GIS_FORWARD(X) class X; using X##Ptr = std::shared_ptr<X>;
TOV_GIS_FORWARD(ActiveView)
TOV_GIS_FORWARD(AnnotationProperties)
TOV_GIS_FORWARD(Envelope)
TOV_GIS_FORWARD(EnumElement)
TOV_GIS_FORWARD(EnumFeature)
TOV_GIS_FORWARD(EnumLayer)
TOV_GIS_FORWARD(Feature)
TOV_GIS_FORWARD(FeatureClass)
TOV_GIS_FORWARD(FeatureCursor)
TOV_GIS_FORWARD(FeatureLayer)
TOV_GIS_FORWARD(Field)
TOV_GIS_FORWARD(Fields)
TOV_GIS_FORWARD(FileSystemObject)
TOV_GIS_FORWARD(FillSymbol)
TOV_GIS_FORWARD(Geometry)
TOV_GIS_FORWARD(GeometryDef)
TOV_GIS_FORWARD(GeometryEnumerator)
TOV_GIS_FORWARD(GraphicElement)
TOV_GIS_FORWARD(GroupLayer)
TOV_GIS_FORWARD(HostApplication)
TOV_GIS_FORWARD(Index)
TOV_GIS_FORWARD(LabelClass)
TOV_GIS_FORWARD(Layer)
TOV_GIS_FORWARD(LayerFile)
TOV_GIS_FORWARD(LineSymbol)
TOV_GIS_FORWARD(Map)
TOV_GIS_FORWARD(MapControl)
TOV_GIS_FORWARD(MapDocument)
TOV_GIS_FORWARD(MarkerSymbol)
TOV_GIS_FORWARD(Point)
TOV_GIS_FORWARD(Polygon)
TOV_GIS_FORWARD(Polyline)
TOV_GIS_FORWARD(QueryFilter)
TOV_GIS_FORWARD(RgbColor)
TOV_GIS_FORWARD(ScratchWorkspaceFactory)
TOV_GIS_FORWARD(SelectionEnvironment)
TOV_GIS_FORWARD(SelectionSet)
TOV_GIS_FORWARD(SimpleRenderer)
TOV_GIS_FORWARD(SpatialFilter)
TOV_GIS_FORWARD(SpatialReference)
TOV_GIS_FORWARD(SpatialReferenceFactory)
TOV_GIS_FORWARD(Symbol)
TOV_GIS_FORWARD(TextSymbol)
TOV_GIS_FORWARD(Workspace)
TOV_GIS_FORWARD(WorkspaceFactory)
#undef TOV_GIS_FORWARD

// The geometry enumerator under its other common name.
using EnumGeometry = GeometryEnumerator;
using EnumGeometryPtr = GeometryEnumeratorPtr;

} // namespace tov
