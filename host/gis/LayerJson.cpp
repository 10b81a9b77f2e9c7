#include "host/gis/LayerJson.h"

#include "host/common/Paths.h"
#include "host/gis/DirectJson.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/HostFeatureLayer.h"
#include "host/gis/HostFillSymbol.h"
#include "host/gis/HostGroupLayer.h"
#include "host/gis/HostLabelClass.h"
#include "host/gis/HostMarkerSymbol.h"
#include "host/gis/HostSimpleRenderer.h"
#include "host/gis/HostTextSymbol.h"
#include "host/gis/LayerSource.h"
#include "host/gis/StrictJson.h"
#include "platform/gis/AnnotationProperties.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/GroupLayer.h"

#include <cmath>
#include <filesystem>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {

namespace {
// data relative to anchor, both absolute and normal.
std::string RelativeTo(const std::string& data, const std::string& anchor) {
  if (data == anchor) return ".";
  if (anchor != "/" && data.size() > anchor.size() && data.compare(0, anchor.size(), anchor) == 0 && data[anchor.size()] == '/')
    return data.substr(anchor.size() + 1);
  return fs::path(data).lexically_relative(anchor).generic_string();
}

// Every object below is written with its members in the order of their keys,
// as a json object keeps them, so that the text is what WriteJson writes for
// the value read back (DirectJson.h).
void WriteColor(const RgbColorPtr& c, JsonTextWriter& out) {
  out.BeginObject();
  out.Key("rgb");
  out.Integer(c->RGB());
  out.Key("transparency");
  out.Integer(c->Transparency());
  out.End();
}

RgbColorPtr ReadColor(const JsonValue& j, const JsonWhere& where) {
  JsonObject(j, where);
  auto c = std::make_shared<HostRgbColor>();
  c->SetRGB(JsonInteger(j, "rgb", where));
  const long transparency = JsonInteger(j, "transparency", where);
  if (transparency < 0 || transparency > 255) RefuseJson(JsonWhere(where, "transparency"), "0 to 255 was expected");
  c->SetTransparency(static_cast<uint8_t>(transparency));
  return c;
}

void WriteFeatureLayer(const HostFeatureLayer& layer, const std::string& anchor, JsonTextWriter& out) {
  out.BeginObject();
  out.Key("dataSourceRelativeBase");
  out.String(layer.DataSourceRelativeBase());
  out.Key("displayAnnotation");
  out.Bool(layer.DisplayAnnotation());
  out.Key("labelClasses");
  out.BeginArray();
  auto props = layer.AnnotationProperties();
  for (long i = 0; i < props->Count(); ++i) {
    LabelClassPtr lc = props->Item(i);
    out.BeginObject();
    out.Key("expression");
    out.String(lc->Expression());
    out.Key("maximumScale");
    out.Float(lc->MaximumScale());
    out.Key("minimumScale");
    out.Float(lc->MinimumScale());
    out.Key("textSymbol");
    LayerJson::WriteSymbol(lc->TextSymbol(), out);
    out.End();
  }
  out.End();
  // Only layers with a scale range carry one, so older files read the same.
  if (layer.MaximumScale() > 0) {
    out.Key("maximumScale");
    out.Float(layer.MaximumScale());
  }
  if (layer.MinimumScale() > 0) {
    out.Key("minimumScale");
    out.Float(layer.MinimumScale());
  }
  out.Key("name");
  out.String(layer.Name());
  out.Key("renderer");
  out.BeginObject();
  out.Key("label");
  out.String(layer.Renderer()->Label());
  out.Key("symbol");
  LayerJson::WriteSymbol(layer.Renderer()->Symbol(), out);
  out.End();
  out.Key("selectable");
  out.Bool(layer.Selectable());
  out.Key("selectionColor");
  WriteColor(layer.SelectionColor(), out);
  auto source = [&out](const std::string& format, const std::string& dataset, const std::string& path,
                       const std::string* relativePath) {
    out.Key("source");
    out.BeginObject();
    out.Key("dataset");
    out.String(dataset);
    out.Key("format");
    out.String(format);
    out.Key("path");
    out.String(path);
    if (relativePath) {
      out.Key("relativePath");
      out.String(*relativePath);
    }
    out.End();
  };
  const LayerDataSource& src = layer.DataSource();
  if (const SavedDataSource* saved = layer.UnopenedSource()) {
    // Data never opened is saved as it was read.
    source(saved->format, saved->dataset, saved->path, saved->hasRelativePath ? &saved->relativePath : nullptr);
  } else if (src.format == "postgis") {
    source(src.format, src.dataset, src.nativePath, nullptr);
  } else if (!src.format.empty()) {
    const std::string data = AbsoluteNormalPath(src.nativePath);
    const std::string relative = anchor.empty() ? std::string() : RelativeTo(data, AbsoluteNormalPath(anchor));
    source(src.format, src.dataset, data, anchor.empty() ? nullptr : &relative);
  }
  out.Key("type");
  out.String("feature");
  out.Key("visible");
  out.Bool(layer.Visible());
  out.End();
}

// A scale denominator that may be missing (no limit).
double OptionalScale(const JsonValue& j, const char* key, const JsonWhere& where) {
  if (!JsonOptionalMember(j, key)) return 0;
  const double scale = JsonNumber(j, key, where);
  if (!(scale > 0) || !std::isfinite(scale)) RefuseJson(JsonWhere(where, key), "a scale above 0 was expected");
  return scale;
}

LayerPtr ReadFeatureLayer(const JsonValue& j, const std::string& anchor, const JsonWhere& where) {
  // Everything is read before anything is applied or any data opened.
  const std::string name = JsonText(j, "name", where);
  const bool visible = JsonBool(j, "visible", where);
  const bool selectable = JsonBool(j, "selectable", where);
  RgbColorPtr selectionColor = ReadColor(JsonMember(j, "selectionColor", where), JsonWhere(where, "selectionColor"));
  const bool displayAnnotation = JsonBool(j, "displayAnnotation", where);
  const std::string relativeBase = JsonText(j, "dataSourceRelativeBase", where);
  const double minimumScale = OptionalScale(j, "minimumScale", where);
  const double maximumScale = OptionalScale(j, "maximumScale", where);

  const JsonWhere rendererPlace(where, "renderer");
  const JsonValue& r = JsonObject(JsonMember(j, "renderer", where), rendererPlace);
  const std::string rendererLabel = JsonText(r, "label", rendererPlace);
  SymbolPtr rendererSymbol = LayerJson::ReadSymbol(JsonMember(r, "symbol", rendererPlace), JsonWhere(rendererPlace, "symbol"));

  const JsonWhere classesPlace(where, "labelClasses");
  const JsonValue& classes = JsonArray(j, "labelClasses", where);
  std::vector<LabelClassPtr> labelClasses;
  for (size_t i = 0; i < classes.size(); ++i) {
    const JsonWhere place(classesPlace, i);
    const JsonValue& c = JsonObject(classes[i], place);
    auto lc = std::make_shared<HostLabelClass>();
    lc->SetExpression(JsonText(c, "expression", place));
    lc->SetMinimumScale(JsonNumber(c, "minimumScale", place));
    lc->SetMaximumScale(JsonNumber(c, "maximumScale", place));
    SymbolPtr symbol = LayerJson::ReadSymbol(JsonMember(c, "textSymbol", place), JsonWhere(place, "textSymbol"));
    if (symbol) {
      auto text = std::dynamic_pointer_cast<TextSymbol>(symbol);
      if (!text) RefuseJson(JsonWhere(place, "textSymbol"), "a text symbol was expected");
      lc->SetTextSymbol(text);
    }
    labelClasses.push_back(lc);
  }
  const JsonValue* sourceEntry = JsonOptionalMember(j, "source");
  LayerSource source;
  if (sourceEntry) source = ReadLayerSource(*sourceEntry, JsonWhere(where, "source"));

  auto layer = std::make_shared<HostFeatureLayer>();
  if (sourceEntry) SetLayerDataToOpen(*layer, source, anchor, !rendererSymbol);
  layer->SetName(name);
  layer->SetVisible(visible);
  layer->SetSelectable(selectable);
  layer->SetSelectionColor(selectionColor);
  layer->SetDisplayAnnotation(displayAnnotation);
  layer->SetDataSourceRelativeBase(relativeBase);
  layer->SetScaleRange(minimumScale, maximumScale);
  auto renderer = std::make_shared<HostSimpleRenderer>();
  renderer->SetLabel(rendererLabel);
  // Without a saved symbol the layer keeps the default for its shape type.
  renderer->SetSymbol(rendererSymbol ? rendererSymbol : layer->Renderer()->Symbol());
  layer->SetRenderer(renderer);
  auto props = layer->AnnotationProperties();
  props->Clear();
  for (const auto& lc : labelClasses) props->Add(lc);
  return layer;
}
} // namespace

