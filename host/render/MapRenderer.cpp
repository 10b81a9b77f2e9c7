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

#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <QFontMetricsF>
#include <QPainter>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <set>

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
    std::string name = expression.substr(open + 1, close - open - 1);
    std::transform(name.begin(), name.end(), name.begin(), [](unsigned char c) { return std::toupper(c); });
    auto it = valuesByUpperName.find(name);
    if (it != valuesByUpperName.end()) out += it->second;
    i = close + 1;
  }
  return out;
}

namespace {

std::string Upper(std::string s) {
  std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return std::toupper(c); });
  return s;
}

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

// Draws one cached shape with a symbol; selectionColor replaces the symbol's
// colours when set.
void DrawShape(QPainter& painter, const CachedFeature& f, const SymbolPtr& symbol, const QTransform& toPixel,
               const QColor* selectionColor) {
  if (!f.points.empty()) {
    auto marker = std::dynamic_pointer_cast<MarkerSymbol>(symbol);
    for (const QPointF& p : f.points) DrawMarker(painter, toPixel.map(p), marker, selectionColor);
  }
  if (f.path.isEmpty()) return;
  const QPainterPath pixels = toPixel.map(f.path);
  if (auto fill = std::dynamic_pointer_cast<FillSymbol>(symbol)) {
    if (selectionColor) {
      QPen pen(*selectionColor, 2);
      painter.setPen(pen);
      QColor inside = *selectionColor;
      inside.setAlpha(60);
      painter.setBrush(inside);
    } else {
      painter.setPen(PenOf(fill->Outline()));
      QColor c = ToQColor(fill->Color());
      painter.setBrush(c.alpha() == 0 ? QBrush(Qt::NoBrush) : QBrush(c, BrushOf(fill->Style())));
    }
    painter.drawPath(pixels);
    return;
  }
  painter.setBrush(Qt::NoBrush);
  if (selectionColor) {
    painter.setPen(QPen(*selectionColor, 2));
  } else if (auto line = std::dynamic_pointer_cast<LineSymbol>(symbol)) {
    painter.setPen(PenOf(line));
  } else {
    painter.setPen(QPen(Qt::black, 1));
  }
  painter.drawPath(pixels);
}

std::unique_ptr<OGRCoordinateTransformation> TransformBetween(const SpatialReferencePtr& from,
                                                              const SpatialReferencePtr& to) {
  if (!from || !to || from->IsSame(to)) return nullptr;
  const OGRSpatialReference* a = HostSpatialReference::OgrOf(from);
  const OGRSpatialReference* b = HostSpatialReference::OgrOf(to);
  if (!a || !b) return nullptr;
  std::unique_ptr<OGRCoordinateTransformation> t(OGRCreateCoordinateTransformation(a, b));
  if (!t) throw HostError(5, "MapRenderer", "The layer's coordinate system cannot be converted into the map's");
  return t;
}

std::string KeyOf(const FeatureClass* fc, const Map& map) {
  auto sr = map.SpatialReference();
  return std::to_string(reinterpret_cast<uintptr_t>(fc)) + "|" + (sr ? sr->ExportToWkt() : std::string());
}

} // namespace

MapRenderer::MapRenderer() = default;
MapRenderer::~MapRenderer() = default;

void MapRenderer::ClearCache() { m_cache.clear(); }

