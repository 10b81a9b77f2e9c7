#include "host/render/MapDecorations.h"

#include "host/render/MapRenderer.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <sstream>

namespace tov {

namespace {

constexpr double kMetresPerInch = 0.0254;
constexpr double kPixelsPerInch = 96;
constexpr double kMargin = 8;

// The largest 1, 2 or 5 times a power of ten not above value (value > 0).
double RoundDown(double value) {
  const double power = std::pow(10.0, std::floor(std::log10(value)));
  for (double step : {5.0, 2.0, 1.0})
    if (step * power <= value * (1 + 1e-9)) return step * power;
  return power;
}

double MetresPerPixel(const Map& map, const MapViewport& viewport) {
  return MapRenderer::ScaleOf(map, viewport) * kMetresPerInch / kPixelsPerInch;
}

double MaxBarPixels(QSize size) { return std::clamp(size.width() / 4.0, 40.0, 160.0); }

QFont DecorationFont() {
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(7.5);
  return font;
}

} // namespace

std::string MapDecorations::Bar::Label() const {
  std::ostringstream text;
  text << length << " " << unit;
  return text.str();
}

MapDecorations::Bar MapDecorations::FitBar(double metresPerPixel, double maxPixels, double largeUnitMetres,
                                           const std::string& largeUnit, double smallUnitMetres,
                                           const std::string& smallUnit) {
  Bar bar;
  if (!(metresPerPixel > 0) || !std::isfinite(metresPerPixel) || !(maxPixels > 0)) return bar;
  const double longest = metresPerPixel * maxPixels;
  const bool large = longest >= largeUnitMetres;
  const double unitMetres = large ? largeUnitMetres : smallUnitMetres;
  const double length = RoundDown(longest / unitMetres);
  if (!large && length < 1) return bar;
  bar.length = length;
  bar.unit = large ? largeUnit : smallUnit;
  bar.pixels = length * unitMetres / metresPerPixel;
  return bar;
}

MapDecorations::Bar MapDecorations::MetricBar(const Map& map, const MapViewport& viewport, double maxPixels) {
  return FitBar(MetresPerPixel(map, viewport), maxPixels, 1000, "km", 1, "m");
}

MapDecorations::Bar MapDecorations::ImperialBar(const Map& map, const MapViewport& viewport, double maxPixels) {
  return FitBar(MetresPerPixel(map, viewport), maxPixels, 1609.344, "mi", 0.3048, "ft");
}

void MapDecorations::Draw(QPainter& painter, const Map& map, const MapViewport& viewport,
                          const std::string& attribution) {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  const QFont font = DecorationFont();
  painter.setFont(font);
  const QFontMetricsF metrics(font);
  const QSize size = viewport.Size();
  const double line = metrics.height();

  QRectF credit;
  QString creditText;
  if (!attribution.empty()) {
    creditText = metrics.elidedText(QString::fromStdString(attribution), Qt::ElideRight, size.width() - 2 * kMargin);
    credit = QRectF(0, 0, metrics.horizontalAdvance(creditText) + 8, line + 2);
    credit.moveBottomRight(QPointF(size.width() - 2, size.height() - 2));
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 200));
    painter.drawRect(credit);
    painter.setPen(QColor(70, 70, 70));
    painter.drawText(credit, Qt::AlignCenter, creditText);
  }

  const double maxPixels = MaxBarPixels(size);
  const Bar bars[] = {MetricBar(map, viewport, maxPixels), ImperialBar(map, viewport, maxPixels)};
  if (bars[0].pixels > 0 && bars[1].pixels > 0) {
    double labelWidth = 0;
    for (const Bar& bar : bars)
      labelWidth = std::max(labelWidth, metrics.horizontalAdvance(QString::fromStdString(bar.Label())));
    const double longest = std::max(bars[0].pixels, bars[1].pixels);
    QRectF panel(kMargin, size.height() - kMargin - 2 * line - 10, longest + labelWidth + 18, 2 * line + 10);
    if (!credit.isNull() && panel.intersects(credit)) panel.moveBottom(credit.top() - 4);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 210));
    painter.drawRoundedRect(panel, 3, 3);
    // One baseline for both bars, each length ending at its tick and label:
    // kilometres above it, miles below.
    const double x0 = panel.left() + 6, y = panel.top() + 5 + line;
    painter.setPen(QPen(QColor(40, 40, 40), 1.5));
    painter.drawLine(QPointF(x0, y), QPointF(x0 + longest, y));
    for (int i = 0; i < 2; ++i) {
      const double tick = i == 0 ? -line * 0.6 : line * 0.6;
      for (double x : {x0, x0 + bars[i].pixels}) painter.drawLine(QPointF(x, y), QPointF(x, y + tick));
      const QRectF text(x0 + bars[i].pixels + 4, i == 0 ? y - line - 1 : y + 1, labelWidth + 4, line);
      painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter, QString::fromStdString(bars[i].Label()));
    }
  }
  painter.restore();
}

} // namespace tov
