#include "store/TaskLayerSymbology.h"

#include "platform/framework/DataAccessService.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/framework/TaskLayer.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/MarkerSymbol.h"
#include "platform/gis/RgbColor.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/ModuleErrors.h"
#include "store/Settings.h"
#include "store/StrUtils.h"

#include <map>

namespace tov {

namespace {

const std::map<std::string, long> kFillStyles = {
    {"orvaSFSSolid", 0},      {"orvaSFSHollow", 1},          {"orvaSFSNull", 1},
    {"orvaSFSHorizontal", 2}, {"orvaSFSVertical", 3},        {"orvaSFSForwardDiagonal", 4},
    {"orvaSFSBackwardDiagonal", 5}, {"orvaSFSCross", 6},     {"orvaSFSDiagonalCross", 7}};
// The solid line goes by the fill style's name.
const std::map<std::string, long> kLineStyles = {
    {"orvaSFSSolid", 0},     {"orvaSLSDash", 1}, {"orvaSLSDot", 2},         {"orvaSLSDashDot", 3},
    {"orvaSLSDashDotDot", 4}, {"orvaSLSNull", 5}, {"orvaSLSInsideFrame", 6}};
const std::map<std::string, long> kMarkerStyles = {
    {"orvaSMSCircle", 0}, {"orvaSMSSquare", 1}, {"orvaSMSCross", 2}, {"orvaSMSX", 3}, {"orvaSMSDiamond", 4}};

// The task layer's settings, read as text; "" leaves a default alone.
class LayerSettings {
public:
  explicit LayerSettings(PropertyListPtr list) : m_list(std::move(list)) {}

  std::string Text(const char* key) const { return m_list->GetValue(key); }

  // Sets the style when the name is one of the table's (exact case).
  template <class Apply>
  void Style(const std::map<std::string, long>& table, Apply apply) const {
    auto it = table.find(Text("SymbolStyle"));
    if (it != table.end()) apply(it->second);
  }
  template <class Apply>
  void Number(const char* key, Apply apply) const {
    const std::string text = Text(key);
    if (!text.empty()) apply(ToNumber(text));
  }
  // A new colour with the colour and transparency keys that are set.
  RgbColorPtr Color(const char* colorKey, const char* transparencyKey, bool transparencyFirst) const {
    auto color = CreateAs<RgbColor>(kRgbColorProgId);
    auto rgb = [&] {
      const std::string text = Text(colorKey);
      if (!text.empty()) color->SetRGB(HexToLng(text));
    };
    auto transparency = [&] { Number(transparencyKey, [&](const Variant& v) { color->SetTransparency(ToByte(v)); }); };
    if (transparencyFirst) {
      transparency();
      rgb();
    } else {
      rgb();
      transparency();
    }
    return color;
  }

private:
  // A decimal comma is read as a point when that makes a number.
  static Variant ToNumber(const std::string& text) {
    std::string pointed = text;
    for (char& c : pointed)
      if (c == ',') c = '.';
    double value = 0;
    return ParseNumber(pointed, value) ? Variant(value) : Variant(text);
  }
  static uint8_t ToByte(const Variant& v) {
    const int32_t value = v.ToLong();
    if (value < 0 || value > 255) throw HostError(err::Overflow, "CreateTaskLayer", "Overflow");
    return static_cast<uint8_t>(value);
  }

  PropertyListPtr m_list;
};

void ApplySymbol(const FeatureLayerPtr& layer, long shapeType, const LayerSettings& settings) {
  SimpleRendererPtr renderer = layer->Renderer();
  SymbolPtr symbol = renderer->Symbol();
  switch (shapeType) {
  case geometryPoint: {
    auto marker = std::dynamic_pointer_cast<MarkerSymbol>(symbol);
    if (!marker) return;
    settings.Style(kMarkerStyles, [&](long style) { marker->SetStyle(style); });
    const std::string outline = settings.Text("OutLine");
    if (!outline.empty()) marker->SetOutline(outline != "True");
    marker->SetOutlineColor(settings.Color("OutLineRGBColor", "OutLineTransparency", false));
    marker->SetColor(settings.Color("FillRGBColor", "FillTransparency", true));
    break;
  }
  case geometryPolyline: {
    auto line = std::dynamic_pointer_cast<LineSymbol>(symbol);
    if (!line) return;
    settings.Style(kLineStyles, [&](long style) { line->SetStyle(style); });
    line->SetColor(settings.Color("SymbolRGBColor", "SymbolTransparency", false));
    settings.Number("SymbolWidth", [&](const Variant& v) { line->SetWidth(v.ToDouble()); });
    break;
  }
  case geometryPolygon: {
    auto fill = std::dynamic_pointer_cast<FillSymbol>(symbol);
    if (!fill) return;
    settings.Style(kFillStyles, [&](long style) { fill->SetStyle(style); });
    LineSymbolPtr outline = fill->Outline();
    settings.Number("OutLineWidth", [&](const Variant& v) { outline->SetWidth(v.ToDouble()); });
    outline->SetColor(settings.Color("OutLineRGBColor", "OutLineTransparency", false));
    fill->SetColor(settings.Color("FillRGBColor", "FillTransparency", true));
    fill->SetOutline(outline);
    break;
  }
  default:
    return;
  }
  renderer->SetSymbol(symbol);
}

} // namespace

FeatureLayerPtr CreateTaskLayer(const std::string& name, const TaskDescriptorPtr& taskLayers,
                                const HostDatasetPtr& dataSetLayers, const Variant&,
                                const HostApplicationPtr& application, const HostDatasetPtr& dataset) {
  FeatureLayerPtr layer;
  try {
    TaskLayerPtr taskLayer = Must(taskLayers, "the task's layers")->LayerByName(name);
    const LayerSettings settings(Must(taskLayer, "the task layer")->GetPropertyList());
    const bool visible = settings.Text("Visible") == "True";
    DataSetLayerPtr dataSetLayer = Must(dataSetLayers, "the data set's layers")->LayerByName(taskLayer->Name());
    if (!dataSetLayer) return nullptr;
    DataAccessServicePtr access =
        Must(Must(GetTovExtension(application), "the analysis extension")->GetDataAccessService(), "the data access service");
    FeatureClassPtr featureClass =
        access->OpenFeatureClass(dataSetLayer->SourceName(), Must(dataset, "the data set")->DataSetPath());
    if (!featureClass) return nullptr;
    layer = CreateAs<FeatureLayer>(kFeatureLayerProgId);
    layer->SetFeatureClass(featureClass);
    layer->SetVisible(visible);
    layer->SetName(dataSetLayer->MapLayerName());
    ApplySymbol(layer, featureClass->ShapeType(), settings);
  } catch (...) {
    // Ends quietly with what was made.
  }
  return layer;
}

} // namespace tov
