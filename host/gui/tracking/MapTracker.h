#pragma once
#include "host/render/MapViewport.h"
#include "platform/forms/TrackedShape.h"

#include <QPointF>

#include <memory>

class QPainter;

namespace tov {

// One shape being tracked on a map canvas: it follows the pointer from the
// press that began it, draws itself as a rubber band, and hands back the
// shape in map coordinates. It does nothing with the shape.
class MapTracker {
public:
  explicit MapTracker(QPointF start) : m_start(start), m_current(start) {}
  virtual ~MapTracker() = default;

  // A tracker of kind starting at the pixel start.
  static std::unique_ptr<MapTracker> Start(TrackKind kind, QPointF start);

  virtual TrackKind Kind() const = 0;
  // Pointer events while tracking; Release and DoubleClick return true when
  // they end the track.
  virtual void Press(QPointF) {}
  void Move(QPointF at) { m_current = at; }
  virtual bool Release(QPointF at) {
    m_current = at;
    return true;
  }
  virtual bool DoubleClick(QPointF) { return false; }
  // Backspace: takes back the last vertex placed; false when there is none
  // to take back.
  virtual bool DropLastVertex() { return false; }
  // Draws the rubber band on the canvas.
  void Paint(QPainter& painter) const;
  // The finished shape in map units (Empty for a plain click).
  virtual TrackedShape Result(const MapViewport& viewport) const = 0;

protected:
  virtual void PaintBand(QPainter& painter) const = 0;

  QPointF m_start;
  QPointF m_current;
};

} // namespace tov
