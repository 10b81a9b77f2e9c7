#include "host/gis/PolygonUnion.h"

#include "host/common/WorkCancel.h"
#include "host/gis/GisErrors.h"
#include "host/gis/OgrGeometrySource.h"

#include <geos_c.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace tov {

namespace {

// From this share of overlapping area on, the database's union beats the
// host's, whatever the number of shapes (bench/postgis): a clean coverage
// has none, one with slivers (the sample's counties) about 1e-7, overlapping
// discs 1 or more.
constexpr double kServerUnionMinOverlap = 0.01;

struct GeosGeomDeleter {
  void operator()(GEOSGeometry* g) const {
    if (g) GEOSGeom_destroy_r(GeosHandle(), g);
  }
};
using GeosGeom = std::unique_ptr<GEOSGeometry, GeosGeomDeleter>;

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
GeosGeom RepairedCollection(GEOSContextHandle_t h, const GEOSGeometry* collection, const char* source) {
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
      if (!ogr) ThrowOgrError(gisErr::GeometryFailed, source, "A shape cannot be read back for its repair");
      auto flat = PolygonalPart(RepairedShape(std::move(ogr), source));
      for (auto* poly : *flat) {
        GEOSGeometry* fixed = poly->exportToGEOS(h);
        if (!fixed) ThrowGeosError(source, "A repaired shape cannot be handed to the union");
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
    ThrowGeosError(source, "The repaired shapes cannot be gathered for the union");
  }
  return repaired;
}

// While a union runs GEOS asks now and then whether to go on, and the user
// may give the work up meanwhile (WorkCancelled): GEOS then stops at its
// next check and the union fails, which the caller turns into the user's
// cancel.
class InterruptibleUnion {
public:
  InterruptibleUnion() : m_previous(GEOS_interruptRegisterCallback(&Check)) {}
  ~InterruptibleUnion() {
    GEOS_interruptRegisterCallback(m_previous);
    GEOS_interruptCancel();
  }
  InterruptibleUnion(const InterruptibleUnion&) = delete;
  InterruptibleUnion& operator=(const InterruptibleUnion&) = delete;
  // After each GEOS call: a union given up goes no further.
  static void ThrowIfCancelled(const char* source) {
    if (WorkCancelled()) ThrowWorkCancelled(source);
  }

private:
  static void Check() {
    // What the window does while it is asked (drawing the map) may call
    // GEOS too: those calls are not the union's to stop.
    static bool asking = false;
    if (asking) return;
    asking = true;
    const bool cancelled = WorkCancelled();
    asking = false;
    if (cancelled) GEOS_interruptRequest();
  }
  GEOSInterruptCallback* m_previous;
};

} // namespace

bool PlainUnaryUnionRequested() {
  const char* value = std::getenv(kPlainUnaryUnionVariable);
  return value && *value && std::strcmp(value, "0") != 0;
}

bool ServerUnionPreferred(double overlapShare) {
  if (const char* site = std::getenv(kUnionSiteVariable)) {
    if (std::strcmp(site, "server") == 0) return true;
    if (std::strcmp(site, "local") == 0) return false;
  }
  return overlapShare >= kServerUnionMinOverlap;
}

std::unique_ptr<OGRGeometry> RepairedShape(std::unique_ptr<OGRGeometry> shape, const char* source) {
  if (!shape || shape->IsEmpty() || shape->IsValid()) return shape;
  ResetOgrError();
  std::unique_ptr<OGRGeometry> valid(shape->MakeValid());
  if (!valid) ThrowOgrError(gisErr::GeometryFailed, source, "The shape has a topology error that cannot be repaired");
  return PolygonalPart(std::move(valid));
}

const char* UnionMethodName(UnionMethod method) {
  switch (method) {
  case UnionMethod::Coverage: return "coverage";
  case UnionMethod::Unary: return "unary";
  case UnionMethod::Server: return "server";
  case UnionMethod::None: break;
  }
  return "none";
}

std::unique_ptr<OGRMultiPolygon> UnitePolygons(GEOSGeometry* input, UnionMethod* method, const char* source) {
  GeosGeom collection(input);
  UnionMethod used = UnionMethod::None;
  if (method) *method = used;
  if (!collection) return std::make_unique<OGRMultiPolygon>();
  GEOSContextHandle_t h = GeosHandle();

  // Areas that only share edges unite fastest as a coverage; testing every
  // input for validity first would cost more than that union. Only when the
  // coverage union fails are the inputs examined and the invalid ones
  // repaired. A rejected answer may come from those invalid shapes, so the
  // coverage union is tried once more; a refusal means the edges do not
  // match, which repairs seldom change, so the general (cascaded) union
  // follows at once.
  const bool plain = PlainUnaryUnionRequested();
  bool refused = false;
  GeosGeom united;
  InterruptibleUnion interruptible;
  if (!plain) {
    united.reset(CheckedCoverageUnion(h, collection.get(), &refused));
    used = UnionMethod::Coverage;
    InterruptibleUnion::ThrowIfCancelled(source);
  }
  if (!united && !plain) {
    collection = RepairedCollection(h, collection.get(), source);
    if (!refused) united.reset(CheckedCoverageUnion(h, collection.get(), &refused));
    InterruptibleUnion::ThrowIfCancelled(source);
  }
  if (!united) {
    ResetGeosMessage();
    united.reset(GEOSUnaryUnion_r(h, collection.get()));
    used = UnionMethod::Unary;
    InterruptibleUnion::ThrowIfCancelled(source);
  }
  if (!united) ThrowGeosError(source, "The shapes cannot be united");
  std::unique_ptr<OGRGeometry> result(OGRGeometryFactory::createFromGEOS(h, united.get()));
  if (!result) ThrowOgrError(gisErr::GeometryFailed, source, "The united shape cannot be read back");
  if (method) *method = used;
  return PolygonalPart(std::move(result));
}

} // namespace tov
