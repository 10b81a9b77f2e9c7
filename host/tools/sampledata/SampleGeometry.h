#pragma once
// GEOS shapes as the sample data builder handles them: owned handles of the
// one GEOS context, and the repairs and conversions the census shapes need.
#include <geos_c.h>
#include <ogr_geometry.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace tov::sampledata {

// The GEOS context of the whole build (made in main).
extern GEOSContextHandle_t g_geos;

// A failure that ends the build with its message.
struct BuildError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct GeomDeleter {
  void operator()(GEOSGeometry* g) const {
    if (g) GEOSGeom_destroy_r(g_geos, g);
  }
};
using Geom = std::unique_ptr<GEOSGeometry, GeomDeleter>;

struct PreparedDeleter {
  void operator()(const GEOSPreparedGeometry* p) const {
    if (p) GEOSPreparedGeom_destroy_r(g_geos, p);
  }
};
using Prepared = std::unique_ptr<const GEOSPreparedGeometry, PreparedDeleter>;

struct TreeDeleter {
  void operator()(GEOSSTRtree* t) const {
    if (t) GEOSSTRtree_destroy_r(g_geos, t);
  }
};
using Tree = std::unique_ptr<GEOSSTRtree, TreeDeleter>;

Geom Own(GEOSGeometry* g, const char* what);
Geom Clone(const GEOSGeometry* g);
Geom EmptyMultiPolygon();
// Collects the polygons of any geometry (repair and overlay can return
// collections with stray lines and points) into one multipolygon.
void CollectPolygons(const GEOSGeometry* g, std::vector<GEOSGeometry*>& out);
Geom ToMultiPolygon(const GEOSGeometry* g);
bool IsValid(const GEOSGeometry* g);
bool IsEmpty(const GEOSGeometry* g);
// Returns a valid multipolygon for g; empty when nothing polygonal is left.
// `repaired` tells whether g needed work.
Geom Repair(const GEOSGeometry* g, bool& repaired);
Geom FromOgr(OGRGeometry* geometry);
std::unique_ptr<OGRGeometry> ToOgr(const GEOSGeometry* g);
Geom ShiftX(const GEOSGeometry* g, double dx);
// Longitudes east of Greenwich (Guam, the Marianas, the far Aleutians) are
// moved one turn west so that the whole country is one connected range of x.
Geom ToWestFrame(const GEOSGeometry* g);
// Back from the west frame: the part beyond -180 returns to the eastern
// hemisphere, so a shape straddling the date line becomes two parts.
Geom FromWestFrame(const GEOSGeometry* g);
Geom MakePoint(double x, double y);

} // namespace tov::sampledata
