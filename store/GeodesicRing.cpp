#include "store/GeodesicRing.h"

#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"

#include <cmath>

namespace tov {

namespace {

// WGS 84.
constexpr double kSemiMajorAxis = 6378137.0;
constexpr double kFlattening = 1.0 / 298.257223563;
constexpr double kEccentricitySquared = 2.0 * kFlattening - kFlattening * kFlattening;
// Rings have always been drawn with this value; a more precise one would
// move every stored ring.
constexpr double kPi = 3.14159265359;
constexpr int kSegments = 255;

PointPtr NewPoint(double x, double y) {
  auto point = CreateAs<Point>(kPointProgId);
  point->PutCoords(x, y);
  return point;
}

PolygonPtr BuildRing(const PointPtr& site, double radius) {
  Must(site, "the site");
  if (site->IsEmpty()) throw HostError(5, "", "The site has no coordinates");
  // A point without a coordinate system would only take WGS 84 unchanged.
  SpatialReferencePtr siteSystem = Must(site->SpatialReference(), "the site's coordinate system");
  SpatialReferencePtr wgs = Must(CreateWGS84SR(), "the WGS 84 coordinate system");

  auto centre = Must(As<Point>(site->Copy()), "the copy of the site");
  centre->Project(wgs);
  const double longitude = centre->X();
  const double latitude = centre->Y();
  const double phi = latitude * kPi / 180.0;

  const double sinPhi = std::sin(phi);
  const double w = 1.0 - kEccentricitySquared * sinPhi * sinPhi;
  // The radius over the meridian radius of curvature, and over the
  // prime-vertical radius times cos(phi), in degrees.
  const double dPhi = w * radius * std::sqrt(w) / ((1.0 - kEccentricitySquared) * kSemiMajorAxis) * 180.0 / kPi;
  const double dLambda = std::sqrt(w) * radius / (std::cos(phi) * kSemiMajorAxis) * 180.0 / kPi;

  auto ring = CreateAs<Polygon>(kPolygonProgId);
  ring->SetSpatialReference(wgs);
  for (int i = 0; i < kSegments; ++i) {
    const double theta = 2.0 * i * kPi / kSegments;
    ring->AddPoint(NewPoint(longitude + std::cos(theta) * dLambda, latitude + std::sin(theta) * dPhi));
  }
  // theta = 2 pi is the first vertex again. Computed with the rounded pi it
  // would land a hair beside it, leaving a sliver that the repair in
  // Simplify would have to take out (see docs/departures.md).
  ring->AddPoint(ring->Point(0));

  ring->Project(siteSystem);
  ring->Simplify();
  return ring;
}

} // namespace

PolygonPtr CreateGeodesicRing(const PointPtr& site, double radius) {
  try {
    return BuildRing(site, radius);
  } catch (...) {
    return nullptr;
  }
}

} // namespace tov