void LayerJson::WriteSymbol(const SymbolPtr& symbol, JsonTextWriter& out) {
  if (auto fill = std::dynamic_pointer_cast<FillSymbol>(symbol)) {
    out.BeginObject();
    out.Key("color");
    WriteColor(fill->Color(), out);
    out.Key("kind");
    out.String("fill");
    out.Key("outline");
    WriteSymbol(fill->Outline(), out);
    out.Key("style");
    out.Integer(fill->Style());
  } else if (auto line = std::dynamic_pointer_cast<LineSymbol>(symbol)) {
    out.BeginObject();
    out.Key("color");
    WriteColor(line->Color(), out);
    out.Key("kind");
    out.String("line");
    out.Key("style");
    out.Integer(line->Style());
    out.Key("width");
    out.Float(line->Width());
  } else if (auto marker = std::dynamic_pointer_cast<MarkerSymbol>(symbol)) {
    out.BeginObject();
    out.Key("color");
    WriteColor(marker->Color(), out);
    out.Key("kind");
    out.String("marker");
    out.Key("outline");
    out.Bool(marker->Outline());
    out.Key("outlineColor");
    WriteColor(marker->OutlineColor(), out);
    out.Key("outlineSize");
    out.Float(marker->OutlineSize());
    out.Key("size");
    out.Float(marker->Size());
    out.Key("style");
    out.Integer(marker->Style());
  } else if (auto text = std::dynamic_pointer_cast<TextSymbol>(symbol)) {
    out.BeginObject();
    out.Key("color");
    WriteColor(text->Color(), out);
    out.Key("font");
    out.String(text->FontName());
    out.Key("kind");
    out.String("text");
    out.Key("size");
    out.Float(text->Size());
  } else {
    // A symbol this writer does not know.
    out.Null();
    return;
  }
  out.End();
}

