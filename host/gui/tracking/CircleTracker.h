#pragma once
#include "host/gui/tracking/MapTracker.h"

namespace tov {

// A circle around the press, its radius reaching the pointer.
class CircleTracker : public MapTracker {
public:
  using MapTracker::MapTracker;
  TrackKind Kind() const override { return TrackKind::Circle; }
  TrackedShape Result(const MapViewport& viewport) const override;

protected:
  void PaintBand(QPainter& painter) const override;

private:
  double RadiusPixels() const;
};

} // namespace tov
