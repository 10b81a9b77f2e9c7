#include "host/gis/OgrGeometrySource.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostPoint.h"
#include "host/gis/HostPolygon.h"
#include "host/gis/HostPolyline.h"
#include "host/gis/HostSpatialReference.h"

#include <ogr_spatialref.h>

#include <vector>

namespace tov {

namespace {
const char kSource[] = "orvaCore.Geometry";
}

std::unique_ptr<OGRGeometry> OgrGeometryOf(const GeometryPtr& geometry) {
  auto source = std::dynamic_pointer_cast<OgrGeometrySource>(geometry);
  if (!source) throw HostError(err::TypeMismatch, kSource, "The geometry was not made by this application");
  return source->ToOgr();
}

void RequireTargetSystem(const SpatialReferencePtr& target, const char* source) {
  if (!target)
    throw HostError(err::ObjectVariableNotSet, source,
                    "Object variable not set: no coordinate system was given to project the shape into");
}

bool SameSystem(const SpatialReferencePtr& a, const SpatialReferencePtr& b) {
  if (!a || !b) return !a && !b;
  if (a == b) return true;
  return a->IsSame(b);
}

std::unique_ptr<OGRCoordinateTransformation> TransformationBetween(const SpatialReferencePtr& from,
                                                                  const SpatialReferencePtr& to, const char* source) {
  const OGRSpatialReference* src = HostSpatialReference::OgrOf(from);
  const OGRSpatialReference* dst = HostSpatialReference::OgrOf(to);
  if (!src || !dst) throw HostError(err::TypeMismatch, source, "The coordinate system was not made by this application");
  ResetOgrError();
  std::unique_ptr<OGRCoordinateTransformation> ct(OGRCreateCoordinateTransformation(src, dst));
  if (!ct)
    ThrowProjError(gisErr::ProjectionFailed, source,
                   "There is no way to transform coordinates from \"" + from->Name() + "\" to \"" + to->Name() + "\"");
  return ct;
}

namespace {

// What was worked out for one pair of systems: comparing two systems and
// making a transformation between them look the systems up in PROJ's
// database, which costs far more than projecting a shape. A command that
// projects thousands of shapes between the same two systems (the selected
// shapes) asks once.
struct TransformEntry {
  std::weak_ptr<SpatialReference> from, to;
  const SpatialReference* fromAddress = nullptr;
  const SpatialReference* toAddress = nullptr;
  unsigned fromRevision = 0, toRevision = 0;
  bool same = false;
  std::shared_ptr<OGRCoordinateTransformation> transformation;
};
constexpr size_t kTransformEntries = 8;

unsigned RevisionOf(const SpatialReferencePtr& sr) {
  auto host = std::dynamic_pointer_cast<HostSpatialReference>(sr);
  return host ? host->Revision() : 0;
}

bool Matches(const TransformEntry& e, const SpatialReferencePtr& from, const SpatialReferencePtr& to) {
  // The addresses alone could be those of new systems made where gone ones were.
  return e.fromAddress == from.get() && e.toAddress == to.get() && !e.from.expired() && !e.to.expired() &&
         e.fromRevision == RevisionOf(from) && e.toRevision == RevisionOf(to);
}

const TransformEntry& CachedTransform(const SpatialReferencePtr& from, const SpatialReferencePtr& to) {
  thread_local std::vector<TransformEntry> entries;
  for (size_t i = 0; i < entries.size(); ++i)
    if (Matches(entries[i], from, to)) {
      if (i) std::swap(entries[i], entries[0]);
      return entries[0];
    }
  TransformEntry entry;
  entry.from = from;
  entry.to = to;
  entry.fromAddress = from.get();
  entry.toAddress = to.get();
  entry.fromRevision = RevisionOf(from);
  entry.toRevision = RevisionOf(to);
  entry.same = SameSystem(from, to);
  if (!entry.same) entry.transformation = TransformationBetween(from, to, kSource);
  if (entries.size() == kTransformEntries) entries.pop_back();
  entries.insert(entries.begin(), std::move(entry));
  return entries.front();
}

} // namespace

void TransformOgr(OGRGeometry& geometry, const SpatialReferencePtr& from, const SpatialReferencePtr& to) {
  if (!from || !to || from == to) return;
  const TransformEntry& entry = CachedTransform(from, to);
  if (entry.same) return;
  // Kept by this call: a later lookup may push the entry out of the cache.
  std::shared_ptr<OGRCoordinateTransformation> ct = entry.transformation;
  if (geometry.transform(ct.get()) != OGRERR_NONE)
    ThrowProjError(gisErr::ProjectionFailed, kSource,
                   "The shape lies outside the area where \"" + to->Name() + "\" can be used");
}

std::unique_ptr<OGRMultiPolygon> PolygonalPart(std::unique_ptr<OGRGeometry> geometry) {
  auto result = std::make_unique<OGRMultiPolygon>();
  if (!geometry) return result;
  const OGRwkbGeometryType t = wkbFlatten(geometry->getGeometryType());
  if (t == wkbPolygon) {
    if (!geometry->IsEmpty()) result->addGeometryDirectly(geometry.release());
  } else if (t == wkbMultiPolygon) {
    // Already what is wanted: taken as it is, not copied part by part.
    std::unique_ptr<OGRMultiPolygon> multi(geometry.release()->toMultiPolygon());
    for (int i = multi->getNumGeometries() - 1; i >= 0; --i)
      if (multi->getGeometryRef(i)->IsEmpty()) multi->removeGeometry(i);
    return multi;
  } else if (t == wkbGeometryCollection) {
    auto* collection = geometry->toGeometryCollection();
    for (auto* part : *collection) {
      auto sub = PolygonalPart(std::unique_ptr<OGRGeometry>(part->clone()));
      for (auto* p : *sub) result->addGeometry(p);
    }
  }
  return result;
}

GeometryPtr GeometryFromOgr(const OGRGeometry* geometry, long wantedType, const SpatialReferencePtr& sr) {
  long type = wantedType;
  if (geometry && type == geometryNull) {
    const OGRwkbGeometryType t = wkbFlatten(geometry->getGeometryType());
    if (t == wkbLineString || t == wkbMultiLineString) type = geometryPolyline;
    else if (t == wkbPoint || t == wkbMultiPoint) type = geometryPoint;
    else type = geometryPolygon;
  }
  GeometryPtr result;
  if (type == geometryPolyline) result = std::make_shared<HostPolyline>();
  else if (type == geometryPoint) result = std::make_shared<HostPoint>();
  else result = std::make_shared<HostPolygon>();
  if (geometry) std::dynamic_pointer_cast<OgrGeometrySource>(result)->AssignOgr(*geometry);
  result->SetSpatialReference(sr);
  return result;
}

GeometryPtr GeometryFromOgr(std::unique_ptr<OGRGeometry> geometry, long wantedType, const SpatialReferencePtr& sr) {
  if (!geometry || wantedType != geometryPolygon) return GeometryFromOgr(geometry.get(), wantedType, sr);
  auto polygon = std::make_shared<HostPolygon>();
  polygon->TakeOgr(std::move(geometry));
  polygon->SetSpatialReference(sr);
  return polygon;
}

} // namespace tov
