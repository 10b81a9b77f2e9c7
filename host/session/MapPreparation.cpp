#include "host/session/MapPreparation.h"

#include "platform/gis/ActiveView.h"
#include "platform/gis/EnumFeature.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/QueryFilter.h"
#include "platform/gis/RgbColor.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

namespace tov {

namespace {
FeatureLayerPtr FindIn(const LayerPtr& layer, const std::string& name) {
  if (!layer) return nullptr;
  if (auto feature = As<FeatureLayer>(layer); feature && EqualsIgnoreCase(layer->Name(), name)) return feature;
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer))
    for (long i = 0; i < group->Count(); ++i)
      if (FeatureLayerPtr found = FindIn(group->Layer(i), name)) return found;
  return nullptr;
}
} // namespace

MapPtr FocusMapOf(const Analysis& analysis) {
  MapDocumentPtr document = Must(analysis.application->Document(), "the document");
  return Must(document->FocusMap(), "the focus map");
}

void ShowExtent(const MapPtr& map, const EnvelopePtr& envelope) {
  envelope->SetSpatialReference(map->SpatialReference());
  Must(As<ActiveView>(map), "the map view")->SetExtent(envelope);
}

FeatureLayerPtr FindFeatureLayer(Map& map, const std::string& name) {
  FeatureLayerPtr layer;
  for (long i = 0; i < map.LayerCount() && !layer; ++i) layer = FindIn(map.Layer(i), name);
  return layer;
}

void SelectFeaturesWhere(FeatureLayer& layer, const std::string& where) {
  auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
  filter->SetWhereClause(where);
  layer.SelectFeatures(filter, selectionAdd, false);
}

long SelectedFeatureCount(Map& map) {
  long count = 0;
  if (EnumFeaturePtr features = map.FeatureSelection()) {
    features->Reset();
    while (features->Next()) ++count;
  }
  return count;
}

GraphicElementPtr AddPolygonGraphic(Map& map, const GeometryPtr& polygon, bool select) {
  auto element = CreateAs<GraphicElement>(kGraphicElementProgId);
  element->SetGeometry(polygon);
  auto fill = CreateAs<FillSymbol>(kSimpleFillSymbolProgId);
  fill->SetStyle(orvaSFSHollow);
  auto outline = CreateAs<LineSymbol>(kSimpleLineSymbolProgId);
  auto colour = CreateAs<RgbColor>(kRgbColorProgId);
  colour->SetRGB(0x0000C0);
  outline->SetColor(colour);
  outline->SetWidth(2);
  fill->SetOutline(outline);
  element->SetSymbol(fill);
  map.AddElement(element);
  if (select) map.SelectElement(element);
  return element;
}

} // namespace tov
