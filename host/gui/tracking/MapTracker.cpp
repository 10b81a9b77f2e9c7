#include "host/gui/tracking/MapTracker.h"

#include "host/gui/tracking/CircleTracker.h"
#include "host/gui/tracking/PolygonTracker.h"
#include "host/gui/tracking/RectangleTracker.h"

#include <QPainter>

namespace tov {

std::unique_ptr<MapTracker> MapTracker::Start(TrackKind kind, QPointF start) {
  switch (kind) {
  case TrackKind::Rectangle: return std::make_unique<RectangleTracker>(start);
  case TrackKind::Polygon: return std::make_unique<PolygonTracker>(start);
  case TrackKind::Circle: return std::make_unique<CircleTracker>(start);
  }
  return nullptr;
}

void MapTracker::Paint(QPainter& painter) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setPen(QPen(QColor(200, 0, 0), 1.5, Qt::DashLine));
  painter.setBrush(QColor(200, 0, 0, 30));
  PaintBand(painter);
  painter.restore();
}

} // namespace tov
