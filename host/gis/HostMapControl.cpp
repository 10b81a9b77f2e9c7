#include "host/gis/HostMapControl.h"

#include "host/gis/HostMap.h"
#include "platform/forms/Presenter.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Layer.h"
#include "platform/gis/Map.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace tov {

HostMapControl::HostMapControl() : m_map(std::make_shared<HostMap>()) { HookRefresh(); }

HostMapControl::~HostMapControl() { Unhook(); }

void HostMapControl::Unhook() {
  // The map may outlive this control (the document's map): leave no handler
  // pointing at it.
  if (auto host = std::dynamic_pointer_cast<HostMap>(m_map)) host->SetRefreshHandler(nullptr);
}

void HostMapControl::SetMap(const MapPtr& map) {
  if (!map) throw HostError(91, "MapControl", "The map control needs a map");
  if (map != m_map) Unhook();
  m_map = map;
  HookRefresh();
  Refresh();
}

void HostMapControl::HookRefresh() {
  if (auto host = std::dynamic_pointer_cast<HostMap>(m_map)) {
    // The map asks whoever shows it to redraw; a weak link avoids a cycle.
    host->SetRefreshHandler([this](long phase) {
      if (m_hooks.redraw) m_hooks.redraw(phase);
    });
  }
}

long HostMapControl::LayerCount() const { return m_map->LayerCount(); }
LayerPtr HostMapControl::Layer(long index) const { return m_map->Layer(index); }

void HostMapControl::AddLayer(const LayerPtr& layer, long toIndex) {
  if (!layer) throw HostError(91, "MapControl", "No layer to add");
  // The map shows its full extent once the first layer with data comes.
  m_map->InsertLayer(layer, toIndex);
}

EnvelopePtr HostMapControl::Extent() const { return Must(As<ActiveView>(m_map), "the map view")->Extent(); }
void HostMapControl::SetExtent(const EnvelopePtr& extent) {
  Must(As<ActiveView>(m_map), "the map view")->SetExtent(extent);
  Refresh();
}
EnvelopePtr HostMapControl::FullExtent() const { return Must(As<ActiveView>(m_map), "the map view")->FullExtent(); }

TrackedShape HostMapControl::Track(TrackKind kind) {
  if (m_hooks.track) return m_hooks.track(kind);
  if (HasPresenter()) return GetPresenter()->Track(kind);
  TrackedShape empty;
  empty.Kind = kind;
  return empty;
}

EnvelopePtr HostMapControl::TrackRectangle() {
  TrackedShape s = Track(TrackKind::Rectangle);
  auto envelope = CreateAs<Envelope>(kEnvelopeProgId);
  if (!s.Empty) envelope->PutCoords(s.XMin, s.YMin, s.XMax, s.YMax);
  envelope->SetSpatialReference(SpatialReference());
  return envelope;
}

PolygonPtr HostMapControl::PolygonOf(const TrackedShape& s, const SpatialReferencePtr& sr) {
  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  polygon->SetSpatialReference(sr);
  if (s.Empty) return polygon;
  auto add = [&](double x, double y) {
    auto p = CreateAs<Point>(kPointProgId);
    p->PutCoords(x, y);
    polygon->AddPoint(p);
  };
  if (s.Kind == TrackKind::Circle) {
    for (int i = 0; i <= 72; ++i) {
      const double a = 2 * M_PI * (i % 72) / 72;
      add(s.CenterX + s.Radius * std::cos(a), s.CenterY + s.Radius * std::sin(a));
    }
  } else if (s.Kind == TrackKind::Rectangle) {
    add(s.XMin, s.YMin); add(s.XMin, s.YMax); add(s.XMax, s.YMax); add(s.XMax, s.YMin); add(s.XMin, s.YMin);
  } else {
    for (auto& [x, y] : s.Points) add(x, y);
    // A ring the user left open stays open, so that a page can refuse it.
    if (s.Closed && !s.Points.empty() && s.Points.back() != s.Points.front())
      add(s.Points.front().first, s.Points.front().second);
  }
  return polygon;
}

PolygonPtr HostMapControl::TrackPolygon() {
  TrackedShape s = Track(TrackKind::Polygon);
  // A ring needs three distinct vertices to enclose anything.
  std::vector<std::pair<double, double>> distinct = s.Points;
  std::sort(distinct.begin(), distinct.end());
  if (std::unique(distinct.begin(), distinct.end()) - distinct.begin() < 3) s.Empty = true;
  return PolygonOf(s, SpatialReference());
}

GeometryPtr HostMapControl::TrackCircle() {
  TrackedShape s = Track(TrackKind::Circle);
  if (s.Radius <= 0) s.Empty = true;
  return PolygonOf(s, SpatialReference());
}

void HostMapControl::Pan() {
  if (m_hooks.pan) m_hooks.pan();
}

void HostMapControl::Refresh(long phase) {
  if (m_hooks.redraw) m_hooks.redraw(phase);
}

SpatialReferencePtr HostMapControl::SpatialReference() const { return m_map->SpatialReference(); }
void HostMapControl::SetSpatialReference(const SpatialReferencePtr& sr) {
  m_map->SetSpatialReference(sr);
  Refresh();
}

void HostMapControl::SetHooks(Hooks hooks) {
  m_hooks = std::move(hooks);
  HookRefresh();
}

void HostMapControl::Notify() {
  if (m_hooks.pointerChanged) m_hooks.pointerChanged();
}

void RegisterHostMapControl() { RegisterClassOf<HostMapControl>(kMapControlProgId); }

} // namespace tov
