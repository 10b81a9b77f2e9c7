#pragma once
#include "platform/gis/Geometry.h"

#include <ogr_geometry.h>

#include <memory>

namespace tov {

// What every host geometry offers the rest of the host: its coordinates as a
// new OGR geometry, and a way to take new ones.
class OgrGeometrySource {
public:
  virtual ~OgrGeometrySource() = default;
  // A new OGR geometry (null for an empty point or envelope).
  virtual std::unique_ptr<OGRGeometry> ToOgr() const = 0;
  // Replaces the coordinates (the type must fit; otherwise raises).
  virtual void AssignOgr(const OGRGeometry& geometry) = 0;
};

// The OGR form of any host geometry (null when empty); a foreign object
// raises 13.
std::unique_ptr<OGRGeometry> OgrGeometryOf(const GeometryPtr& geometry);
// A host geometry for an OGR one: points, envelopes are never made; lines
// become a Polyline, areas a Polygon (other parts of a collection dropped).
GeometryPtr GeometryFromOgr(const OGRGeometry* geometry, long wantedType, const SpatialReferencePtr& sr);
// The same, taking the OGR geometry over instead of copying it (areas; other
// shapes are copied as above).
GeometryPtr GeometryFromOgr(std::unique_ptr<OGRGeometry> geometry, long wantedType, const SpatialReferencePtr& sr);
// The transformation between two host systems; raises when there is none.
std::unique_ptr<OGRCoordinateTransformation> TransformationBetween(const SpatialReferencePtr& from,
                                                                  const SpatialReferencePtr& to, const char* source);
// Transforms geometry in place from one system into another (no-op when
// either is missing or both are the same).
void TransformOgr(OGRGeometry& geometry, const SpatialReferencePtr& from, const SpatialReferencePtr& to);
// Every Project needs the system to project into; a missing one raises 91
// as any host call given no object does.
void RequireTargetSystem(const SpatialReferencePtr& target, const char* source);
// True when both are missing or describe the same system.
bool SameSystem(const SpatialReferencePtr& a, const SpatialReferencePtr& b);
// The polygonal part of a geometry as a multipolygon (empty when none).
std::unique_ptr<OGRMultiPolygon> PolygonalPart(std::unique_ptr<OGRGeometry> geometry);

} // namespace tov
