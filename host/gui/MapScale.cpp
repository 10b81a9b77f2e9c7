#include "host/gui/MapScale.h"

#include "host/gis/HostFeatureLayer.h"
#include "host/gui/MapCanvas.h"
#include "host/render/MapRenderer.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Map.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <cmath>
#include <functional>
#include <locale>
#include <sstream>

namespace tov {

namespace {

// Every layer of the map with whether it is drawn at scale, topmost first.
void Walk(const LayerPtr& layer, bool groupsVisible, double scale,
          const std::function<void(const LayerPtr&, bool drawn)>& visit) {
  if (!layer) return;
  bool drawn = groupsVisible && layer->Visible();
  if (auto host = std::dynamic_pointer_cast<HostFeatureLayer>(layer)) drawn = drawn && host->ShowsAtScale(scale);
  visit(layer, drawn);
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer))
    for (long i = 0; i < group->Count(); ++i) Walk(group->Layer(i), groupsVisible && layer->Visible(), scale, visit);
}

void WalkMap(const Map& map, double scale, const std::function<void(const LayerPtr&, bool drawn)>& visit) {
  for (long i = 0; i < map.LayerCount(); ++i) Walk(map.Layer(i), true, scale, visit);
}

} // namespace

double CanvasScale(const MapCanvas& canvas) {
  const MapPtr map = canvas.Control()->Map();
  if (!map || canvas.width() <= 0) return 0;
  return MapRenderer::ScaleOf(*map, canvas.Viewport());
}

bool SetCanvasScale(MapCanvas& canvas, double denominator) {
  const double now = CanvasScale(canvas);
  if (!(denominator > 0) || !std::isfinite(denominator) || !(now > 0)) return false;
  // The scale is proportional to the map units a pixel covers, whatever the
  // units: the resolution changes by the ratio asked for.
  const MapViewport viewport = canvas.Viewport();
  const double resolution = viewport.Resolution() * denominator / now;
  const QPointF centre = viewport.VisibleMapRect().center();
  const double halfWidth = resolution * canvas.width() / 2, halfHeight = resolution * canvas.height() / 2;
  auto extent = CreateAs<Envelope>(kEnvelopeProgId);
  extent->PutCoords(centre.x() - halfWidth, centre.y() - halfHeight, centre.x() + halfWidth, centre.y() + halfHeight);
  extent->SetSpatialReference(canvas.Control()->SpatialReference());
  canvas.Control()->SetExtent(extent);
  canvas.Control()->Refresh();
  return true;
}

double ParseScale(const std::string& text) {
  std::string digits;
  size_t start = text.find(':');
  start = start == std::string::npos ? 0 : start + 1;
  // What stands before a colon must be a 1 ("1:24000").
  if (start > 0) {
    std::string before = text.substr(0, start - 1);
    before.erase(0, before.find_first_not_of(" \t"));
    before.erase(before.find_last_not_of(" \t") + 1);
    if (before != "1") return 0;
  }
  for (size_t i = start; i < text.size(); ++i) {
    const char c = text[i];
    if (c >= '0' && c <= '9') digits += c;
    else if (c == '.' && digits.find('.') == std::string::npos) digits += c;
    else if (c != ',' && c != ' ' && c != '\t' && c != '\'') return 0;
  }
  if (digits.empty() || digits == ".") return 0;
  std::istringstream in(digits);
  in.imbue(std::locale::classic());
  double value = 0;
  in >> value;
  return value > 0 && std::isfinite(value) ? value : 0;
}

std::string FormatScale(double denominator) {
  const long long whole = std::llround(denominator);
  std::string digits = std::to_string(whole < 0 ? -whole : whole), grouped;
  for (size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped += ',';
    grouped += digits[i];
  }
  return whole < 0 ? "-" + grouped : grouped;
}

bool DrawnAtScale(const Map& map, const LayerPtr& layer, double scale) {
  bool found = false;
  WalkMap(map, scale, [&](const LayerPtr& l, bool drawn) {
    if (l == layer) found = drawn;
  });
  return found;
}

std::vector<FeatureLayerPtr> FeatureLayersDrawnAt(const Map& map, double scale) {
  std::vector<FeatureLayerPtr> layers;
  WalkMap(map, scale, [&](const LayerPtr& l, bool drawn) {
    if (auto fl = std::dynamic_pointer_cast<FeatureLayer>(l); fl && drawn) layers.push_back(fl);
  });
  return layers;
}

SelectableAtScale::SelectableAtScale(const Map& map, double scale) {
  WalkMap(map, scale, [&](const LayerPtr& l, bool drawn) {
    auto fl = std::dynamic_pointer_cast<FeatureLayer>(l);
    if (!fl || drawn || !fl->Selectable()) return;
    fl->SetSelectable(false);
    m_switchedOff.push_back(fl);
  });
}

void SelectableAtScale::ClearPassedOver() {
  for (const FeatureLayerPtr& layer : m_switchedOff) layer->ClearSelection();
}

SelectableAtScale::~SelectableAtScale() {
  for (const FeatureLayerPtr& layer : m_switchedOff) layer->SetSelectable(true);
}

} // namespace tov
