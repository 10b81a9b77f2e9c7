#include "host/framework/ReferenceLayers.h"

#include "host/gis/HostFeatureLayer.h"
#include "host/gis/HostLabelClass.h"
#include "platform/framework/ConfigNode.h"
#include "platform/framework/PropertyList.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/AnnotationProperties.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/LabelClass.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/MarkerSymbol.h"
#include "platform/gis/RgbColor.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/gis/SpatialReference.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/gis/TextSymbol.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/Variant.h"
#include "platform/runtime/ProgIds.h"

#include <map>

namespace tov {
namespace {
std::string Key(const JsonDataset::SymbolKeys& keys, const char* name) {
  auto it = keys.find(name);
  return it == keys.end() ? std::string() : it->second;
}

bool Number(std::string text, double& value) {
  for (char& c : text)
    if (c == ',') c = '.';
  return !text.empty() && ParseNumber(text, value);
}

// Colour texts are hexadecimal RGB values, first digit most significant.
bool Hex(std::string text, int32_t& value) {
  if (text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) text = text.substr(2);
  if (text.empty() || text.size() > 6) return false;
  try {
    size_t used = 0;
    long v = std::stol(text, &used, 16);
    if (used != text.size()) return false;
    value = static_cast<int32_t>(v);
    return true;
  } catch (...) {
    return false;
  }
}

RgbColorPtr Color(const JsonDataset::SymbolKeys& keys, const char* rgbKey, const char* transparencyKey,
                  const RgbColorPtr& base) {
  std::string rgb = Key(keys, rgbKey), transparency = Key(keys, transparencyKey);
  if (rgb.empty() && transparency.empty()) return nullptr;
  RgbColorPtr color = base ? base->Clone() : CreateAs<RgbColor>(kRgbColorProgId);
  int32_t value = 0;
  if (Hex(rgb, value)) color->SetRGB(value);
  double t = 0;
  if (Number(transparency, t) && t >= 0 && t <= 255) color->SetTransparency(static_cast<uint8_t>(t));
  return color;
}

long Style(const std::string& name, const std::map<std::string, long>& table, long fallback) {
  auto it = table.find(name);
  return it == table.end() ? fallback : it->second;
}

const std::map<std::string, long> kFillStyles = {
    {"orvaSFSSolid", 0}, {"orvaSFSHollow", 1}, {"orvaSFSNull", 1}, {"orvaSFSHorizontal", 2},
    {"orvaSFSVertical", 3}, {"orvaSFSForwardDiagonal", 4}, {"orvaSFSBackwardDiagonal", 5},
    {"orvaSFSCross", 6}, {"orvaSFSDiagonalCross", 7}};
const std::map<std::string, long> kLineStyles = {
    {"orvaSFSSolid", 0}, {"orvaSLSDash", 1}, {"orvaSLSDot", 2}, {"orvaSLSDashDot", 3},
    {"orvaSLSDashDotDot", 4}, {"orvaSLSNull", 5}, {"orvaSLSInsideFrame", 6}};
const std::map<std::string, long> kMarkerStyles = {
    {"orvaSMSCircle", 0}, {"orvaSMSSquare", 1}, {"orvaSMSCross", 2}, {"orvaSMSX", 3}, {"orvaSMSDiamond", 4}};
} // namespace

void ApplySymbolKeys(const FeatureLayerPtr& layer, const JsonDataset::SymbolKeys& keys) {
  if (!layer || keys.empty() || !layer->FeatureClass()) return;
  SimpleRendererPtr renderer = layer->Renderer();
  if (!renderer) return;
  SymbolPtr symbol = renderer->Symbol();
  double number = 0;
  switch (layer->FeatureClass()->ShapeType()) {
  case geometryPolygon:
    if (auto fill = std::dynamic_pointer_cast<FillSymbol>(symbol)) {
      fill->SetStyle(Style(Key(keys, "SymbolStyle"), kFillStyles, fill->Style()));
      if (LineSymbolPtr outline = fill->Outline()) {
        if (Number(Key(keys, "OutLineWidth"), number)) outline->SetWidth(number);
        if (auto c = Color(keys, "OutLineRGBColor", "OutLineTransparency", outline->Color())) outline->SetColor(c);
        fill->SetOutline(outline);
      }
      if (auto c = Color(keys, "FillRGBColor", "FillTransparency", fill->Color())) fill->SetColor(c);
    }
    break;
  case geometryPolyline:
    if (auto line = std::dynamic_pointer_cast<LineSymbol>(symbol)) {
      line->SetStyle(Style(Key(keys, "SymbolStyle"), kLineStyles, line->Style()));
      if (auto c = Color(keys, "SymbolRGBColor", "SymbolTransparency", line->Color())) line->SetColor(c);
      if (Number(Key(keys, "SymbolWidth"), number)) line->SetWidth(number);
    }
    break;
  case geometryPoint:
    if (auto marker = std::dynamic_pointer_cast<MarkerSymbol>(symbol)) {
      marker->SetStyle(Style(Key(keys, "SymbolStyle"), kMarkerStyles, marker->Style()));
      if (auto c = Color(keys, "OutLineRGBColor", "OutLineTransparency", marker->OutlineColor()))
        marker->SetOutlineColor(c);
      if (auto c = Color(keys, "FillRGBColor", "FillTransparency", marker->Color())) marker->SetColor(c);
    }
    break;
  default:
    return;
  }
  renderer->SetSymbol(symbol);
}

SpatialReferencePtr AnalysisSystemOf(JsonDataset& dataset) {
  ConfigNodePtr config = dataset.Configuration();
  ConfigNodePtr projections = config ? config->ChildByName("Projections") : nullptr;
  ConfigNodePtr node = projections ? projections->ChildByName("Projection.ResultantDefault") : nullptr;
  if (!node) return nullptr;
  PropertyListPtr props = node->Properties();
  const std::string type = props->GetValue("Type");
  long code = -1;
  try {
    code = Variant(props->GetValue("ID")).ToLong();
  } catch (const HostError&) {
    return nullptr;
  }
  if (code <= 0 || (type != "Projected" && type != "Geographic")) return nullptr;
  auto factory = CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId);
  try {
    if (type == "Geographic") return factory->CreateGeographicCoordinateSystem(code);
    SpatialReferencePtr sr = factory->CreateProjectedCoordinateSystem(code);
    // Each parameter the projection cannot take keeps its own value.
    const std::pair<const char*, void (SpatialReference::*)(double)> parameters[] = {
        {"CentralMeridian", &SpatialReference::SetCentralMeridian},
        {"StandardParallel1", &SpatialReference::SetStandardParallel1},
        {"StandardParallel2", &SpatialReference::SetStandardParallel2}};
    for (const auto& [key, set] : parameters) {
      double value = 0;
      if (!Number(props->GetValue(key), value)) continue;
      try {
        ((*sr).*set)(value);
      } catch (const HostError&) {
      }
    }
    return sr;
  } catch (const HostError&) {
    return nullptr;
  }
}

