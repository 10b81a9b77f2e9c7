#pragma once
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <QTransform>

namespace tov {

// Where a map extent lands on a device: the extent is fitted into the pixel
// size keeping its aspect and centred, y pointing up on the map.
class MapViewport {
public:
  MapViewport() = default;
  MapViewport(double xMin, double yMin, double xMax, double yMax, QSize size);

  QTransform MapToPixel() const { return m_toPixel; }
  QTransform PixelToMap() const { return m_toPixel.inverted(); }
  QPointF ToPixel(double x, double y) const { return m_toPixel.map(QPointF(x, y)); }
  QPointF ToMap(const QPointF& pixel) const { return m_toPixel.inverted().map(pixel); }
  // The map rectangle the whole device shows (wider or taller than asked).
  QRectF VisibleMapRect() const;
  // Map units per pixel.
  double Resolution() const { return m_resolution; }
  QSize Size() const { return m_size; }

private:
  QTransform m_toPixel;
  double m_resolution = 1;
  QSize m_size;
};

} // namespace tov
