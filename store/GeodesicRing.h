#pragma once
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"

namespace tov {

// A ring of radius metres around the site, measured on the WGS 84
// ellipsoid: 256 vertices (the last is the first again), offsets taken once
// at the centre's latitude, so the ring is an ellipse in degrees. The ring
// comes back in the site's coordinate system; the site is not changed.
// No object, and no report, when it cannot be made (no site, an empty site,
// a site without a coordinate system, a projection that fails).
PolygonPtr CreateGeodesicRing(const PointPtr& site, double radius);

} // namespace tov
