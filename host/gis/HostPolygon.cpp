#include "host/gis/HostPolygon.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/HostPoint.h"
#include "platform/gis/GeometryEnumerator.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tov {

namespace {
const char kSource[] = "orvaCore.Polygon";
std::string g_lastUnionMethod;

// Makes a shape valid without changing a valid one.
std::unique_ptr<OGRGeometry> Repaired(std::unique_ptr<OGRGeometry> g) {
  if (!g || g->IsEmpty() || g->IsValid()) return g;
  ResetOgrError();
  std::unique_ptr<OGRGeometry> valid(g->MakeValid());
  if (!valid) ThrowOgrError(gisErr::GeometryFailed, kSource, "The shape has a topology error that cannot be repaired");
  return PolygonalPart(std::move(valid));
}

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

struct GeosGeomDeleter {
  void operator()(GEOSGeometry* g) const {
    if (g) GEOSGeom_destroy_r(GeosHandle(), g);
  }
};
using GeosGeom = std::unique_ptr<GEOSGeometry, GeosGeomDeleter>;
} // namespace

std::string HostPolygon::LastUnionMethod() { return g_lastUnionMethod; }

HostPolygon::HostPolygon(const HostPolygon& other)
    : Object(), Polygon(), OgrGeometrySource(), m_geom(other.m_geom), m_newPart(other.m_newPart),
      m_knownSimple(other.m_knownSimple), m_sr(other.m_sr) {}

bool HostPolygon::IsEmpty() const { return PointCount() == 0; }

void HostPolygon::SetEmpty() {
  m_geom.empty();
  m_newPart = true;
  m_knownSimple = false;
}

EnvelopePtr HostPolygon::Envelope() const {
  auto env = std::make_shared<HostEnvelope>();
  env->SetSpatialReference(m_sr);
  if (!IsEmpty()) env->AssignOgr(m_geom);
  return env;
}

void HostPolygon::Project(const SpatialReferencePtr& sr) {
  if (!IsEmpty()) TransformOgr(m_geom, m_sr, sr);
  m_sr = sr;
}

void HostPolygon::AddPoint(const PointPtr& point) {
  if (!point || point->IsEmpty())
    throw HostError(err::InvalidCall, kSource, "An empty point cannot be added to a polygon");
  if (m_newPart || m_geom.getNumGeometries() == 0) {
    auto* poly = new OGRPolygon();
    poly->addRingDirectly(new OGRLinearRing());
    m_geom.addGeometryDirectly(poly);
    m_newPart = false;
  }
  auto* poly = m_geom.getGeometryRef(m_geom.getNumGeometries() - 1);
  poly->getExteriorRing()->addPoint(point->X(), point->Y());
  m_knownSimple = false;
}

long HostPolygon::PartCount() const { return m_geom.getNumGeometries(); }

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
  if (!g->IsEmpty()) g = Repaired(std::move(g));
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
  auto mine = Repaired(ToOgr());
  theirs = Repaired(std::move(theirs));
  ResetOgrError();
  std::unique_ptr<OGRGeometry> u(mine->IsEmpty() ? theirs->clone() : mine->Union(theirs.get()));
  if (!u) ThrowOgrError(gisErr::GeometryFailed, kSource, "The two shapes cannot be united");
  result->m_geom = *PolygonalPart(std::move(u));
  result->m_newPart = true;
  result->m_knownSimple = false;
  return result;
}

