#include "host/render/MapLabels.h"

#include "host/render/SymbolStyle.h"
#include "platform/gis/AnnotationProperties.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/LabelClass.h"
#include "platform/gis/TextSymbol.h"
#include "platform/runtime/TextCase.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>

namespace tov {

std::string ExpandLabelExpression(const std::string& expression,
                                  const std::map<std::string, std::string>& valuesByUpperName) {
  std::string out;
  size_t i = 0;
  while (i < expression.size()) {
    const size_t open = expression.find('[', i);
    if (open == std::string::npos) {
      out += expression.substr(i);
      break;
    }
    const size_t close = expression.find(']', open);
    if (close == std::string::npos) {
      out += expression.substr(i);
      break;
    }
    out += expression.substr(i, open - i);
    auto it = valuesByUpperName.find(UpperCase(expression.substr(open + 1, close - open - 1)));
    if (it != valuesByUpperName.end()) out += it->second;
    i = close + 1;
  }
  return out;
}

std::vector<std::string> LabelExpressionFields(const std::string& expression) {
  std::vector<std::string> names;
  size_t i = 0;
  while ((i = expression.find('[', i)) != std::string::npos) {
    const size_t close = expression.find(']', i);
    if (close == std::string::npos) break;
    names.push_back(expression.substr(i + 1, close - i - 1));
    i = close + 1;
  }
  return names;
}

LabelClassPtr MapLabels::LabelClassAt(const FeatureLayerPtr& layer, double scale) {
  if (!layer->DisplayAnnotation()) return nullptr;
  auto props = layer->AnnotationProperties();
  if (!props) return nullptr;
  for (long i = 0; i < props->Count(); ++i) {
    auto lc = props->Item(i);
    if (!lc || lc->Expression().empty()) continue;
    const double minScale = lc->MinimumScale(), maxScale = lc->MaximumScale();
    if (minScale > 0 && scale > minScale) continue;
    if (maxScale > 0 && scale < maxScale) continue;
    return lc;
  }
  return nullptr;
}

void MapLabels::Add(const ShapeCache::Shapes& shapes, const std::vector<std::string>& labels,
                    LabelClassPtr labelClass) {
  m_layers.push_back(Layer{&shapes, &labels, std::move(labelClass)});
}

bool MapLabels::Fits(const QRectF& box, const ShapeCache::Feature& feature, long shapeType,
                     const MapViewport& viewport) {
  if (!QRectF(QPointF(0, 0), viewport.Size()).contains(box)) return false;
  if (shapeType != geometryPolygon || feature.path.isEmpty()) return true;
  return feature.path.contains(viewport.PixelToMap().mapRect(box));
}

namespace {

QFont FontOf(const TextSymbolPtr& symbol) {
  QFont font(symbol && !symbol->FontName().empty() ? QString::fromStdString(symbol->FontName())
                                                   : QStringLiteral("DejaVu Sans"));
  font.setPointSizeF(symbol && symbol->Size() > 0 ? symbol->Size() : 8);
  return font;
}

QColor ColourOf(const TextSymbolPtr& symbol) { return symbol ? ToQColor(symbol->Color()) : QColor(Qt::black); }

} // namespace

MapLabels::Key MapLabels::KeyOf(const MapViewport& viewport) const {
  Key key;
  const QTransform t = viewport.MapToPixel();
  key.numbers = {t.m11(), t.m12(), t.m21(), t.m22(), t.dx(), t.dy(), double(viewport.Size().width()),
                 double(viewport.Size().height())};
  for (const Layer& layer : m_layers) {
    const TextSymbolPtr symbol = layer.labelClass->TextSymbol();
    const QFont font = FontOf(symbol);
    key.numbers.push_back(font.pointSizeF());
    key.numbers.push_back(static_cast<double>(ColourOf(symbol).rgba()));
    key.numbers.push_back(static_cast<double>(layer.shapes->generation));
    key.sources.push_back(layer.shapes);
    key.sources.push_back(layer.labels);
    key.fonts.push_back(font.family().toStdString());
  }
  return key;
}

std::vector<MapLabels::Placed> MapLabels::Place(const MapViewport& viewport) const {
  const QRectF visible = viewport.VisibleMapRect();
  const QTransform toPixel = viewport.MapToPixel();
  std::vector<Placed> placed;
  std::vector<QRectF> taken;
  for (const Layer& layer : m_layers) {
    const TextSymbolPtr symbol = layer.labelClass->TextSymbol();
    const QFont font = FontOf(symbol);
    const QColor colour = ColourOf(symbol);
    const QFontMetricsF metrics(font);
    const auto& features = layer.shapes->features;
    for (size_t i = 0; i < features.size(); ++i) {
      const std::string& label = (*layer.labels)[i];
      if (label.empty() || !visible.contains(features[i].labelAt)) continue;
      const QString text = QString::fromStdString(label);
      const QRectF textBox = metrics.tightBoundingRect(text); // relative to the baseline's start
      const QPointF origin = toPixel.map(features[i].labelAt) - textBox.center();
      const QRectF box = textBox.translated(origin).adjusted(-1.5, -1.5, 1.5, 1.5);
      if (!Fits(box, features[i], layer.shapes->shapeType, viewport)) continue;
      if (std::any_of(taken.begin(), taken.end(), [&](const QRectF& r) { return r.intersects(box); })) continue;
      taken.push_back(box);
      QPainterPath path;
      path.addText(origin, font, text);
      placed.push_back(Placed{std::move(path), colour});
    }
  }
  return placed;
}

void MapLabels::Paint(QPainter& painter, const std::vector<Placed>& placed) {
  painter.save();
  // A light halo keeps the text readable over outlines.
  const QPen halo(QColor(255, 255, 255, 220), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  for (const Placed& label : placed) {
    painter.strokePath(label.text, halo);
    painter.fillPath(label.text, label.colour);
  }
  painter.restore();
}

void MapLabels::Draw(QPainter& painter, const MapViewport& viewport) const { Paint(painter, Place(viewport)); }

} // namespace tov
