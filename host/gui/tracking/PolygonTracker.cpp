#include "host/gui/tracking/PolygonTracker.h"

#include <QPainter>
#include <QPolygonF>

namespace tov {

void PolygonTracker::Press(QPointF at) {
  m_vertices.push_back(at);
  m_current = at;
}

bool PolygonTracker::Release(QPointF at) {
  m_current = at;
  return false; // a ring ends with a double click
}

bool PolygonTracker::DoubleClick(QPointF at) {
  // The press of a double click already added the vertex once.
  if (m_vertices.empty() || m_vertices.back() != at) m_vertices.push_back(at);
  return true;
}

bool PolygonTracker::DropLastVertex() {
  if (m_vertices.size() < 2) return false;
  m_vertices.pop_back();
  return true;
}

TrackedShape PolygonTracker::Result(const MapViewport& viewport) const {
  TrackedShape shape;
  shape.Kind = TrackKind::Polygon;
  for (const QPointF& p : m_vertices) {
    const QPointF m = viewport.ToMap(p);
    shape.Points.emplace_back(m.x(), m.y());
  }
  shape.Closed = true;
  shape.Empty = shape.Points.size() < 3;
  return shape;
}

void PolygonTracker::PaintBand(QPainter& painter) const {
  QPolygonF band(QVector<QPointF>(m_vertices.begin(), m_vertices.end()));
  band << m_current;
  painter.drawPolygon(band);
}

} // namespace tov
