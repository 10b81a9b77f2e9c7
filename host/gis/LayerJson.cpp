#include "host/gis/LayerJson.h"

#include "host/common/Paths.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/HostFillSymbol.h"
#include "host/gis/HostGroupLayer.h"
#include "host/gis/HostLabelClass.h"
#include "host/gis/HostMarkerSymbol.h"
#include "host/gis/HostSimpleRenderer.h"
#include "host/gis/HostTextSymbol.h"
#include "host/gis/HostWorkspace.h"
#include "platform/gis/AnnotationProperties.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/GroupLayer.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {

namespace {
// Absolute, normalised, without a trailing separator.
fs::path Clean(const std::string& nativePath) {
  std::error_code ec;
  std::string p = fs::absolute(nativePath, ec).lexically_normal().string();
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return fs::path(p);
}

json WriteColor(const RgbColorPtr& c) { return {{"rgb", c->RGB()}, {"transparency", c->Transparency()}}; }

RgbColorPtr ReadColor(const json& j) {
  auto c = std::make_shared<HostRgbColor>();
  if (j.is_object()) {
    c->SetRGB(j.value("rgb", 0));
    c->SetTransparency(static_cast<uint8_t>(j.value("transparency", 255)));
  }
  return c;
}

json WriteFeatureLayer(const HostFeatureLayer& layer, const std::string& anchor) {
  json j = {{"type", "feature"},
            {"name", layer.Name()},
            {"visible", layer.Visible()},
            {"selectable", layer.Selectable()},
            {"selectionColor", WriteColor(layer.SelectionColor())},
            {"displayAnnotation", layer.DisplayAnnotation()},
            {"dataSourceRelativeBase", layer.DataSourceRelativeBase()}};
  const LayerDataSource& src = layer.DataSource();
  if (!src.format.empty()) {
    const fs::path data = Clean(src.nativePath);
    json s = {{"format", src.format}, {"dataset", src.dataset}, {"path", data.string()}};
    if (!anchor.empty()) s["relativePath"] = data.lexically_relative(Clean(anchor)).generic_string();
    j["source"] = s;
  }
  json renderer = {{"label", layer.Renderer()->Label()}, {"symbol", LayerJson::WriteSymbol(layer.Renderer()->Symbol())}};
  j["renderer"] = renderer;
  json classes = json::array();
  auto props = layer.AnnotationProperties();
  for (long i = 0; i < props->Count(); ++i) {
    LabelClassPtr lc = props->Item(i);
    classes.push_back({{"expression", lc->Expression()},
                       {"minimumScale", lc->MinimumScale()},
                       {"maximumScale", lc->MaximumScale()},
                       {"textSymbol", LayerJson::WriteSymbol(lc->TextSymbol())}});
  }
  j["labelClasses"] = classes;
  return j;
}

FeatureClassPtr OpenSource(const json& s, const std::string& anchor) {
  const std::string format = s.value("format", "");
  const WorkspaceKind kind = format == "geopackage" ? WorkspaceKind::GeoPackage : WorkspaceKind::Shapefile;
  std::vector<std::string> candidates;
  if (!anchor.empty() && s.contains("relativePath"))
    candidates.push_back((Clean(anchor) / s.value("relativePath", "")).lexically_normal().string());
  candidates.push_back(s.value("path", ""));
  for (const auto& path : candidates) {
    std::error_code ec;
    if (path.empty() || !fs::exists(path, ec)) continue;
    // An open workspace may still list a shapefile whose files are gone.
    if (kind == WorkspaceKind::Shapefile && !fs::exists(fs::path(path) / (s.value("dataset", "") + ".shp"), ec)) continue;
    try {
      return HostWorkspace::Open(kind, path)->OpenFeatureClass(s.value("dataset", ""));
    } catch (const HostError&) {
      // Try the next place; missing data leaves the layer without a class.
    }
  }
  return nullptr;
}

LayerPtr ReadFeatureLayer(const json& j, const std::string& anchor) {
  auto layer = std::make_shared<HostFeatureLayer>();
  if (j.contains("source")) {
    const json& s = j["source"];
    if (FeatureClassPtr fc = OpenSource(s, anchor)) {
      layer->SetFeatureClass(fc);
    } else {
      std::string path = s.value("path", "");
      if (!anchor.empty() && s.contains("relativePath"))
        path = (Clean(anchor) / s.value("relativePath", "")).lexically_normal().string();
      layer->SetMissingDataSource({s.value("format", ""), path, s.value("dataset", "")});
    }
  }
  layer->SetName(j.value("name", ""));
  layer->SetVisible(j.value("visible", true));
  layer->SetSelectable(j.value("selectable", true));
  if (j.contains("selectionColor")) layer->SetSelectionColor(ReadColor(j["selectionColor"]));
  layer->SetDisplayAnnotation(j.value("displayAnnotation", false));
  layer->SetDataSourceRelativeBase(j.value("dataSourceRelativeBase", ""));
  if (j.contains("renderer")) {
    auto renderer = std::make_shared<HostSimpleRenderer>();
    renderer->SetLabel(j["renderer"].value("label", ""));
    if (SymbolPtr symbol = LayerJson::ReadSymbol(j["renderer"].value("symbol", json()))) renderer->SetSymbol(symbol);
    else renderer->SetSymbol(layer->Renderer()->Symbol());
    layer->SetRenderer(renderer);
  }
  if (j.contains("labelClasses") && j["labelClasses"].is_array()) {
    auto props = layer->AnnotationProperties();
    props->Clear();
    for (const json& c : j["labelClasses"]) {
      auto lc = std::make_shared<HostLabelClass>();
      lc->SetExpression(c.value("expression", ""));
      lc->SetMinimumScale(c.value("minimumScale", 0.0));
      lc->SetMaximumScale(c.value("maximumScale", 0.0));
      if (auto ts = std::dynamic_pointer_cast<TextSymbol>(LayerJson::ReadSymbol(c.value("textSymbol", json()))))
        lc->SetTextSymbol(ts);
      props->Add(lc);
    }
  }
  return layer;
}
} // namespace

