#include "host/gui/tracking/CircleTracker.h"

#include <QPainter>

#include <cmath>

namespace tov {

double CircleTracker::RadiusPixels() const {
  const QPointF d = m_current - m_start;
  return std::hypot(d.x(), d.y());
}

TrackedShape CircleTracker::Result(const MapViewport& viewport) const {
  TrackedShape shape;
  shape.Kind = TrackKind::Circle;
  const QPointF centre = viewport.ToMap(m_start);
  shape.CenterX = centre.x();
  shape.CenterY = centre.y();
  shape.Radius = RadiusPixels() * viewport.Resolution();
  shape.Empty = shape.Radius <= 0;
  return shape;
}

void CircleTracker::PaintBand(QPainter& painter) const {
  const double r = RadiusPixels();
  painter.drawEllipse(m_start, r, r);
}

} // namespace tov
