#include "host/gis/HostPolygon.h"

#include "host/common/WorkCancel.h"
#include "host/gis/GeosOgrCopy.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/HostGeometryEnumerator.h"
#include "host/gis/HostPoint.h"
#include "platform/gis/GeometryEnumerator.h"
#include "platform/runtime/ProgIds.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tov {

namespace {
const char* const kSource = kPolygonProgId;

// Outer rings clockwise, holes counter-clockwise.
void Orient(OGRMultiPolygon& mp) {
  for (auto* poly : mp) {
    bool outer = true;
    for (auto* ring : *poly) {
      if (ring->isClockwise() != outer) ring->reverseWindingOrder();
      outer = false;
    }
  }
}
} // namespace

HostPolygon::HostPolygon() : HostMultipartGeometry(kSource) {}

HostPolygon::HostPolygon(const HostPolygon& other)
    : Object(), HostMultipartGeometry(other), m_knownSimple(other.m_knownSimple) {}

void HostPolygon::SetEmpty() {
  m_geom.empty();
  m_newPart = true;
  m_knownSimple = false;
}

void HostPolygon::AppendPart() {
  auto* poly = new OGRPolygon();
  poly->addRingDirectly(new OGRLinearRing());
  m_geom.addGeometryDirectly(poly);
}

OGRSimpleCurve* HostPolygon::LastPath() {
  return m_geom.getGeometryRef(m_geom.getNumGeometries() - 1)->getExteriorRing();
}

long HostPolygon::RingCount() const {
  long n = 0;
  for (const auto* poly : m_geom) n += static_cast<long>(poly->getNumInteriorRings()) + (poly->getExteriorRing() ? 1 : 0);
  return n;
}

long HostPolygon::PointCount() const {
  long n = 0;
  for (const auto* poly : m_geom)
    for (const auto* ring : *poly) n += ring->getNumPoints();
  return n;
}

PointPtr HostPolygon::Point(long index) const {
  long i = index;
  if (i >= 0)
    for (const auto* poly : m_geom)
      for (const auto* ring : *poly) {
        if (i < ring->getNumPoints()) return std::make_shared<HostPoint>(ring->getX(i), ring->getY(i), m_sr);
        i -= ring->getNumPoints();
      }
  throw HostError(err::SubscriptOutOfRange, kSource,
                  "The polygon has no point number " + std::to_string(index) + " (it has " +
                      std::to_string(PointCount()) + ")");
}

double HostPolygon::Area() const { return IsEmpty() ? 0.0 : m_geom.get_Area(); }

bool HostPolygon::IsClosed() const {
  if (IsEmpty()) return false;
  for (const auto* poly : m_geom)
    for (const auto* ring : *poly)
      if (ring->getNumPoints() > 0 && !ring->get_IsClosed()) return false;
  return true;
}

void HostPolygon::Simplify() {
  // Close every ring and drop the ones too short to enclose anything.
  OGRMultiPolygon cleaned;
  for (const auto* poly : m_geom) {
    OGRPolygon kept;
    bool outerKept = false;
    bool first = true;
    for (const auto* ring : *poly) {
      OGRLinearRing r(*ring);
      r.closeRings();
      const bool usable = r.getNumPoints() >= 4;
      if (first && !usable) break; // no outer ring: the part is empty
      first = false;
      if (!usable) continue;
      kept.addRing(&r);
      outerKept = true;
    }
    if (outerKept) cleaned.addGeometry(&kept);
  }
  std::unique_ptr<OGRGeometry> g(cleaned.clone());
  if (!g->IsEmpty()) g = RepairedShape(std::move(g), kSource);
  auto result = PolygonalPart(std::move(g));
  Orient(*result);
  m_geom = *result;
  m_newPart = true;
  m_knownSimple = true;
}

void HostPolygon::Densify(double maxSegmentLength, double /*maxDeviation*/) {
  if (!(maxSegmentLength > 0))
    throw HostError(err::InvalidCall, kSource, "The maximum segment length for densifying must be greater than 0");
  if (!IsEmpty()) m_geom.segmentize(maxSegmentLength);
  m_knownSimple = false;
}

void HostPolygon::Generalize(double maxOffset) {
  if (IsEmpty() || !(maxOffset > 0)) return;
  ResetOgrError();
  std::unique_ptr<OGRGeometry> g(m_geom.SimplifyPreserveTopology(maxOffset));
  if (!g) ThrowOgrError(gisErr::GeometryFailed, kSource, "The polygon cannot be generalised");
  m_geom = *PolygonalPart(std::move(g));
  m_newPart = true;
}