json LayerJson::WriteSymbol(const SymbolPtr& symbol) {
  if (auto fill = std::dynamic_pointer_cast<FillSymbol>(symbol))
    return {{"kind", "fill"}, {"style", fill->Style()}, {"color", WriteColor(fill->Color())}, {"outline", WriteSymbol(fill->Outline())}};
  if (auto line = std::dynamic_pointer_cast<LineSymbol>(symbol))
    return {{"kind", "line"}, {"style", line->Style()}, {"color", WriteColor(line->Color())}, {"width", line->Width()}};
  if (auto marker = std::dynamic_pointer_cast<MarkerSymbol>(symbol))
    return {{"kind", "marker"},          {"style", marker->Style()},
            {"size", marker->Size()},    {"color", WriteColor(marker->Color())},
            {"outline", marker->Outline()}, {"outlineColor", WriteColor(marker->OutlineColor())},
            {"outlineSize", marker->OutlineSize()}};
  if (auto text = std::dynamic_pointer_cast<TextSymbol>(symbol))
    return {{"kind", "text"}, {"size", text->Size()}, {"font", text->FontName()}, {"color", WriteColor(text->Color())}};
  return nullptr;
}

SymbolPtr LayerJson::ReadSymbol(const json& j) {
  if (!j.is_object()) return nullptr;
  const std::string kind = j.value("kind", "");
  if (kind == "fill") {
    auto s = std::make_shared<HostFillSymbol>();
    s->SetStyle(j.value("style", 0L));
    s->SetColor(ReadColor(j.value("color", json())));
    if (auto outline = std::dynamic_pointer_cast<LineSymbol>(ReadSymbol(j.value("outline", json())))) s->SetOutline(outline);
    return s;
  }
  if (kind == "line") {
    auto s = std::make_shared<HostLineSymbol>();
    s->SetStyle(j.value("style", 0L));
    s->SetColor(ReadColor(j.value("color", json())));
    s->SetWidth(j.value("width", 1.0));
    return s;
  }
  if (kind == "marker") {
    auto s = std::make_shared<HostMarkerSymbol>();
    s->SetStyle(j.value("style", 0L));
    s->SetSize(j.value("size", 8.0));
    s->SetColor(ReadColor(j.value("color", json())));
    s->SetOutline(j.value("outline", false));
    s->SetOutlineColor(ReadColor(j.value("outlineColor", json())));
    s->SetOutlineSize(j.value("outlineSize", 1.0));
    return s;
  }
  if (kind == "text") {
    auto s = std::make_shared<HostTextSymbol>();
    s->SetSize(j.value("size", 8.0));
    s->SetFontName(j.value("font", "Sans Serif"));
    s->SetColor(ReadColor(j.value("color", json())));
    return s;
  }
  return nullptr;
}

