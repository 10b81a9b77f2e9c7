#include "host/render/MapRenderer.h"

#include "host/gis/HostFeatureClass.h"
#include "host/gis/HostSpatialReference.h"
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/AnnotationProperties.h"
#include "platform/gis/EnumElement.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/GraphicElement.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/LabelClass.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/Map.h"
#include "platform/gis/MarkerSymbol.h"
#include "platform/gis/RgbColor.h"
#include "platform/gis/SelectionSet.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/gis/SpatialReference.h"
#include "platform/gis/TextSymbol.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cmath>
#include <optional>
#include <set>
#include <unordered_map>

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

QColor ToQColor(const RgbColorPtr& color) {
  if (!color) return QColor(0, 0, 0);
  return QColor(static_cast<int>(color->Red()), static_cast<int>(color->Green()), static_cast<int>(color->Blue()),
                color->Transparency());
}

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

namespace {

std::vector<std::string> FieldsOf(const std::string& expression) {
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

void AddRing(QPainterPath& path, const OGRLineString* ring, bool close) {
  const int n = ring ? ring->getNumPoints() : 0;
  if (n == 0) return;
  path.moveTo(ring->getX(0), ring->getY(0));
  for (int i = 1; i < n; ++i) path.lineTo(ring->getX(i), ring->getY(i));
  if (close) path.closeSubpath();
}

using CachedFeature = MapRenderer::CachedFeature;

void AddGeometry(const OGRGeometry* g, CachedFeature& f) {
  if (!g || g->IsEmpty()) return;
  switch (wkbFlatten(g->getGeometryType())) {
  case wkbPoint: {
    auto p = g->toPoint();
    f.points.emplace_back(p->getX(), p->getY());
    break;
  }
  case wkbLineString:
    AddRing(f.path, g->toLineString(), false);
    break;
  case wkbPolygon: {
    auto poly = g->toPolygon();
    AddRing(f.path, poly->getExteriorRing(), true);
    for (int i = 0; i < poly->getNumInteriorRings(); ++i) AddRing(f.path, poly->getInteriorRing(i), true);
    break;
  }
  case wkbMultiPoint:
  case wkbMultiLineString:
  case wkbMultiPolygon:
  case wkbGeometryCollection: {
    auto c = g->toGeometryCollection();
    for (int i = 0; i < c->getNumGeometries(); ++i) AddGeometry(c->getGeometryRef(i), f);
    break;
  }
  default:
    break;
  }
}

void Finish(CachedFeature& f) {
  f.path.setFillRule(Qt::OddEvenFill);
  QRectF b = f.path.boundingRect();
  for (const QPointF& p : f.points) b = b.isNull() ? QRectF(p, QSizeF(0, 0)) : b.united(QRectF(p, QSizeF(0, 0)));
  f.bounds = b;
  f.labelAt = f.points.empty() ? b.center() : f.points.front();
}

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

// Pens and brushes in pixel units; shapes are drawn with the map transform
// applied to the path only so that widths stay in pixels.
void DrawMarker(QPainter& painter, const QPointF& at, const MarkerSymbolPtr& marker, const QColor* override) {
  const double size = marker ? std::max(marker->Size(), 1.0) : 6.0;
  const long style = marker ? marker->Style() : orvaSMSCircle;
  QColor fill = override ? *override : (marker ? ToQColor(marker->Color()) : QColor(Qt::black));
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

// The pen, brush and marker a symbol paints with; a selection colour, when
// given, replaces the symbol's colours. Worked out once per layer and draw:
// the symbol's getters hand out copies.
struct ShapeStyle {
  QPen pen;
  QBrush brush;
  MarkerSymbolPtr marker;
  std::optional<QColor> selection;
};

ShapeStyle StyleOf(const SymbolPtr& symbol, const QColor* selectionColor) {
  ShapeStyle style;
  style.marker = std::dynamic_pointer_cast<MarkerSymbol>(symbol);
  if (selectionColor) style.selection = *selectionColor;
  if (auto fill = std::dynamic_pointer_cast<FillSymbol>(symbol)) {
    if (selectionColor) {
      style.pen = QPen(*selectionColor, 2);
      QColor inside = *selectionColor;
      inside.setAlpha(60);
      style.brush = inside;
    } else {
      style.pen = PenOf(fill->Outline());
      QColor c = ToQColor(fill->Color());
      style.brush = c.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(c, BrushOf(fill->Style()));
    }
    return style;
  }
  style.brush = QBrush(Qt::NoBrush);
  if (selectionColor) style.pen = QPen(*selectionColor, 2);
  else if (auto line = std::dynamic_pointer_cast<LineSymbol>(symbol)) style.pen = PenOf(line);
  else style.pen = QPen(Qt::black, 1);
  return style;
}

void DrawShape(QPainter& painter, const CachedFeature& f, const ShapeStyle& style, const QTransform& toPixel) {
  for (const QPointF& p : f.points)
    DrawMarker(painter, toPixel.map(p), style.marker, style.selection ? &*style.selection : nullptr);
  if (f.path.isEmpty()) return;
  painter.setPen(style.pen);
  painter.setBrush(style.brush);
  painter.drawPath(toPixel.map(f.path));
}

// The transformation from a layer's system into the map's, or null when no
// change is needed.
std::unique_ptr<OGRCoordinateTransformation> LayerToMap(const SpatialReferencePtr& layer, const SpatialReferencePtr& map) {
  if (!layer || !map || SameSystem(layer, map)) return nullptr;
  return TransformationBetween(layer, map, "MapRenderer");
}

// The label class in force at scale (the first one whose range holds it).
LabelClassPtr LabelClassAt(const FeatureLayerPtr& layer, double scale) {
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

} // namespace

MapRenderer::MapRenderer() = default;
MapRenderer::~MapRenderer() = default;

void MapRenderer::ClearCache() { m_cache.clear(); }

MapRenderer::CachedClass* MapRenderer::ShapesOf(const FeatureLayerPtr& layer, const Map& map) {
  auto fc = std::dynamic_pointer_cast<HostFeatureClass>(layer->FeatureClass());
  if (!fc) return nullptr;
  OGRLayer* ogr = fc->Layer();
  const long long count = ogr->GetFeatureCount(TRUE);
  auto it = m_cache.find(fc.get());
  if (it != m_cache.end()) {
    CachedClass& c = it->second;
    if (c.owner.lock() == std::static_pointer_cast<Object>(fc) && c.mapSystem == map.SpatialReference() &&
        c.featureCount == count)
      return &c;
    m_cache.erase(it);
  }
  CachedClass c;
  c.owner = std::static_pointer_cast<Object>(fc);
  c.mapSystem = map.SpatialReference();
  c.shapeType = fc->ShapeType();
  c.featureCount = count;
  auto transform = LayerToMap(fc->SpatialReference(), c.mapSystem);
  fc->ClearFilter();
  for (auto& feature : *ogr) {
    OGRGeometry* g = feature->GetGeometryRef();
    if (!g) continue;
    if (transform && g->transform(transform.get()) != OGRERR_NONE) continue;
    CachedFeature f;
    f.oid = static_cast<long>(feature->GetFID());
    AddGeometry(g, f);
    Finish(f);
    c.features.push_back(std::move(f));
  }
  fc->ClearFilter();
  return &(m_cache[fc.get()] = std::move(c));
}

const std::vector<std::string>& MapRenderer::LabelsOf(CachedClass& c, const FeatureLayerPtr& layer,
                                                      const std::string& expression) {
  auto known = c.labels.find(expression);
  if (known != c.labels.end()) return known->second;
  auto fc = std::dynamic_pointer_cast<HostFeatureClass>(layer->FeatureClass());
  std::vector<std::string> labels(c.features.size());
  OGRLayer* ogr = fc->Layer();
  std::vector<std::pair<std::string, int>> fields;
  OGRFeatureDefn* defn = ogr->GetLayerDefn();
  for (const std::string& name : FieldsOf(expression)) {
    const int index = defn->GetFieldIndex(name.c_str());
    if (index >= 0) fields.emplace_back(UpperCase(name), index);
  }
  if (!fields.empty()) {
    std::unordered_map<long, size_t> indexOf;
    for (size_t i = 0; i < c.features.size(); ++i) indexOf[c.features[i].oid] = i;
    // A polygon's label goes on a point inside it, found once, with the
    // first labels read.
    const bool placeInside = c.shapeType == geometryPolygon && !c.labelsPlaced;
    auto transform = placeInside ? LayerToMap(fc->SpatialReference(), c.mapSystem) : nullptr;
    fc->ClearFilter();
    for (auto& feature : *ogr) {
      auto at = indexOf.find(static_cast<long>(feature->GetFID()));
      if (at == indexOf.end()) continue;
      CachedFeature& f = c.features[at->second];
      std::map<std::string, std::string> values;
      for (auto& [name, index] : fields) values[name] = feature->GetFieldAsString(index);
      labels[at->second] = ExpandLabelExpression(expression, values);
      OGRGeometry* g = placeInside && f.points.empty() ? feature->GetGeometryRef() : nullptr;
      if (!g || (transform && g->transform(transform.get()) != OGRERR_NONE)) continue;
      OGRPoint inside;
      const auto type = wkbFlatten(g->getGeometryType());
      OGRErr err = OGRERR_FAILURE;
      if (type == wkbPolygon) err = g->toPolygon()->PointOnSurface(&inside);
      else if (type == wkbMultiPolygon) err = g->toMultiPolygon()->PointOnSurface(&inside);
      if (err == OGRERR_NONE) f.labelAt = QPointF(inside.getX(), inside.getY());
    }
    fc->ClearFilter();
    c.labelsPlaced = c.labelsPlaced || placeInside;
  }
  return c.labels[expression] = std::move(labels);
}

double MapRenderer::ScaleOf(const Map& map, const MapViewport& viewport) {
  double metresPerUnit = 1;
  auto sr = map.SpatialReference();
  if (sr && sr->IsGeographic()) {
    const double lat = viewport.VisibleMapRect().center().y() * M_PI / 180;
    metresPerUnit = 111320.0 * std::max(std::cos(lat), 0.01);
  } else if (const OGRSpatialReference* o = HostSpatialReference::OgrOf(sr)) {
    metresPerUnit = o->GetLinearUnits();
  }
  const double metresPerPixel = 0.0254 / 96;
  return viewport.Resolution() * metresPerUnit / metresPerPixel;
}

void MapRenderer::DrawLayer(QPainter& painter, const LayerPtr& layer, const Map& map, const MapViewport& viewport,
                            double scale, long phases, std::vector<PendingLabels>& labelled) {
  if (!layer || !layer->Visible()) return;
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    for (long i = group->Count() - 1; i >= 0; --i)
      DrawLayer(painter, group->Layer(i), map, viewport, scale, phases, labelled);
    return;
  }
  auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer);
  if (!fl || !fl->Valid() || !fl->FeatureClass()) return;
  try {
    CachedClass* shapes = ShapesOf(fl, map);
    if (!shapes) return;
    const QRectF visible = viewport.VisibleMapRect();
    const QTransform toPixel = viewport.MapToPixel();
    auto renderer = fl->Renderer();
    const SymbolPtr symbol = renderer ? renderer->Symbol() : nullptr;
    if (phases & drawPhaseGeography) {
      const ShapeStyle style = StyleOf(symbol, nullptr);
      for (const CachedFeature& f : shapes->features)
        if (f.bounds.intersects(visible) || f.bounds.isEmpty()) DrawShape(painter, f, style, toPixel);
    }
    if (phases & drawPhaseGeoSelection) {
      auto selection = fl->SelectionSet();
      if (selection && selection->Count() > 0) {
        const auto ids = selection->IDs();
        const std::set<long> wanted(ids.begin(), ids.end());
        const QColor colour = fl->SelectionColor() ? ToQColor(fl->SelectionColor()) : QColor(0, 255, 255);
        const ShapeStyle style = StyleOf(symbol, &colour);
        for (const CachedFeature& f : shapes->features)
          if (wanted.count(f.oid)) DrawShape(painter, f, style, toPixel);
      }
    }
    if (phases & drawPhaseLabels)
      if (auto lc = LabelClassAt(fl, scale)) labelled.push_back({shapes, &LabelsOf(*shapes, fl, lc->Expression()), lc});
  } catch (const HostError& e) {
    m_errors.push_back(layer->Name() + ": " + e.Description());
  }
}

void MapRenderer::DrawLabels(QPainter& painter, const std::vector<PendingLabels>& layers, const MapViewport& viewport) {
  const QRectF visible = viewport.VisibleMapRect();
  const QTransform toPixel = viewport.MapToPixel();
  std::vector<QRectF> placed;
  for (const PendingLabels& layer : layers) {
    auto symbol = layer.labelClass->TextSymbol();
    QFont font(symbol && !symbol->FontName().empty() ? QString::fromStdString(symbol->FontName())
                                                     : QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(symbol && symbol->Size() > 0 ? symbol->Size() : 8);
    painter.setFont(font);
    painter.setPen(symbol ? ToQColor(symbol->Color()) : QColor(Qt::black));
    const QFontMetricsF metrics(font);
    const auto& features = layer.shapes->features;
    for (size_t i = 0; i < features.size(); ++i) {
      const std::string& label = (*layer.labels)[i];
      if (label.empty() || !visible.contains(features[i].labelAt)) continue;
      const QString text = QString::fromStdString(label);
      const QPointF at = toPixel.map(features[i].labelAt);
      QRectF box = metrics.boundingRect(text);
      box.moveCenter(at);
      // Labels that would overlap one already drawn are left out.
      if (std::any_of(placed.begin(), placed.end(), [&](const QRectF& r) { return r.intersects(box); })) continue;
      placed.push_back(box);
      painter.drawText(box, Qt::AlignCenter, text);
    }
  }
}

void MapRenderer::DrawGraphics(QPainter& painter, const Map& map, const MapViewport& viewport, long phases) {
  const QTransform toPixel = viewport.MapToPixel();
  std::set<const GraphicElement*> selected;
  if (auto e = map.SelectedElements()) {
    e->Reset();
    while (auto el = e->Next()) selected.insert(el.get());
  }
  for (long i = 0; i < map.ElementCount(); ++i) {
    auto element = map.Element(i);
    if (!element) continue;
    auto ogr = OgrGeometryOf(element->Geometry());
    if (!ogr) continue;
    CachedFeature f;
    AddGeometry(ogr.get(), f);
    Finish(f);
    if (phases & drawPhaseGraphics) {
      SymbolPtr symbol = element->Symbol();
      if (!symbol && !f.path.isEmpty()) {
        painter.setPen(QPen(Qt::black, 1));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(toPixel.map(f.path));
      } else {
        DrawShape(painter, f, StyleOf(symbol, nullptr), toPixel);
      }
    }
    if ((phases & drawPhaseGraphicSelection) && selected.count(element.get())) {
      // Selected graphics get handles at the corners of their box.
      const QRectF box = toPixel.mapRect(f.bounds);
      painter.setPen(QPen(QColor(0, 160, 255), 1, Qt::DashLine));
      painter.setBrush(Qt::NoBrush);
      painter.drawRect(box);
      painter.setPen(Qt::NoPen);
      painter.setBrush(QColor(0, 160, 255));
      for (const QPointF& c : {box.topLeft(), box.topRight(), box.bottomLeft(), box.bottomRight()})
        painter.drawRect(QRectF(c.x() - 3, c.y() - 3, 6, 6));
    }
  }
}

void MapRenderer::Draw(QPainter& painter, const Map& map, const MapViewport& viewport, long phases) {
  m_errors.clear();
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing, true);
  if (phases & drawPhaseBackground) painter.fillRect(QRectF(QPointF(0, 0), viewport.Size()), Qt::white);
  const double scale = ScaleOf(map, viewport);
  std::vector<PendingLabels> labelled;
  for (long i = map.LayerCount() - 1; i >= 0; --i)
    DrawLayer(painter, map.Layer(i), map, viewport, scale, phases, labelled);
  if (phases & (drawPhaseGraphics | drawPhaseGraphicSelection)) DrawGraphics(painter, map, viewport, phases);
  if (phases & drawPhaseLabels) DrawLabels(painter, labelled, viewport);
  painter.restore();
}

} // namespace tov
