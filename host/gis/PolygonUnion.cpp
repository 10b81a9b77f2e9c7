#include "host/gis/PolygonUnion.h"

#include "host/common/WorkCancel.h"
#include "host/gis/GeosOgrCopy.h"
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
      std::unique_ptr<OGRGeometry> ogr = OgrCopyOf(h, part);
      if (!ogr) ThrowOgrError(gisErr::GeometryFailed, source, "A shape cannot be read back for its repair");
      auto flat = PolygonalPart(RepairedShape(std::move(ogr), source));
      for (auto* poly : *flat) {
        GEOSGeometry* fixed = GeosCopyOf(h, *poly);
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

// Shapes are united in groups of about this many neighbours when they do
// not form one coverage (bench/README.md, "Union").
constexpr size_t kPartsPerGroup = 100;
// Groups stop trying the coverage union once this many failed, and at
// least half of those tried: the shapes then seldom form coverages at all
// (generalised one by one, their shared edges no longer match).
constexpr int kGroupFailuresToGiveUp = 4;

// The parts of `collection` in groups of neighbours: sorted into vertical
// slices by the x of their centres, each slice by y, then cut into groups.
std::vector<std::vector<int>> NeighbourGroups(GEOSContextHandle_t h, const GEOSGeometry* collection) {
  const int n = GEOSGetNumGeometries_r(h, collection);
  struct Centre {
    int index;
    double x, y;
  };
  std::vector<Centre> centres;
  centres.reserve(static_cast<size_t>(n));
  for (int i = 0; i < n; ++i) {
    const GEOSGeometry* part = GEOSGetGeometryN_r(h, collection, i);
    double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
    if (!GEOSisEmpty_r(h, part)) {
      GEOSGeom_getXMin_r(h, part, &xmin);
      GEOSGeom_getXMax_r(h, part, &xmax);
      GEOSGeom_getYMin_r(h, part, &ymin);
      GEOSGeom_getYMax_r(h, part, &ymax);
    }
    centres.push_back({i, (xmin + xmax) / 2, (ymin + ymax) / 2});
  }
  const size_t groups = (centres.size() + kPartsPerGroup - 1) / kPartsPerGroup;
  const size_t slices = static_cast<size_t>(std::ceil(std::sqrt(static_cast<double>(groups))));
  const size_t perSlice = slices ? (centres.size() + slices - 1) / slices : centres.size();
  std::sort(centres.begin(), centres.end(), [](const Centre& a, const Centre& b) { return a.x < b.x; });
  std::vector<std::vector<int>> result;
  for (size_t from = 0; from < centres.size(); from += perSlice) {
    const auto first = centres.begin() + static_cast<std::ptrdiff_t>(from);
    const auto last = centres.begin() + static_cast<std::ptrdiff_t>(std::min(centres.size(), from + perSlice));
    std::sort(first, last, [](const Centre& a, const Centre& b) { return a.y < b.y; });
    for (auto group = first; group < last; group += std::min<std::ptrdiff_t>(kPartsPerGroup, last - group)) {
      result.emplace_back();
      for (auto it = group; it < last && it < group + static_cast<std::ptrdiff_t>(kPartsPerGroup); ++it)
        result.back().push_back(it->index);
    }
  }
  return result;
}

// The parts of `collection` that `indices` name, copied into a collection.
GeosGeom GroupOf(GEOSContextHandle_t h, const GEOSGeometry* collection, const std::vector<int>& indices,
                 const char* source) {
  std::vector<GEOSGeometry*> parts;
  parts.reserve(indices.size());
  for (int i : indices) parts.push_back(GEOSGeom_clone_r(h, GEOSGetGeometryN_r(h, collection, i)));
  GeosGeom group(GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size())));
  if (!group) {
    for (auto* p : parts) GEOSGeom_destroy_r(h, p);
    ThrowGeosError(source, "The shapes cannot be gathered for the union");
  }
  return group;
}

