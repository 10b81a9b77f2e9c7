#pragma once
#include "host/gui/tracking/MapTracker.h"

namespace tov {

// A box dragged from the press to the release; a release within a few pixels
// of the press is a click and gives an empty shape.
class RectangleTracker : public MapTracker {
public:
  using MapTracker::MapTracker;
  TrackKind Kind() const override { return TrackKind::Rectangle; }
  TrackedShape Result(const MapViewport& viewport) const override;

protected:
  void PaintBand(QPainter& painter) const override;
};

} // namespace tov