const MapRenderer::CachedClass* MapRenderer::ShapesOf(const FeatureLayerPtr& layer, const Map& map,
                                                      const std::string& labelExpression) {
  FeatureClassPtr fcBase = layer->FeatureClass();
  auto fc = std::dynamic_pointer_cast<HostFeatureClass>(fcBase);
  if (!fc) return nullptr;
  OGRLayer* ogr = fc->Layer();
  const long long count = ogr->GetFeatureCount(TRUE);
  const std::string key = KeyOf(fc.get(), map);
  auto it = m_cache.find(key);
  if (it != m_cache.end()) {
    CachedClass& c = it->second;
    if (!c.owner.expired() && c.owner.lock().get() == static_cast<Object*>(fc.get()) && c.featureCount == count &&
        c.labelExpression == labelExpression)
      return &c;
    m_cache.erase(it);
  }
  CachedClass c;
  c.owner = std::static_pointer_cast<Object>(fc);
  c.shapeType = fc->ShapeType();
  c.featureCount = count;
  c.labelExpression = labelExpression;
  auto transform = TransformBetween(fc->SpatialReference(), map.SpatialReference());
  std::vector<std::pair<std::string, int>> labelFields;
  OGRFeatureDefn* defn = ogr->GetLayerDefn();
  for (const std::string& name : FieldsOf(labelExpression)) {
    const int index = defn->GetFieldIndex(name.c_str());
    if (index >= 0) labelFields.emplace_back(Upper(name), index);
  }
  ogr->SetSpatialFilter(nullptr);
  ogr->SetAttributeFilter(nullptr);
  ogr->ResetReading();
  for (auto& feature : *ogr) {
    CachedFeature f;
    f.oid = static_cast<long>(feature->GetFID());
    OGRGeometry* g = feature->GetGeometryRef();
    if (!g) continue;
    if (transform && g->transform(transform.get()) != OGRERR_NONE) continue;
    AddGeometry(g, f);
    Finish(f);
    if (!labelFields.empty()) {
      std::map<std::string, std::string> values;
      for (auto& [name, index] : labelFields) values[name] = feature->GetFieldAsString(index);
      f.label = ExpandLabelExpression(labelExpression, values);
      if (f.points.empty() && c.shapeType == geometryPolygon) {
        OGRPoint inside;
        const auto type = wkbFlatten(g->getGeometryType());
        OGRErr err = OGRERR_FAILURE;
        if (type == wkbPolygon) err = g->toPolygon()->PointOnSurface(&inside);
        else if (type == wkbMultiPolygon) err = g->toMultiPolygon()->PointOnSurface(&inside);
        if (err == OGRERR_NONE) f.labelAt = QPointF(inside.getX(), inside.getY());
      }
    }
    c.features.push_back(std::move(f));
  }
  ogr->ResetReading();
  return &(m_cache[key] = std::move(c));
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

namespace {

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

void MapRenderer::DrawLayer(QPainter& painter, const LayerPtr& layer, const Map& map, const MapViewport& viewport,
                            long phases, std::vector<FeatureLayerPtr>& labelled) {
  if (!layer || !layer->Visible()) return;
  if (auto group = std::dynamic_pointer_cast<GroupLayer>(layer)) {
    for (long i = group->Count() - 1; i >= 0; --i) DrawLayer(painter, group->Layer(i), map, viewport, phases, labelled);
    return;
  }
  auto fl = std::dynamic_pointer_cast<FeatureLayer>(layer);
  if (!fl || !fl->Valid() || !fl->FeatureClass()) return;
  try {
    auto lc = LabelClassAt(fl, ScaleOf(map, viewport));
    const CachedClass* shapes = ShapesOf(fl, map, lc ? lc->Expression() : std::string());
    if (!shapes) return;
    const QRectF visible = viewport.VisibleMapRect();
    const QTransform toPixel = viewport.MapToPixel();
    if (phases & drawPhaseGeography) {
      auto renderer = fl->Renderer();
      SymbolPtr symbol = renderer ? renderer->Symbol() : nullptr;
      for (const CachedFeature& f : shapes->features)
        if (f.bounds.intersects(visible) || f.bounds.isEmpty()) DrawShape(painter, f, symbol, toPixel, nullptr);
    }
    if (phases & drawPhaseGeoSelection) {
      auto selection = fl->SelectionSet();
      if (selection && selection->Count() > 0) {
        const auto ids = selection->IDs();
        const std::set<long> wanted(ids.begin(), ids.end());
        const QColor colour = fl->SelectionColor() ? ToQColor(fl->SelectionColor()) : QColor(0, 255, 255);
        auto renderer = fl->Renderer();
        SymbolPtr symbol = renderer ? renderer->Symbol() : nullptr;
        for (const CachedFeature& f : shapes->features)
          if (wanted.count(f.oid)) DrawShape(painter, f, symbol, toPixel, &colour);
      }
    }
    if (lc && (phases & drawPhaseLabels)) labelled.push_back(fl);
  } catch (const HostError& e) {
    m_errors.push_back(layer->Name() + ": " + e.Description());
  }
}

void MapRenderer::DrawLabels(QPainter& painter, const std::vector<FeatureLayerPtr>& layers, const Map& map,
                             const MapViewport& viewport) {
  const double scale = ScaleOf(map, viewport);
  const QRectF visible = viewport.VisibleMapRect();
  const QTransform toPixel = viewport.MapToPixel();
  std::vector<QRectF> placed;
  for (const FeatureLayerPtr& fl : layers) {
    auto lc = LabelClassAt(fl, scale);
    if (!lc) continue;
    auto it = m_cache.find(KeyOf(fl->FeatureClass().get(), map));
    if (it == m_cache.end()) continue;
    auto symbol = lc->TextSymbol();
    QFont font(symbol && !symbol->FontName().empty() ? QString::fromStdString(symbol->FontName())
                                                     : QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(symbol && symbol->Size() > 0 ? symbol->Size() : 8);
    painter.setFont(font);
    painter.setPen(symbol ? ToQColor(symbol->Color()) : QColor(Qt::black));
    const QFontMetricsF metrics(font);
    for (const CachedFeature& f : it->second.features) {
      if (f.label.empty() || !visible.contains(f.labelAt)) continue;
      const QString text = QString::fromStdString(f.label);
      const QPointF at = toPixel.map(f.labelAt);
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
        DrawShape(painter, f, symbol, toPixel, nullptr);
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
  std::vector<FeatureLayerPtr> labelled;
  for (long i = map.LayerCount() - 1; i >= 0; --i) DrawLayer(painter, map.Layer(i), map, viewport, phases, labelled);
  if (phases & (drawPhaseGraphics | drawPhaseGraphicSelection)) DrawGraphics(painter, map, viewport, phases);
  if (phases & drawPhaseLabels) DrawLabels(painter, labelled, map, viewport);
  painter.restore();
}

} // namespace tov
