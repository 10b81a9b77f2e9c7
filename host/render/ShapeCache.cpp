#include "host/render/ShapeCache.h"

#include "host/gis/HostFeatureClass.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/render/MapLabels.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/Map.h"
#include "platform/runtime/TextCase.h"

#include <ogr_api.h>
#include <ogr_spatialref.h>
#include <ogrsf_frmts.h>

#include <unordered_map>

namespace tov {

namespace {

void AddRing(QPainterPath& path, const OGRLineString* ring, bool close) {
  const int n = ring ? ring->getNumPoints() : 0;
  if (n == 0) return;
  path.moveTo(ring->getX(0), ring->getY(0));
  for (int i = 1; i < n; ++i) path.lineTo(ring->getX(i), ring->getY(i));
  if (close) path.closeSubpath();
}

void AddGeometry(const OGRGeometry* g, ShapeCache::Feature& f) {
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

// The transformation from a layer's system into the map's, or null when no
// change is needed.
std::unique_ptr<OGRCoordinateTransformation> LayerToMap(const SpatialReferencePtr& layer, const SpatialReferencePtr& map) {
  if (!layer || !map || SameSystem(layer, map)) return nullptr;
  return TransformationBetween(layer, map, "MapRenderer");
}

} // namespace

ShapeCache::Feature ShapeCache::FeatureOf(const OGRGeometry* geometry) {
  Feature f;
  AddGeometry(geometry, f);
  f.path.setFillRule(Qt::OddEvenFill);
  QRectF b = f.path.boundingRect();
  for (const QPointF& p : f.points) b = b.isNull() ? QRectF(p, QSizeF(0, 0)) : b.united(QRectF(p, QSizeF(0, 0)));
  f.bounds = b;
  f.labelAt = f.points.empty() ? b.center() : f.points.front();
  return f;
}

ShapeCache::Shapes* ShapeCache::ShapesOf(const FeatureLayerPtr& layer, const Map& map) {
  auto fc = std::dynamic_pointer_cast<HostFeatureClass>(layer->FeatureClass());
  if (!fc) return nullptr;
  OGRLayer* ogr = fc->Layer();
  const long long count = ogr->GetFeatureCount(TRUE);
  auto it = m_classes.find(fc.get());
  if (it != m_classes.end()) {
    Shapes& c = it->second;
    if (c.owner.lock() == std::static_pointer_cast<Object>(fc) && c.mapSystem == map.SpatialReference() &&
        c.featureCount == count && c.revision == fc->Revision())
      return &c;
    m_classes.erase(it);
  }
  Shapes c;
  c.owner = std::static_pointer_cast<Object>(fc);
  c.mapSystem = map.SpatialReference();
  c.shapeType = fc->ShapeType();
  c.featureCount = count;
  c.revision = fc->Revision();
  c.generation = ++m_readings;
  auto transform = LayerToMap(fc->SpatialReference(), c.mapSystem);
  fc->ClearFilter();
  // Only the shapes: from a database every column left out is data not sent.
  CPLStringList attributes;
  OGRFeatureDefn* defn = ogr->GetLayerDefn();
  for (int i = 0; i < defn->GetFieldCount(); ++i) attributes.AddString(defn->GetFieldDefn(i)->GetNameRef());
  ogr->SetIgnoredFields(const_cast<const char**>(attributes.List()));
  for (auto& feature : *ogr) {
    OGRGeometry* g = feature->GetGeometryRef();
    if (!g) continue;
    if (transform && g->transform(transform.get()) != OGRERR_NONE) continue;
    Feature f = FeatureOf(g);
    f.oid = static_cast<long>(feature->GetFID());
    c.features.push_back(std::move(f));
  }
  fc->ClearFilter();
  return &(m_classes[fc.get()] = std::move(c));
}

const std::vector<std::string>& ShapeCache::LabelsOf(Shapes& c, const FeatureLayerPtr& layer,
                                                     const std::string& expression) {
  auto known = c.labels.find(expression);
  if (known != c.labels.end()) return known->second;
  auto fc = std::dynamic_pointer_cast<HostFeatureClass>(layer->FeatureClass());
  std::vector<std::string> labels(c.features.size());
  OGRLayer* ogr = fc->Layer();
  std::vector<std::pair<std::string, int>> fields;
  OGRFeatureDefn* defn = ogr->GetLayerDefn();
  for (const std::string& name : LabelExpressionFields(expression)) {
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
      Feature& f = c.features[at->second];
      std::map<std::string, std::string> values;
      for (auto& [name, index] : fields) values[name] = feature->GetFieldAsString(index);
      labels[at->second] = ExpandLabelExpression(expression, values);
      OGRGeometry* g = placeInside && f.points.empty() ? feature->GetGeometryRef() : nullptr;
      if (!g || (transform && g->transform(transform.get()) != OGRERR_NONE)) continue;
      // Through the C function: the multipolygon's own method only says it
      // is not supported, which left such labels at the middle of the box.
      if (OGRGeometryH inside = OGR_G_PointOnSurface(OGRGeometry::ToHandle(g))) {
        if (!OGR_G_IsEmpty(inside)) f.labelAt = QPointF(OGR_G_GetX(inside, 0), OGR_G_GetY(inside, 0));
        OGR_G_DestroyGeometry(inside);
      }
    }
    fc->ClearFilter();
    c.labelsPlaced = c.labelsPlaced || placeInside;
  }
  return c.labels[expression] = std::move(labels);
}

} // namespace tov
