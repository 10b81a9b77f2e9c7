#include "store/MapQueries.h"

#include "platform/gis/EnumElement.h"
#include "platform/gis/EnumFeature.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/SelectionSet.h"
#include "platform/runtime/TextCase.h"
#include "store/ModuleErrors.h"

namespace tov {

namespace {

MapPtr FocusMapOf(const HostApplicationPtr& application) {
  return Must(Must(Must(application, "the application")->Document(), "the document")->FocusMap(), "the focus map");
}

long SelectedGraphicPolygons(const MapPtr& map) {
  long count = 0;
  if (EnumElementPtr elements = map->SelectedElements()) {
    elements->Reset();
    while (GraphicElementPtr element = elements->Next()) {
      GeometryPtr shape = element->Geometry();
      if (shape && shape->GeometryType() == geometryPolygon) ++count;
    }
  }
  return count;
}

} // namespace

FeatureLayerPtr GetLayerByNameFromMap(const std::string& name, const MapPtr& map) {
  return Trap(ModuleErrorSite(kTovSSAUtilsModule), "GetLayerByNameFromMap ", FeatureLayerPtr(), [&] {
    const std::string wanted = UpperCase(name);
    Must(map, "the map");
    for (long i = 0; i < map->LayerCount(); ++i) {
      LayerPtr layer = map->Layer(i);
      if (layer && UpperCase(layer->Name()) == wanted) {
        FeatureLayerPtr featureLayer = As<FeatureLayer>(layer);
        if (!featureLayer)
          throw HostError(err::TypeMismatch, "TovSSAUtils", "The layer \"" + layer->Name() + "\" is not a feature layer");
        return featureLayer;
      }
    }
    return FeatureLayerPtr();
  });
}

int32_t CountSelectedPolygons(const HostApplicationPtr& application) {
  MapPtr map = FocusMapOf(application);
  long count = 0;
  if (EnumFeaturePtr features = map->FeatureSelection()) {
    features->Reset();
    while (FeaturePtr feature = features->Next()) {
      GeometryPtr shape = feature->Shape();
      if (shape && shape->GeometryType() == geometryPolygon) ++count;
    }
  }
  return static_cast<int32_t>(count + SelectedGraphicPolygons(map));
}

std::string GetSelectionSummary(const HostApplicationPtr& application) {
  try {
    const std::string lineBreak = "\r\n";
    std::string text = "The new study area will be created from:" + lineBreak + lineBreak;
    MapPtr map = FocusMapOf(application);
    EnumLayerPtr layers = Must(map->Layers(true), "the map's layers");
    layers->Reset();
    while (LayerPtr layer = layers->Next()) {
      FeatureLayerPtr featureLayer = As<FeatureLayer>(layer);
      if (!featureLayer) continue;
      // A layer whose data is missing has no shape type: the summary fails.
      FeatureClassPtr featureClass = Must(featureLayer->FeatureClass(), "the feature class of a selected layer");
      if (featureClass->ShapeType() != geometryPolygon) continue;
      SelectionSetPtr selection = featureLayer->SelectionSet();
      const long n = selection ? selection->Count() : 0;
      if (n > 0)
        text += std::to_string(n) + " selected polygon" + (n > 1 ? "s" : "") + " from " + featureLayer->Name() + lineBreak;
    }
    const long m = SelectedGraphicPolygons(map);
    if (m > 0) text += std::to_string(m) + " selected graphic polygon" + (m > 1 ? "s" : "");
    return text;
  } catch (...) {
    return std::string();
  }
}

} // namespace tov
