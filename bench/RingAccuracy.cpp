// How far the vertices of the ring method's rings lie from the true geodesic
// circle. CreateGeodesicRing takes its offsets once, at the centre's
// latitude, so its ring is an ellipse in degrees; GeographicLib measures the
// geodesic distance from the centre to each vertex on WGS 84. Prints a
// markdown table; exits 1 when a ring cannot be made.
#include "host/join/HostSetup.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"
#include "store/GeodesicRing.h"

#include <GeographicLib/Geodesic.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace tov::bench {
namespace {

// The ring method counts 0.621 miles to the kilometre.
constexpr double kMetresPerMile = 1000.0 / 0.621;
constexpr double kRadiiMiles[] = {1, 3, 10, 50, 100};
constexpr double kLatitudes[] = {0, 25, 40, 60};
// Any longitude will do: the ellipsoid is symmetric about its axis.
constexpr double kLongitude = -100.0;

struct Deviation {
  double metres = 0;     // largest |distance - radius| over the vertices
  double signedAt = 0;   // distance - radius at that vertex (< 0: inside)
  double bearing = 0;    // of that vertex from the centre, degrees from north
  double outside = 0;    // largest distance - radius over the vertices beyond the circle (0: none)
  double outsideBearing = 0; // of that vertex
  long vertices = 0;
  bool made = false;
};

Deviation Measure(double radiusMetres, double latitude) {
  Deviation d;
  auto site = CreateAs<Point>(kPointProgId);
  site->PutCoords(kLongitude, latitude);
  site->SetSpatialReference(CreateWGS84SR());
  PolygonPtr ring = CreateGeodesicRing(site, radiusMetres);
  if (!ring) return d;
  d.made = true;
  const GeographicLib::Geodesic& wgs84 = GeographicLib::Geodesic::WGS84();
  d.vertices = ring->PointCount();
  for (long i = 0; i < d.vertices; ++i) {
    PointPtr p = ring->Point(i);
    double distance = 0, azimuth = 0, azimuthThere = 0;
    wgs84.Inverse(latitude, kLongitude, p->Y(), p->X(), distance, azimuth, azimuthThere);
    const double off = distance - radiusMetres;
    // Whole degrees from 0 to 359.
    const double bearing = std::fmod(std::round(azimuth) + 360.0, 360.0);
    if (off > d.outside) {
      d.outside = off;
      d.outsideBearing = bearing;
    }
    if (std::abs(off) > d.metres) {
      d.metres = std::abs(off);
      d.signedAt = off;
      d.bearing = bearing;
    }
  }
  return d;
}

} // namespace
} // namespace tov::bench

int main() {
  using namespace tov::bench;
  tov::RegisterAllHostClasses();
  std::printf("| radius | latitude | vertices | largest deviation | of the radius | that vertex lies | farthest outside |\n");
  std::printf("|-------:|---------:|---------:|------------------:|--------------:|------------------|-----------------:|\n");
  int failures = 0;
  for (double miles : kRadiiMiles) {
    for (double latitude : kLatitudes) {
      const double radius = miles * kMetresPerMile;
      const Deviation d = Measure(radius, latitude);
      if (!d.made) {
        std::fprintf(stderr, "bench_ring_accuracy: no ring for %g miles at %g degrees\n", miles, latitude);
        ++failures;
        continue;
      }
      const double fraction = d.metres / radius;
      std::printf("| %g mi | %g° | %ld | %.3f m | %.2e (%.4f %%) | %s, bearing %.0f° | %.3f m, bearing %.0f° |\n", miles, latitude,
                  d.vertices, d.metres, fraction, fraction * 100, d.signedAt < 0 ? "inside" : "outside", d.bearing,
                  d.outside, d.outsideBearing);
    }
  }
  return failures == 0 ? 0 : 1;
}
