#include "host/gis/OgrGeometrySource.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostPoint.h"
#include "host/gis/HostPolygon.h"
#include "host/gis/HostPolyline.h"
#include "host/gis/HostSpatialReference.h"

#include <ogr_spatialref.h>

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

void TransformOgr(OGRGeometry& geometry, const SpatialReferencePtr& from, const SpatialReferencePtr& to) {
  if (!from || !to || SameSystem(from, to)) return;
  auto ct = TransformationBetween(from, to, kSource);
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
  } else if (t == wkbMultiPolygon || t == wkbGeometryCollection) {
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

} // namespace tov
