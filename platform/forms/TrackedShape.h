#pragma once
#include <utility>
#include <vector>

namespace tov {

enum class TrackKind { Rectangle, Polygon, Circle };

// What a map control's interactive track call hands back, in map units,
// before the map control turns it into its own geometry. Empty means the
// user only clicked (or gave up).
struct TrackedShape {
  TrackKind Kind = TrackKind::Rectangle;
  bool Empty = true;
  // Rectangle
  double XMin = 0, YMin = 0, XMax = 0, YMax = 0;
  // Polygon vertices in order; Closed when the user finished the ring.
  std::vector<std::pair<double, double>> Points;
  bool Closed = false;
  // Circle
  double CenterX = 0, CenterY = 0, Radius = 0;
};

} // namespace tov
