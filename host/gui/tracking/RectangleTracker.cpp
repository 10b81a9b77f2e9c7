#include "host/gui/tracking/RectangleTracker.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace tov {

namespace {
constexpr double kClickPixels = 3;
}

TrackedShape RectangleTracker::Result(const MapViewport& viewport) const {
  TrackedShape shape;
  shape.Kind = TrackKind::Rectangle;
  const QPointF d = m_current - m_start;
  if (std::abs(d.x()) < kClickPixels && std::abs(d.y()) < kClickPixels) return shape;
  const QPointF a = viewport.ToMap(m_start), b = viewport.ToMap(m_current);
  shape.XMin = std::min(a.x(), b.x());
  shape.XMax = std::max(a.x(), b.x());
  shape.YMin = std::min(a.y(), b.y());
  shape.YMax = std::max(a.y(), b.y());
  shape.Empty = false;
  return shape;
}

void RectangleTracker::PaintBand(QPainter& painter) const { painter.drawRect(QRectF(m_start, m_current).normalized()); }

} // namespace tov
