#include "host/datasets/DatasetDescriptor.h"

#include <cctype>
#include <cmath>
#include <cstdio>

namespace tov {
namespace {
using ordered = nlohmann::ordered_json;

// Map scales are worked out as the renderer does: 96 pixels to the inch.
constexpr double kMetresPerPixel = 0.0254 / 96;
constexpr double kLabelPixels = 60;
constexpr double kLayerPixels = 3;
constexpr double kOverviewPixels = 1000;

const char kExtent[] = "SetupStudyArea.CurrentExtent";
const char kSelected[] = "SetupStudyArea.SelectedShapes";
const char kDrawn[] = "SetupStudyArea.DrawOwn";
const char kCodes[] = "SetupStudyArea.WildCard";
const char kMapList[] = "SetupStudyArea.MapList";
const char kWhole[] = "SetupStudyArea.UseWhole";
const char kRing[] = "SetupStudyArea.SimpleRing";

// Two significant digits: scales people read.
double Round(double scale) {
  if (scale <= 0) return 0;
  const double unit = std::pow(10.0, std::floor(std::log10(scale)) - 1);
  return std::round(scale / unit) * unit;
}

std::string Number(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.0f", value);
  return text;
}

std::string Decimal(double value) {
  char text[32];
  std::snprintf(text, sizeof text, "%.6f", value);
  std::string s = text;
  while (!s.empty() && s.back() == '0') s.pop_back();
  if (!s.empty() && s.back() == '.') s.pop_back();
  return s;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

ordered ContextSymbols() {
  return ordered{{"Visible", "True"},        {"SymbolStyle", "orvaSFSHollow"}, {"OutLineWidth", "1.5"},
                 {"OutLineRGBColor", "0x505050"}, {"OutLineTransparency", "255"}, {"SymbolRGBColor", "0x505050"},
                 {"SymbolWidth", "1.5"}};
}

ordered RegionSymbols() {
  return ordered{{"Visible", "True"},         {"SymbolStyle", "orvaSFSSolid"},  {"FillRGBColor", "0xE8F0F4"},
                 {"FillTransparency", "255"}, {"OutLineWidth", "0.4"},          {"OutLineRGBColor", "0x9A9A9A"},
                 {"OutLineTransparency", "255"}};
}

ordered CodeSymbols() {
  return ordered{{"Visible", "True"},
                 {"SymbolStyle", "orvaSFSHollow"},
                 {"OutLineWidth", "0.3"},
                 {"OutLineRGBColor", "0xB08060"},
                 {"OutLineTransparency", "255"}};
}

// A task layer's keys for labels on the map pages.
void AddLabels(ordered& keys, const LayerDisplay& display) {
  keys["Annotation"] = "True";
  keys["LabelField"] = display.labelField;
  keys["MaximumScaleForLabeling"] = display.labelMaximumScale > 0 ? Number(display.labelMaximumScale) : "";
  keys["MinimunScaleForLabeling"] = display.labelMinimumScale > 0 ? Number(display.labelMinimumScale) : "";
  keys["SymbolSize"] = "8";
}

ordered TaskLayer(const std::string& name, ordered keys) { return ordered{{"name", name}, {"properties", std::move(keys)}}; }

ordered Method(const char* name, const std::string& caption, ordered properties, ordered layers) {
  return ordered{{"name", name},
                 {"caption", caption},
                 {"properties", std::move(properties)},
                 {"layers", std::move(layers)},
                 {"children", ordered::array()}};
}

ordered LayerEntry(const DescribedLayer& layer) {
  ordered entry{{"name", layer.title}, {"sourceName", layer.sourceName}, {"mapLayerName", layer.title}, {"reference", true}};
  const LayerDisplay& d = layer.display;
  auto scale = [](double s) { return static_cast<int64_t>(std::llround(s)); };
  if (d.minimumScale > 0) entry["minimumScale"] = scale(d.minimumScale);
  if (d.maximumScale > 0) entry["maximumScale"] = scale(d.maximumScale);
  if (!d.labelField.empty()) {
    entry["labelField"] = d.labelField;
    if (d.labelMinimumScale > 0) entry["labelMinimumScale"] = scale(d.labelMinimumScale);
    if (d.labelMaximumScale > 0) entry["labelMaximumScale"] = scale(d.labelMaximumScale);
  }
  return entry;
}
} // namespace

const std::vector<MethodName>& StudyAreaMethods() {
  static const std::vector<MethodName> methods = {{kExtent, "extent"}, {kSelected, "selected"}, {kDrawn, "draw"},
                                                  {kCodes, "zip"},     {kMapList, "regions"},   {kWhole, "whole"},
                                                  {kRing, "ring"}};
  return methods;
}

std::string MethodCommand(const std::string& descriptorName) {
  for (const MethodName& m : StudyAreaMethods())
    if (descriptorName == m.descriptor) return m.command;
  return std::string();
}

std::string LayerTitle(const std::string& sourceName) {
  std::string title;
  for (char c : sourceName) {
    const char shown = (c == '_' || c == '-') ? ' ' : c;
    if (shown == ' ' && (title.empty() || title.back() == ' ')) continue;
    title += shown;
  }
  while (!title.empty() && title.back() == ' ') title.pop_back();
  if (title.empty()) return sourceName;
  title[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(title[0])));
  return title;
}

LayerDisplay DisplayFor(double typicalSize, double extentWidth, const std::string& labelField) {
  LayerDisplay display;
  if (typicalSize <= 0) return display;
  display.labelField = labelField;
  if (!labelField.empty()) display.labelMinimumScale = Round(typicalSize / (kLabelPixels * kMetresPerPixel));
  if (extentWidth > 0 && typicalSize * kOverviewPixels / extentWidth < kLayerPixels) {
    display.minimumScale = Round(typicalSize / (kLayerPixels * kMetresPerPixel));
    // Labels never show where their layer does not.
    if (display.labelMinimumScale > display.minimumScale) display.labelMinimumScale = display.minimumScale;
  }
  return display;
}

ordered DescribeDataset(const DatasetDescription& d) {
  ordered layers = ordered::array();
  for (const DescribedLayer& c : d.context) layers.push_back(LayerEntry(c));
  if (d.codes) layers.push_back(LayerEntry(*d.codes));
  layers.push_back(LayerEntry(d.regions));

  ordered projection{{"Type", d.system.type}, {"ID", std::to_string(d.system.code)}};
  if (d.system.centralMeridian) projection["CentralMeridian"] = Decimal(*d.system.centralMeridian);
  if (d.system.standardParallel1) projection["StandardParallel1"] = Decimal(*d.system.standardParallel1);
  if (d.system.standardParallel2) projection["StandardParallel2"] = Decimal(*d.system.standardParallel2);
  ordered configuration{
      {"children",
       ordered::array({ordered{{"name", "Projections"},
                               {"properties", ordered::object()},
                               {"children", ordered::array({ordered{{"name", "Projection.ResultantDefault"},
                                                                    {"properties", projection},
                                                                    {"children", ordered::array()}}})}}})}};

  // Each method's map shows the outlines and its own layer.
  const std::string regions = d.regions.title;
  auto withContext = [&](ordered main) {
    ordered list = ordered::array();
    for (const DescribedLayer& c : d.context) list.push_back(TaskLayer(c.title, ContextSymbols()));
    list.push_back(std::move(main));
    return list;
  };
  ordered labelled = RegionSymbols();
  AddLabels(labelled, d.regions.display);
  ordered listed{{"ListField", d.listField}};
  for (auto it = labelled.begin(); it != labelled.end(); ++it) listed[it.key()] = it.value();

  ordered mainOnly{{"MainLayer", regions}};
  ordered children = ordered::array();
  children.push_back(Method(kExtent, "The visible map extent", mainOnly, withContext(TaskLayer(regions, RegionSymbols()))));
  // The chooser knows this method by this caption.
  children.push_back(Method(kSelected, "Selected shapes on the map", mainOnly, withContext(TaskLayer(regions, RegionSymbols()))));
  children.push_back(Method(kDrawn, "An area drawn on the map", mainOnly, withContext(TaskLayer(regions, labelled))));
  if (d.codes) {
    const CodeRules& r = d.codeRules;
    ordered codeLayer = CodeSymbols();
    AddLabels(codeLayer, d.codes->display);
    children.push_back(Method(kCodes, "A list of codes (" + Lower(d.codes->title) + ")",
                              ordered{{"MainLayer", d.codes->title},
                                      {"DSMainLayer", d.codes->title},
                                      {"DSMainLayerIDFieldName", d.codeField},
                                      {"ZipCodeRules", r.rulesText},
                                      {"ValidExampleText", r.validExample},
                                      {"InvalidExampleText", r.invalidExample},
                                      {"CheckZipsValidity", r.checkValidity ? "True" : "False"},
                                      {"NumericZips", r.numeric ? "True" : "False"},
                                      {"ValueLength", std::to_string(r.valueLength)},
                                      {"NumericPrefixLeastLength", std::to_string(r.prefixLeastLength)}},
                              withContext(TaskLayer(d.codes->title, codeLayer))));
  }
  children.push_back(Method(kMapList, regions + " picked from a list or on the map",
                            ordered{{"MainLayer", regions},
                                    {"ListDialogLabel", regions + ":"},
                                    {"MainLayerIDFieldName", d.idField},
                                    {"DSMainLayer", ""},
                                    {"DSMainLayerIDFieldName", ""}},
                            withContext(TaskLayer(regions, listed))));
  children.push_back(Method(kWhole, "All the " + Lower(regions), mainOnly, withContext(TaskLayer(regions, RegionSymbols()))));
  children.push_back(Method(kRing, "A ring around a site", mainOnly, withContext(TaskLayer(regions, RegionSymbols()))));

  ordered symbols = ordered::object();
  for (const DescribedLayer& c : d.context) symbols[c.title] = ContextSymbols();
  if (d.codes) {
    ordered keys = CodeSymbols();
    keys["LabelSize"] = "7";
    keys["LabelRGBColor"] = "0x8F4F2F";
    symbols[d.codes->title] = keys;
  }
  ordered regionKeys = RegionSymbols();
  regionKeys["LabelSize"] = "7";
  regionKeys["LabelRGBColor"] = "0x404040";
  symbols[regions] = regionKeys;

  ordered description{{"name", d.name}, {"geopackage", d.geopackage}};
  if (!d.attribution.empty()) description["attribution"] = d.attribution;
  if (d.initialExtent)
    description["initialExtent"] = {(*d.initialExtent)[0], (*d.initialExtent)[1], (*d.initialExtent)[2],
                                    (*d.initialExtent)[3]};
  description["layers"] = std::move(layers);
  description["configuration"] = std::move(configuration);
  description["tasks"] = ordered::array({ordered{{"name", "SetupStudyArea"},
                                                 {"caption", "Study Area Setup"},
                                                 {"properties", ordered::object()},
                                                 {"layers", ordered::array()},
                                                 {"children", std::move(children)}}});
  description["referenceSymbols"] = std::move(symbols);
  return description;
}

} // namespace tov