void ApplyLayerDisplay(const FeatureLayerPtr& layer, const LayerDisplay& display, const JsonDataset::SymbolKeys& keys) {
  if (auto host = std::dynamic_pointer_cast<HostFeatureLayer>(layer))
    host->SetScaleRange(display.minimumScale, display.maximumScale);
  if (display.labelField.empty()) return;
  AnnotationPropertiesPtr annotation = layer->AnnotationProperties();
  if (!annotation) return;
  annotation->Clear();
  auto labels = std::make_shared<HostLabelClass>();
  labels->SetExpression("[" + display.labelField + "]");
  labels->SetMinimumScale(display.labelMinimumScale);
  labels->SetMaximumScale(display.labelMaximumScale);
  TextSymbolPtr text = labels->TextSymbol();
  double size = 0;
  if (Number(Key(keys, "LabelSize"), size) && size > 0 && size < 100) text->SetSize(size);
  if (auto c = Color(keys, "LabelRGBColor", "LabelTransparency", text->Color())) text->SetColor(c);
  labels->SetTextSymbol(text);
  annotation->Add(labels);
  layer->SetDisplayAnnotation(true);
}

void ShowInitialExtent(const MapPtr& map, const JsonDataset& dataset) {
  auto view = std::dynamic_pointer_cast<ActiveView>(map);
  if (!view) return;
  if (const auto& lonLat = dataset.InitialExtent()) {
    auto extent = CreateAs<Envelope>(kEnvelopeProgId);
    extent->PutCoords((*lonLat)[0], (*lonLat)[1], (*lonLat)[2], (*lonLat)[3]);
    extent->SetSpatialReference(
        CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId)->CreateGeographicCoordinateSystem(4326));
    try {
      view->SetExtent(extent);
      if (!view->Extent()->IsEmpty()) return;
    } catch (const HostError&) {
      // Outside where the map's system is defined: the full extent instead.
    }
  }
  EnvelopePtr full = view->FullExtent();
  if (full && !full->IsEmpty()) view->SetExtent(full);
}

std::vector<FeatureLayerPtr> MakeReferenceLayers(JsonDataset& dataset, GeoPackageDataAccess& access) {
  std::vector<FeatureLayerPtr> made;
  for (const auto& entry : dataset.Layers()) {
    if (!entry->IsReference()) continue;
    FeatureClassPtr featureClass = access.OpenOrFail(entry->SourceName(), dataset.Name());
    auto layer = CreateAs<FeatureLayer>(kFeatureLayerProgId);
    layer->SetFeatureClass(featureClass);
    layer->SetName(entry->MapLayerName());
    layer->SetVisible(true);
    const JsonDataset::SymbolKeys keys = dataset.ReferenceSymbols(entry->Name());
    ApplySymbolKeys(layer, keys);
    ApplyLayerDisplay(layer, entry->Display(), keys);
    made.push_back(layer);
  }
  return made;
}

void AddReferenceLayers(const MapDocumentPtr& document, JsonDataset& dataset, GeoPackageDataAccess& access) {
  MapPtr map = document->FocusMap();
  if (SpatialReferencePtr system = AnalysisSystemOf(dataset)) map->SetSpatialReference(system);
  const std::vector<FeatureLayerPtr> layers = MakeReferenceLayers(dataset, access);
  // AddLayer puts a layer on top: add the last listed first.
  for (auto it = layers.rbegin(); it != layers.rend(); ++it) map->AddLayer(*it);
  ShowInitialExtent(map, dataset);
}

} // namespace tov