SymbolPtr LayerJson::ReadSymbol(const JsonValue& j, const JsonWhere& where) {
  // A symbol the writer did not know is written as null.
  if (j.is_null()) return nullptr;
  JsonObject(j, where);
  const std::string kind = JsonText(j, "kind", where);
  auto color = [&](const char* key) { return ReadColor(JsonMember(j, key, where), JsonWhere(where, key)); };
  if (kind == "fill") {
    auto s = std::make_shared<HostFillSymbol>();
    s->SetStyle(JsonInteger(j, "style", where));
    s->SetColor(color("color"));
    // Checked before it is read: fills nested in fills would recurse without end.
    const JsonValue& o = JsonMember(j, "outline", where);
    const JsonWhere place(where, "outline");
    if (!o.is_null() && JsonText(JsonObject(o, place), "kind", place) != "line")
      RefuseJson(place, "a line symbol was expected");
    if (SymbolPtr outline = ReadSymbol(o, place)) s->SetOutline(std::dynamic_pointer_cast<LineSymbol>(outline));
    return s;
  }
  if (kind == "line") {
    auto s = std::make_shared<HostLineSymbol>();
    s->SetStyle(JsonInteger(j, "style", where));
    s->SetColor(color("color"));
    s->SetWidth(JsonNumber(j, "width", where));
    return s;
  }
  if (kind == "marker") {
    auto s = std::make_shared<HostMarkerSymbol>();
    s->SetStyle(JsonInteger(j, "style", where));
    s->SetSize(JsonNumber(j, "size", where));
    s->SetColor(color("color"));
    s->SetOutline(JsonBool(j, "outline", where));
    s->SetOutlineColor(color("outlineColor"));
    s->SetOutlineSize(JsonNumber(j, "outlineSize", where));
    return s;
  }
  if (kind == "text") {
    auto s = std::make_shared<HostTextSymbol>();
    s->SetSize(JsonNumber(j, "size", where));
    s->SetFontName(JsonText(j, "font", where));
    s->SetColor(color("color"));
    return s;
  }
  RefuseJson(JsonWhere(where, "kind"), "\"" + kind + "\" is not a known kind of symbol");
}

void LayerJson::Write(const LayerPtr& layer, const std::string& nativeAnchor, JsonTextWriter& out) {
  if (auto fl = std::dynamic_pointer_cast<HostFeatureLayer>(layer)) return WriteFeatureLayer(*fl, nativeAnchor, out);
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    out.BeginObject();
    out.Key("layers");
    out.BeginArray();
    for (long i = 0; i < group->Count(); ++i) Write(group->Layer(i), nativeAnchor, out);
    out.End();
    out.Key("name");
    out.String(group->Name());
    out.Key("type");
    out.String("group");
    out.Key("visible");
    out.Bool(group->Visible());
    out.End();
    return;
  }
  throw HostError(err::TypeMismatch, "orvaCore.Layer", "The layer was not made by this application and cannot be saved");
}

namespace {
// Deeper than any map is built: refused before it exhausts the stack.
constexpr int kMaxGroupDepth = 64;

LayerPtr ReadLayer(const JsonValue& j, const std::string& nativeAnchor, const JsonWhere& where, int depth) {
  JsonObject(j, where);
  const std::string type = JsonText(j, "type", where);
  if (type == "feature") return ReadFeatureLayer(j, nativeAnchor, where);
  if (type == "group") {
    if (depth >= kMaxGroupDepth)
      RefuseJson(where, "group layers are nested more than " + std::to_string(kMaxGroupDepth) + " deep");
    auto group = std::make_shared<HostGroupLayer>();
    group->SetName(JsonText(j, "name", where));
    group->SetVisible(JsonBool(j, "visible", where));
    const JsonValue& children = JsonArray(j, "layers", where);
    const JsonWhere childrenPlace(where, "layers");
    for (size_t i = 0; i < children.size(); ++i)
      group->Add(ReadLayer(children[i], nativeAnchor, JsonWhere(childrenPlace, i), depth + 1));
    return group;
  }
  RefuseJson(JsonWhere(where, "type"), "\"" + type + "\" is not a known kind of layer");
}
} // namespace

LayerPtr LayerJson::Read(const JsonValue& j, const std::string& nativeAnchor, const JsonWhere& where) {
  return ReadLayer(j, nativeAnchor, where, 0);
}

} // namespace tov