json LayerJson::Write(const LayerPtr& layer, const std::string& nativeAnchor) {
  if (auto fl = std::dynamic_pointer_cast<HostFeatureLayer>(layer)) return WriteFeatureLayer(*fl, nativeAnchor);
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    json children = json::array();
    for (long i = 0; i < group->Count(); ++i) children.push_back(Write(group->Layer(i), nativeAnchor));
    return {{"type", "group"}, {"name", group->Name()}, {"visible", group->Visible()}, {"layers", children}};
  }
  throw HostError(err::TypeMismatch, "orvaCore.Layer", "The layer was not made by this application and cannot be saved");
}

LayerPtr LayerJson::Read(const json& j, const std::string& nativeAnchor) {
  if (!j.is_object()) throw HostError(gisErr::DocumentFormat, "orvaCore.Layer", "A layer entry is not an object");
  const std::string type = j.value("type", "");
  if (type == "feature") return ReadFeatureLayer(j, nativeAnchor);
  if (type == "group") {
    auto group = std::make_shared<HostGroupLayer>();
    group->SetName(j.value("name", ""));
    group->SetVisible(j.value("visible", true));
    if (j.contains("layers") && j["layers"].is_array())
      for (const json& child : j["layers"]) group->Add(Read(child, nativeAnchor));
    return group;
  }
  throw HostError(gisErr::DocumentFormat, "orvaCore.Layer", "Unknown layer type \"" + type + "\"");
}

void LayerJson::WriteFileAtomically(const std::string& nativePath, const std::string& text, const char* source) {
  const fs::path target(nativePath);
  std::error_code ec;
  if (!target.parent_path().empty() && !fs::is_directory(target.parent_path(), ec))
    throw HostError(err::PathNotFound, source,
                    "The folder \"" + DisplayPath(target.parent_path().string()) + "\" does not exist");
  const fs::path temp = target.string() + ".tmp" + std::to_string(::getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      fs::remove(temp, ec);
      throw HostError(75, source, "The file \"" + DisplayPath(target.string()) + "\" cannot be written; check the disk space and permissions");
    }
  }
  fs::rename(temp, target, ec);
  if (ec) {
    fs::remove(temp, ec);
    throw HostError(75, source, "The file \"" + DisplayPath(target.string()) + "\" cannot be replaced: " + ec.message());
  }
}

json LayerJson::ReadFile(const std::string& nativePath, const char* source) {
  std::ifstream in(nativePath, std::ios::binary);
  if (!in) throw HostError(err::FileNotFound, source, "The file \"" + DisplayPath(nativePath) + "\" does not exist or cannot be read");
  std::stringstream buffer;
  buffer << in.rdbuf();
  try {
    return json::parse(buffer.str());
  } catch (const json::exception& e) {
    throw HostError(gisErr::DocumentFormat, source,
                    "The file \"" + DisplayPath(nativePath) + "\" is damaged and cannot be read (" + e.what() + ")");
  }
}

} // namespace tov
