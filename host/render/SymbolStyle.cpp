#include "host/render/SymbolStyle.h"

#include "platform/gis/FillSymbol.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/MarkerSymbol.h"
#include "platform/gis/RgbColor.h"

#include <QPainter>
#include <QPolygonF>

#include <algorithm>

namespace tov {

QColor ToQColor(const RgbColorPtr& color) {
  if (!color) return QColor(0, 0, 0);
  return QColor(static_cast<int>(color->Red()), static_cast<int>(color->Green()), static_cast<int>(color->Blue()),
                color->Transparency());
}

namespace {

Qt::BrushStyle BrushOf(long style) {
  switch (style) {
  case orvaSFSSolid: return Qt::SolidPattern;
  case orvaSFSHollow: return Qt::NoBrush;
  case orvaSFSHorizontal: return Qt::HorPattern;
  case orvaSFSVertical: return Qt::VerPattern;
  case orvaSFSForwardDiagonal: return Qt::FDiagPattern;
  case orvaSFSBackwardDiagonal: return Qt::BDiagPattern;
  case orvaSFSCross: return Qt::CrossPattern;
  case orvaSFSDiagonalCross: return Qt::DiagCrossPattern;
  default: return Qt::SolidPattern;
  }
}

Qt::PenStyle PenStyleOf(long style) {
  switch (style) {
  case orvaSLSDash: return Qt::DashLine;
  case orvaSLSDot: return Qt::DotLine;
  case orvaSLSDashDot: return Qt::DashDotLine;
  case orvaSLSDashDotDot: return Qt::DashDotDotLine;
  case orvaSLSNull: return Qt::NoPen;
  default: return Qt::SolidLine;
  }
}

QPen PenOf(const LineSymbolPtr& line) {
  if (!line) return QPen(Qt::NoPen);
  QColor c = ToQColor(line->Color());
  if (c.alpha() == 0) return QPen(Qt::NoPen);
  QPen pen(c, std::max(line->Width(), 0.0), PenStyleOf(line->Style()));
  pen.setCosmetic(true);
  if (line->Width() <= 0) pen.setStyle(Qt::NoPen);
  return pen;
}

} // namespace

SymbolStyle SymbolStyle::Of(const SymbolPtr& symbol, const QColor* selectionColor) {
  SymbolStyle style;
  style.m_marker = std::dynamic_pointer_cast<MarkerSymbol>(symbol);
  if (selectionColor) style.m_selection = *selectionColor;
  if (auto fill = std::dynamic_pointer_cast<FillSymbol>(symbol)) {
    if (selectionColor) {
      style.m_pen = QPen(*selectionColor, 2);
      QColor inside = *selectionColor;
      inside.setAlpha(60);
      style.m_brush = inside;
    } else {
      style.m_pen = PenOf(fill->Outline());
      QColor c = ToQColor(fill->Color());
      style.m_brush = c.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(c, BrushOf(fill->Style()));
    }
    return style;
  }
  style.m_brush = QBrush(Qt::NoBrush);
  if (selectionColor) style.m_pen = QPen(*selectionColor, 2);
  else if (auto line = std::dynamic_pointer_cast<LineSymbol>(symbol)) style.m_pen = PenOf(line);
  else style.m_pen = QPen(Qt::black, 1);
  return style;
}

void SymbolStyle::DrawMarker(QPainter& painter, const QPointF& at) const {
  const MarkerSymbolPtr& marker = m_marker;
  const double size = marker ? std::max(marker->Size(), 1.0) : 6.0;
  const long style = marker ? marker->Style() : orvaSMSCircle;
  QColor fill = m_selection ? *m_selection : (marker ? ToQColor(marker->Color()) : QColor(Qt::black));
  QPen pen(Qt::NoPen);
  if (marker && marker->Outline()) pen = QPen(ToQColor(marker->OutlineColor()), std::max(marker->OutlineSize(), 0.5));
  const double r = size / 2;
  QRectF box(at.x() - r, at.y() - r, size, size);
  switch (style) {
  case orvaSMSSquare:
    painter.setPen(pen);
    painter.setBrush(fill);
    painter.drawRect(box);
    break;
  case orvaSMSCross:
  case orvaSMSX: {
    painter.setPen(QPen(fill, std::max(1.0, size / 6)));
    if (style == orvaSMSCross) {
      painter.drawLine(QPointF(at.x() - r, at.y()), QPointF(at.x() + r, at.y()));
      painter.drawLine(QPointF(at.x(), at.y() - r), QPointF(at.x(), at.y() + r));
    } else {
      painter.drawLine(box.topLeft(), box.bottomRight());
      painter.drawLine(box.bottomLeft(), box.topRight());
    }
    break;
  }
  case orvaSMSDiamond: {
    QPolygonF d;
    d << QPointF(at.x(), at.y() - r) << QPointF(at.x() + r, at.y()) << QPointF(at.x(), at.y() + r)
      << QPointF(at.x() - r, at.y());
    painter.setPen(pen);
    painter.setBrush(fill);
    painter.drawPolygon(d);
    break;
  }
  default:
    painter.setPen(pen);
    painter.setBrush(fill);
    painter.drawEllipse(box);
    break;
  }
}

void SymbolStyle::Draw(QPainter& painter, const ShapeCache::Feature& f, const QTransform& toPixel) const {
  for (const QPointF& p : f.points) DrawMarker(painter, toPixel.map(p));
  if (f.path.isEmpty()) return;
  painter.setPen(m_pen);
  painter.setBrush(m_brush);
  painter.drawPath(toPixel.map(f.path));
}

} // namespace tov
