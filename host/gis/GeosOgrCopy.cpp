#include "host/gis/GeosOgrCopy.h"

#include <vector>

namespace tov {

namespace {

// A ring GEOS takes exactly as its WKB would give it.
bool PlainRing(const OGRLinearRing* ring) {
  if (!ring || ring->getNumPoints() < 4) return false;
  const int last = ring->getNumPoints() - 1;
  return ring->getX(0) == ring->getX(last) && ring->getY(0) == ring->getY(last);
}

bool PlainPolygon(const OGRGeometry& g) {
  if (g.getGeometryType() != wkbPolygon) return false; // curves, Z and M have their own types
  const auto& polygon = *g.toPolygon();
  if (!PlainRing(polygon.getExteriorRing())) return false;
  for (int i = 0; i < polygon.getNumInteriorRings(); ++i)
    if (!PlainRing(polygon.getInteriorRing(i))) return false;
  return true;
}

bool PlainArea(const OGRGeometry& g) {
  if (g.getGeometryType() == wkbPolygon) return PlainPolygon(g);
  if (g.getGeometryType() != wkbMultiPolygon) return false;
  for (const auto* part : *g.toMultiPolygon())
    if (!PlainPolygon(*part)) return false;
  return true;
}

GEOSGeometry* RingCopy(GEOSContextHandle_t h, const OGRLinearRing& ring, std::vector<OGRRawPoint>& buffer) {
  buffer.resize(static_cast<size_t>(ring.getNumPoints()));
  ring.getPoints(buffer.data());
  static_assert(sizeof(OGRRawPoint) == 2 * sizeof(double), "x and y must lie side by side");
  GEOSCoordSequence* seq = GEOSCoordSeq_copyFromBuffer_r(h, &buffer.front().x, static_cast<unsigned>(buffer.size()), 0, 0);
  return seq ? GEOSGeom_createLinearRing_r(h, seq) : nullptr;
}

GEOSGeometry* PolygonCopy(GEOSContextHandle_t h, const OGRPolygon& polygon, std::vector<OGRRawPoint>& buffer) {
  GEOSGeometry* shell = RingCopy(h, *polygon.getExteriorRing(), buffer);
  if (!shell) return nullptr;
  std::vector<GEOSGeometry*> holes;
  for (int i = 0; i < polygon.getNumInteriorRings(); ++i) {
    GEOSGeometry* hole = RingCopy(h, *polygon.getInteriorRing(i), buffer);
    if (!hole) {
      GEOSGeom_destroy_r(h, shell);
      for (auto* made : holes) GEOSGeom_destroy_r(h, made);
      return nullptr;
    }
    holes.push_back(hole);
  }
  // Takes the rings over, also when it fails.
  return GEOSGeom_createPolygon_r(h, shell, holes.data(), static_cast<unsigned>(holes.size()));
}

// The rings of a GEOS polygon GDAL would read back exactly as they are.
bool PlainGeosPolygon(GEOSContextHandle_t h, const GEOSGeometry* polygon) {
  return GEOSGeomTypeId_r(h, polygon) == GEOS_POLYGON && GEOSisEmpty_r(h, polygon) == 0 && GEOSHasZ_r(h, polygon) == 0;
}

std::unique_ptr<OGRLinearRing> OgrRing(GEOSContextHandle_t h, const GEOSGeometry* ring, std::vector<OGRRawPoint>& buffer) {
  const GEOSCoordSequence* seq = ring ? GEOSGeom_getCoordSeq_r(h, ring) : nullptr;
  unsigned size = 0;
  if (!seq || !GEOSCoordSeq_getSize_r(h, seq, &size)) return nullptr;
  buffer.resize(size);
  if (size && !GEOSCoordSeq_copyToBuffer_r(h, seq, &buffer.front().x, 0, 0)) return nullptr;
  auto copy = std::make_unique<OGRLinearRing>();
  copy->setPoints(static_cast<int>(size), buffer.data());
  return copy;
}

std::unique_ptr<OGRPolygon> OgrPolygon(GEOSContextHandle_t h, const GEOSGeometry* polygon, std::vector<OGRRawPoint>& buffer) {
  auto copy = std::make_unique<OGRPolygon>();
  auto shell = OgrRing(h, GEOSGetExteriorRing_r(h, polygon), buffer);
  if (!shell) return nullptr;
  copy->addRingDirectly(shell.release());
  const int holes = GEOSGetNumInteriorRings_r(h, polygon);
  for (int i = 0; i < holes; ++i) {
    auto hole = OgrRing(h, GEOSGetInteriorRingN_r(h, polygon, i), buffer);
    if (!hole) return nullptr;
    copy->addRingDirectly(hole.release());
  }
  return copy;
}

} // namespace

std::unique_ptr<OGRGeometry> OgrCopyOf(GEOSContextHandle_t h, const GEOSGeometry* geometry) {
  std::vector<OGRRawPoint> buffer;
  if (PlainGeosPolygon(h, geometry)) return OgrPolygon(h, geometry, buffer);
  bool plain = GEOSGeomTypeId_r(h, geometry) == GEOS_MULTIPOLYGON && GEOSHasZ_r(h, geometry) == 0;
  const int n = plain ? GEOSGetNumGeometries_r(h, geometry) : 0;
  for (int i = 0; plain && i < n; ++i) plain = PlainGeosPolygon(h, GEOSGetGeometryN_r(h, geometry, i));
  if (!plain || n == 0)
    return std::unique_ptr<OGRGeometry>(OGRGeometryFactory::createFromGEOS(h, const_cast<GEOSGeometry*>(geometry)));
  auto copy = std::make_unique<OGRMultiPolygon>();
  for (int i = 0; i < n; ++i) {
    auto part = OgrPolygon(h, GEOSGetGeometryN_r(h, geometry, i), buffer);
    if (!part) return nullptr;
    copy->addGeometryDirectly(part.release());
  }
  return copy;
}

GEOSGeometry* GeosCopyOf(GEOSContextHandle_t h, const OGRGeometry& geometry) {
  if (!PlainArea(geometry)) return geometry.exportToGEOS(h);
  std::vector<OGRRawPoint> buffer;
  if (geometry.getGeometryType() == wkbPolygon) return PolygonCopy(h, *geometry.toPolygon(), buffer);
  std::vector<GEOSGeometry*> parts;
  for (const auto* part : *geometry.toMultiPolygon()) {
    GEOSGeometry* copy = PolygonCopy(h, *part, buffer);
    if (!copy) {
      for (auto* made : parts) GEOSGeom_destroy_r(h, made);
      return nullptr;
    }
    parts.push_back(copy);
  }
  return GEOSGeom_createCollection_r(h, GEOS_MULTIPOLYGON, parts.data(), static_cast<unsigned>(parts.size()));
}

} // namespace tov