GeometryPtr HostPolygon::Union(const GeometryPtr& other) const {
  auto result = std::make_shared<HostPolygon>(*this);
  if (!other || other->IsEmpty()) return result;
  auto theirs = OgrGeometryOf(other);
  if (m_sr) TransformOgr(*theirs, other->SpatialReference(), m_sr);
  else result->m_sr = other->SpatialReference();
  auto mine = RepairedShape(ToOgr(), kSource);
  theirs = RepairedShape(std::move(theirs), kSource);
  ResetOgrError();
  std::unique_ptr<OGRGeometry> u(mine->IsEmpty() ? theirs->clone() : mine->Union(theirs.get()));
  if (!u) ThrowOgrError(gisErr::GeometryFailed, kSource, "The two shapes cannot be united");
  result->m_geom = *PolygonalPart(std::move(u));
  result->m_newPart = true;
  result->m_knownSimple = false;
  return result;
}

void HostPolygon::ConstructUnion(const GeometryEnumeratorPtr& geometries) {
  ConstructUnionReportingMethod(geometries);
}

UnionMethod HostPolygon::ConstructUnionReportingMethod(const GeometryEnumeratorPtr& geometries) {
  if (!geometries) throw HostError(err::ObjectRequired, kSource, "There are no shapes to unite");
  GEOSContextHandle_t h = GeosHandle();
  std::vector<GEOSGeometry*> parts;
  auto freeParts = [&] {
    for (auto* p : parts) GEOSGeom_destroy_r(h, p);
    parts.clear();
  };
  SpatialReferencePtr target = m_sr;
  // A PostGIS table's shapes may be united where they are.
  if (auto host = std::dynamic_pointer_cast<HostGeometryEnumerator>(geometries)) {
    SpatialReferencePtr system;
    if (auto united = host->ServerUnion(&system)) {
      if (!target) target = system;
      TransformOgr(*united, system, target);
      TakeParts(PolygonalPart(std::move(united)));
      m_sr = target;
      return m_geom.IsEmpty() ? UnionMethod::None : UnionMethod::Server;
    }
  }
  try {
    geometries->Reset();
    while (GeometryPtr g = geometries->Next()) {
      if (WorkCancelled()) ThrowWorkCancelled(kSource);
      if (g->IsEmpty() || g->GeometryType() != geometryPolygon) continue;
      if (!target) target = g->SpatialReference();
      GEOSGeometry* gg = nullptr;
      if (auto polygon = std::dynamic_pointer_cast<HostPolygon>(g)) {
        gg = polygon->ExportToGeos(h, target);
      } else {
        auto ogr = OgrGeometryOf(g);
        TransformOgr(*ogr, g->SpatialReference(), target);
        gg = GeosCopyOf(h, *ogr);
      }
      if (!gg) ThrowGeosError(kSource, "A shape cannot be handed to the union");
      parts.push_back(gg);
    }
  } catch (...) {
    freeParts();
    throw;
  }
  m_geom.empty();
  m_newPart = true;
  m_knownSimple = false;
  m_sr = target;
  if (parts.empty()) return UnionMethod::None;

  ResetGeosMessage();
  GEOSGeometry* collection =
      GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size()));
  if (!collection) {
    freeParts();
    ThrowGeosError(kSource, "The shapes cannot be gathered for the union");
  }
  parts.clear(); // owned by the collection now
  UnionMethod method = UnionMethod::None;
  TakeParts(UnitePolygons(collection, &method, kSource));
  return method;
}

void HostPolygon::TakeParts(std::unique_ptr<OGRMultiPolygon> parts) {
  std::vector<OGRGeometry*> taken;
  for (int i = parts->getNumGeometries() - 1; i >= 0; --i) {
    taken.push_back(parts->getGeometryRef(i));
    parts->removeGeometry(i, FALSE);
  }
  m_geom.empty();
  for (auto it = taken.rbegin(); it != taken.rend(); ++it) m_geom.addGeometryDirectly(*it);
  m_newPart = true;
  m_knownSimple = false;
}

GEOSGeometry* HostPolygon::ExportToGeos(GEOSContextHandle_t h, const SpatialReferencePtr& target) const {
  const bool closed = IsClosed();
  if (!closed || (target && m_sr && !SameSystem(m_sr, target))) {
    auto ogr = ToOgr();
    TransformOgr(*ogr, m_sr, target);
    return GeosCopyOf(h, *ogr);
  }
  return m_geom.getNumGeometries() == 1 ? GeosCopyOf(h, *m_geom.getGeometryRef(0)) : GeosCopyOf(h, m_geom);
}

std::unique_ptr<OGRGeometry> HostPolygon::ToOgr() const {
  std::unique_ptr<OGRGeometry> g(m_geom.getNumGeometries() == 1 ? static_cast<OGRGeometry*>(m_geom.getGeometryRef(0)->clone())
                                                                : static_cast<OGRGeometry*>(m_geom.clone()));
  // Rings built point by point may still be open.
  g->closeRings();
  return g;
}

void HostPolygon::AssignOgr(const OGRGeometry& geometry) { TakeOgr(std::unique_ptr<OGRGeometry>(geometry.clone())); }

void HostPolygon::TakeOgr(std::unique_ptr<OGRGeometry> geometry) { TakeParts(PolygonalPart(std::move(geometry))); }

} // namespace tov
