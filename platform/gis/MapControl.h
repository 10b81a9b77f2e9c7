#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// The map shown on a page. The tracking calls are made from the control's
// mouse-down handler and return when the user has finished the shape.
class MapControl : public virtual Object {
public:
  virtual MapPtr Map() const = 0;
  virtual void SetMap(const MapPtr& map) = 0;
  virtual long LayerCount() const = 0;
  virtual LayerPtr Layer(long index) const = 0;
  // Adds on top (index 0) unless toIndex says otherwise.
  virtual void AddLayer(const LayerPtr& layer, long toIndex = 0) = 0;

  virtual EnvelopePtr Extent() const = 0;
  virtual void SetExtent(const EnvelopePtr& extent) = 0;
  virtual EnvelopePtr FullExtent() const = 0;

  // A rectangle dragged by the user (an empty one for a click).
  virtual EnvelopePtr TrackRectangle() = 0;
  // A polygon clicked point by point (finished by a double click).
  virtual PolygonPtr TrackPolygon() = 0;
  // A circle dragged from its centre, as a polygon.
  virtual GeometryPtr TrackCircle() = 0;
  // The interactive pan.
  virtual void Pan() = 0;

  // Redraws the phases given (DrawPhase flags, drawPhaseAll for all).
  virtual void Refresh(long phase = 127) = 0;

  virtual ObjectPtr CurrentTool() const = 0;
  virtual void SetCurrentTool(const ObjectPtr& tool) = 0;
  // One of MousePointerCode; mousePointerCustom uses MouseIcon.
  virtual long MousePointer() const = 0;
  virtual void SetMousePointer(long pointer) = 0;
  virtual ObjectPtr MouseIcon() const = 0;
  virtual void SetMouseIcon(const ObjectPtr& icon) = 0;

  virtual SpatialReferencePtr SpatialReference() const = 0;
  virtual void SetSpatialReference(const SpatialReferencePtr& sr) = 0;
};

using MapControlPtr = std::shared_ptr<MapControl>;

} // namespace tov