namespace {
// The coverage union only removes shared edges, so its answer is checked: an
// invalid result or a changed total area reject it. `refused` tells a
// refusal (edges that do not match: no coverage) from a rejected answer.
GEOSGeometry* CheckedCoverageUnion(GEOSContextHandle_t h, const GEOSGeometry* collection, bool* refused) {
  ResetGeosMessage();
  GeosGeom united(GEOSCoverageUnion_r(h, collection));
  *refused = !united;
  if (!united) return nullptr;
  double areaIn = 0, areaOut = 0;
  const bool measured = GEOSArea_r(h, collection, &areaIn) && GEOSArea_r(h, united.get(), &areaOut);
  const bool sameArea = measured && std::abs(areaOut - areaIn) <= 1e-9 * std::max(1.0, areaIn);
  if (!sameArea || GEOSisValid_r(h, united.get()) != 1) return nullptr;
  return united.release();
}

// The parts of `collection` with every invalid one replaced by its repair,
// as a new collection.
GeosGeom RepairedCollection(GEOSContextHandle_t h, const GEOSGeometry* collection) {
  std::vector<GEOSGeometry*> parts;
  try {
    const int n = GEOSGetNumGeometries_r(h, collection);
    for (int i = 0; i < n; ++i) {
      const GEOSGeometry* part = GEOSGetGeometryN_r(h, collection, i);
      if (GEOSisValid_r(h, part) == 1) {
        parts.push_back(GEOSGeom_clone_r(h, part));
        continue;
      }
      std::unique_ptr<OGRGeometry> ogr(OGRGeometryFactory::createFromGEOS(h, const_cast<GEOSGeometry*>(part)));
      if (!ogr) ThrowOgrError(gisErr::GeometryFailed, kSource, "A shape cannot be read back for its repair");
      auto flat = PolygonalPart(Repaired(std::move(ogr)));
      for (auto* poly : *flat) {
        GEOSGeometry* fixed = poly->exportToGEOS(h);
        if (!fixed) ThrowGeosError(kSource, "A repaired shape cannot be handed to the union");
        parts.push_back(fixed);
      }
    }
  } catch (...) {
    for (auto* p : parts) GEOSGeom_destroy_r(h, p);
    throw;
  }
  GeosGeom repaired(GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size())));
  if (!repaired) {
    for (auto* p : parts) GEOSGeom_destroy_r(h, p);
    ThrowGeosError(kSource, "The repaired shapes cannot be gathered for the union");
  }
  return repaired;
}
} // namespace

void HostPolygon::ConstructUnion(const GeometryEnumeratorPtr& geometries) {
  if (!geometries) throw HostError(err::ObjectRequired, kSource, "There are no shapes to unite");
  GEOSContextHandle_t h = GeosHandle();
  std::vector<GEOSGeometry*> parts;
  auto freeParts = [&] {
    for (auto* p : parts) GEOSGeom_destroy_r(h, p);
    parts.clear();
  };
  SpatialReferencePtr target = m_sr;
  try {
    geometries->Reset();
    while (GeometryPtr g = geometries->Next()) {
      if (g->IsEmpty() || g->GeometryType() != geometryPolygon) continue;
      if (!target) target = g->SpatialReference();
      auto ogr = OgrGeometryOf(g);
      TransformOgr(*ogr, g->SpatialReference(), target);
      GEOSGeometry* gg = ogr->exportToGEOS(h);
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
  if (parts.empty()) return;

  ResetGeosMessage();
  GeosGeom collection(GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(),
                                                  static_cast<unsigned>(parts.size())));
  if (!collection) {
    freeParts();
    ThrowGeosError(kSource, "The shapes cannot be gathered for the union");
  }
  parts.clear(); // owned by the collection now

  // Areas that only share edges unite fastest as a coverage; testing every
  // input for validity first would cost more than that union. Only when the
  // coverage union fails are the inputs examined and the invalid ones
  // repaired. A rejected answer may come from those invalid shapes, so the
  // coverage union is tried once more; a refusal means the edges do not
  // match, which repairs seldom change, so the general (cascaded) union
  // follows at once.
  bool refused = false;
  GeosGeom united(CheckedCoverageUnion(h, collection.get(), &refused));
  g_lastUnionMethod = "coverage";
  if (!united) {
    collection = RepairedCollection(h, collection.get());
    if (!refused) united.reset(CheckedCoverageUnion(h, collection.get(), &refused));
  }
  if (!united) {
    ResetGeosMessage();
    united.reset(GEOSUnaryUnion_r(h, collection.get()));
    g_lastUnionMethod = "unary";
  }
  if (!united) ThrowGeosError(kSource, "The shapes cannot be united");
  std::unique_ptr<OGRGeometry> result(OGRGeometryFactory::createFromGEOS(h, united.get()));
  if (!result) ThrowOgrError(gisErr::GeometryFailed, kSource, "The united shape cannot be read back");
  m_geom = *PolygonalPart(std::move(result));
}

std::unique_ptr<OGRGeometry> HostPolygon::ToOgr() const {
  std::unique_ptr<OGRGeometry> g(m_geom.getNumGeometries() == 1 ? static_cast<OGRGeometry*>(m_geom.getGeometryRef(0)->clone())
                                                                : static_cast<OGRGeometry*>(m_geom.clone()));
  // Rings built point by point may still be open.
  g->closeRings();
  return g;
}

void HostPolygon::AssignOgr(const OGRGeometry& geometry) {
  auto mp = PolygonalPart(std::unique_ptr<OGRGeometry>(geometry.clone()));
  m_geom = *mp;
  m_newPart = true;
  m_knownSimple = false;
}

} // namespace tov
