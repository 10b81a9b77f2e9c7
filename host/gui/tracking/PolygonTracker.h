#pragma once
#include "host/gui/tracking/MapTracker.h"

#include <vector>

namespace tov {

// A ring of vertices: the press that began it, then one per left press; a
// double click adds the last one and closes the ring, Backspace takes back
// the last one placed (never the first). Fewer than three vertices give an
// empty shape.
class PolygonTracker : public MapTracker {
public:
  explicit PolygonTracker(QPointF start) : MapTracker(start), m_vertices{start} {}
  TrackKind Kind() const override { return TrackKind::Polygon; }
  void Press(QPointF at) override;
  bool Release(QPointF at) override;
  bool DoubleClick(QPointF at) override;
  bool DropLastVertex() override;
  TrackedShape Result(const MapViewport& viewport) const override;

protected:
  void PaintBand(QPainter& painter) const override;

private:
  std::vector<QPointF> m_vertices;
};

} // namespace tov