// The shapes are no coverage as a whole. Most of them may still be: groups
// of neighbours are each united as a coverage where they form one, and the
// general union then only has to unite those groups' outlines with the
// repaired shapes of the groups that do not. That costs about half of the
// general union of every shape (the sample's counties). A single group is
// the whole, whose coverage union was tried (and `refused` or rejected).
GeosGeom UniteInGroups(GEOSContextHandle_t h, GeosGeom collection, bool refused, UnionMethod* used,
                       const char* source) {
  const std::vector<std::vector<int>> groups = NeighbourGroups(h, collection.get());
  std::vector<GEOSGeometry*> pieces;
  auto freePieces = [&] {
    for (auto* p : pieces) GEOSGeom_destroy_r(h, p);
    pieces.clear();
  };
  int tried = 0, failed = 0;
  try {
    for (const std::vector<int>& indices : groups) {
      GeosGeom group = groups.size() == 1 ? std::move(collection) : GroupOf(h, collection.get(), indices, source);
      bool groupRefused = groups.size() == 1 && refused;
      GeosGeom united;
      const bool tryCoverage = !(failed >= kGroupFailuresToGiveUp && 2 * failed >= tried);
      if (tryCoverage && groups.size() > 1) {
        ++tried;
        united.reset(CheckedCoverageUnion(h, group.get(), &groupRefused));
      }
      if (!united) {
        // A rejected answer may come from invalid shapes: once repaired, the
        // group may unite as a coverage after all. A refusal means the edges
        // do not match, which repairs seldom change.
        group = RepairedCollection(h, group.get(), source);
        if (tryCoverage && !groupRefused) united.reset(CheckedCoverageUnion(h, group.get(), &groupRefused));
        if (!united) ++failed;
      }
      pieces.push_back(united ? united.release() : group.release());
      InterruptibleUnion::ThrowIfCancelled(source);
    }
  } catch (...) {
    freePieces();
    throw;
  }
  if (groups.size() == 1 && failed == 0) {
    *used = UnionMethod::Coverage;
    return GeosGeom(pieces.front());
  }
  // Nested collections are fine: the general union takes the polygons of
  // any collection.
  GeosGeom all(GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, pieces.data(), static_cast<unsigned>(pieces.size())));
  if (!all) {
    freePieces();
    ThrowGeosError(source, "The shapes cannot be gathered for the union");
  }
  *used = UnionMethod::Unary;
  ResetGeosMessage();
  return GeosGeom(GEOSUnaryUnion_r(h, all.get()));
}

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
  // coverage union fails are the inputs united in groups of neighbours
  // (UniteInGroups), and only then are invalid ones repaired.
  const bool plain = PlainUnaryUnionRequested();
  bool refused = false;
  GeosGeom united;
  InterruptibleUnion interruptible;
  try {
    if (!plain) {
      united.reset(CheckedCoverageUnion(h, collection.get(), &refused));
      used = UnionMethod::Coverage;
      InterruptibleUnion::ThrowIfCancelled(source);
      if (!united) united = UniteInGroups(h, std::move(collection), refused, &used, source);
    } else {
      ResetGeosMessage();
      united.reset(GEOSUnaryUnion_r(h, collection.get()));
      used = UnionMethod::Unary;
    }
  } catch (...) {
    // An interrupted GEOS call fails like a broken shape: it was the cancel.
    InterruptibleUnion::ThrowIfCancelled(source);
    throw;
  }
  InterruptibleUnion::ThrowIfCancelled(source);
  if (!united) ThrowGeosError(source, "The shapes cannot be united");
  std::unique_ptr<OGRGeometry> result = OgrCopyOf(h, united.get());
  if (!result) ThrowOgrError(gisErr::GeometryFailed, source, "The united shape cannot be read back");
  if (method) *method = used;
  return PolygonalPart(std::move(result));
}

} // namespace tov
