#pragma once
#include "host/render/ShapeCache.h"
#include "platform/gis/GisForward.h"

#include <QBrush>
#include <QColor>
#include <QPen>
#include <QTransform>

#include <optional>

class QPainter;

namespace tov {

// What a symbol paints with in Qt: the pen, brush and marker, in pixel units
// (shapes are drawn with the map transform applied to the path only, so
// widths stay in pixels). Worked out once per layer and drawing: the
// symbol's getters hand out copies.
class SymbolStyle {
public:
  // The style of symbol; a selection colour, when given, replaces the
  // symbol's colours.
  static SymbolStyle Of(const SymbolPtr& symbol, const QColor* selectionColor = nullptr);

  // Draws the feature's points as markers and its path with pen and brush.
  void Draw(QPainter& painter, const ShapeCache::Feature& feature, const QTransform& toPixel) const;

  const QPen& Pen() const { return m_pen; }
  const QBrush& Brush() const { return m_brush; }

private:
  void DrawMarker(QPainter& painter, const QPointF& at) const;

  QPen m_pen;
  QBrush m_brush;
  MarkerSymbolPtr m_marker;
  std::optional<QColor> m_selection;
};

// The colour of an RgbColor with its transparency as alpha (black when null).
QColor ToQColor(const RgbColorPtr& color);

} // namespace tov
