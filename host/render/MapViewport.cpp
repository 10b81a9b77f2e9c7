#include "host/render/MapViewport.h"

#include <algorithm>

namespace tov {

MapViewport::MapViewport(double xMin, double yMin, double xMax, double yMax, QSize size) : m_size(size) {
  const double w = std::max(xMax - xMin, 1e-12);
  const double h = std::max(yMax - yMin, 1e-12);
  const double sx = std::max(size.width(), 1) / w;
  const double sy = std::max(size.height(), 1) / h;
  const double s = std::min(sx, sy);
  m_resolution = 1.0 / s;
  const double cx = (xMin + xMax) / 2, cy = (yMin + yMax) / 2;
  // pixel = (x - cx) * s + W/2 ; pixel_y = (cy - y) * s + H/2
  m_toPixel = QTransform(s, 0, 0, -s, size.width() / 2.0 - cx * s, size.height() / 2.0 + cy * s);
}

QRectF MapViewport::VisibleMapRect() const {
  return PixelToMap().mapRect(QRectF(0, 0, m_size.width(), m_size.height()));
}

} // namespace tov
