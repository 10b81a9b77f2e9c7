#pragma once
#include "platform/forms/TrackedShape.h"
#include "platform/gis/MapControl.h"

#include <functional>

namespace tov {

// The map control object pages talk to. It holds the map, the tool and the
// pointer; whatever shows it (a canvas widget) attaches hooks for redraws,
// tracking and panning. Without a canvas, tracking goes to the current
// presenter so that scripted runs work too.
class HostMapControl : public MapControl {
public:
  HostMapControl();
  ~HostMapControl() override;
  HostMapControl(const HostMapControl&) = delete;
  HostMapControl& operator=(const HostMapControl&) = delete;

  MapPtr Map() const override { return m_map; }
  void SetMap(const MapPtr& map) override;
  long LayerCount() const override;
  LayerPtr Layer(long index) const override;
  void AddLayer(const LayerPtr& layer, long toIndex = 0) override;
  EnvelopePtr Extent() const override;
  void SetExtent(const EnvelopePtr& extent) override;
  EnvelopePtr FullExtent() const override;
  EnvelopePtr TrackRectangle() override;
  PolygonPtr TrackPolygon() override;
  GeometryPtr TrackCircle() override;
  void Pan() override;
  void Refresh(long phase = 127) override;
  ObjectPtr CurrentTool() const override { return m_tool; }
  void SetCurrentTool(const ObjectPtr& tool) override { m_tool = tool; Notify(); }
  long MousePointer() const override { return m_pointer; }
  void SetMousePointer(long pointer) override { m_pointer = pointer; Notify(); }
  ObjectPtr MouseIcon() const override { return m_icon; }
  void SetMouseIcon(const ObjectPtr& icon) override { m_icon = icon; Notify(); }
  SpatialReferencePtr SpatialReference() const override;
  void SetSpatialReference(const SpatialReferencePtr& sr) override;

  // Hooks of the widget showing this control (empty functions detach).
  struct Hooks {
    std::function<void(long phase)> redraw;
    std::function<TrackedShape(TrackKind)> track;
    std::function<void()> pan;
    std::function<void()> pointerChanged;
  };
  void SetHooks(Hooks hooks);

  // The shape as a polygon in the map's system (a circle with 72 vertices;
  // a polygon's ring is closed only when the shape says it was).
  static PolygonPtr PolygonOf(const TrackedShape& shape, const SpatialReferencePtr& sr);

private:
  TrackedShape Track(TrackKind kind);
  void Notify();
  void HookRefresh();
  void Unhook();

  MapPtr m_map;
  ObjectPtr m_tool;
  long m_pointer = 0;
  ObjectPtr m_icon;
  Hooks m_hooks;
};

using HostMapControlPtr = std::shared_ptr<HostMapControl>;

// The map control (kMapControlProgId) pages get, with or without a window.
void RegisterHostMapControl();

} // namespace tov
