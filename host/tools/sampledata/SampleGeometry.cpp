#include "host/tools/sampledata/SampleGeometry.h"

namespace tov::sampledata {

GEOSContextHandle_t g_geos = nullptr;

Geom Own(GEOSGeometry* g, const char* what) {
  if (!g) throw BuildError(std::string("geometry operation failed: ") + what);
  return Geom(g);
}

Geom Clone(const GEOSGeometry* g) { return Own(GEOSGeom_clone_r(g_geos, g), "clone"); }

Geom EmptyMultiPolygon() {
  return Own(GEOSGeom_createEmptyCollection_r(g_geos, GEOS_MULTIPOLYGON), "empty multipolygon");
}

void CollectPolygons(const GEOSGeometry* g, std::vector<GEOSGeometry*>& out) {
  int type = GEOSGeomTypeId_r(g_geos, g);
  if (type == GEOS_POLYGON) {
    if (!GEOSisEmpty_r(g_geos, g)) out.push_back(GEOSGeom_clone_r(g_geos, g));
  } else if (type == GEOS_MULTIPOLYGON || type == GEOS_GEOMETRYCOLLECTION) {
    int n = GEOSGetNumGeometries_r(g_geos, g);
    for (int i = 0; i < n; ++i) CollectPolygons(GEOSGetGeometryN_r(g_geos, g, i), out);
  }
}

Geom ToMultiPolygon(const GEOSGeometry* g) {
  std::vector<GEOSGeometry*> parts;
  CollectPolygons(g, parts);
  return Own(GEOSGeom_createCollection_r(g_geos, GEOS_MULTIPOLYGON, parts.data(),
                                         static_cast<unsigned>(parts.size())),
             "multipolygon");
}

bool IsValid(const GEOSGeometry* g) { return GEOSisValid_r(g_geos, g) == 1; }
bool IsEmpty(const GEOSGeometry* g) { return GEOSisEmpty_r(g_geos, g) == 1; }

Geom Repair(const GEOSGeometry* g, bool& repaired) {
  repaired = false;
  Geom multi = ToMultiPolygon(g);
  if (IsValid(multi.get())) return multi;
  repaired = true;
  Geom fixed = ToMultiPolygon(Own(GEOSMakeValid_r(g_geos, multi.get()), "make valid").get());
  if (!IsValid(fixed.get())) {
    fixed = ToMultiPolygon(Own(GEOSBuffer_r(g_geos, fixed.get(), 0.0, 8), "buffer").get());
  }
  if (!IsValid(fixed.get())) return EmptyMultiPolygon();
  return fixed;
}

Geom FromOgr(OGRGeometry* geometry) {
  GEOSGeometry* g = geometry->exportToGEOS(g_geos);
  if (!g) throw BuildError("cannot convert a shape to GEOS");
  return Geom(g);
}

std::unique_ptr<OGRGeometry> ToOgr(const GEOSGeometry* g) {
  OGRGeometry* o = OGRGeometryFactory::createFromGEOS(g_geos, const_cast<GEOSGeometry*>(g));
  if (!o) throw BuildError("cannot convert a shape from GEOS");
  return std::unique_ptr<OGRGeometry>(OGRGeometryFactory::forceToMultiPolygon(o));
}

Geom ShiftX(const GEOSGeometry* g, double dx) {
  auto shift = [](double* x, double*, void* data) {
    *x += *static_cast<double*>(data);
    return 1;
  };
  return Own(GEOSGeom_transformXY_r(g_geos, g, shift, &dx), "shift");
}

Geom ToWestFrame(const GEOSGeometry* g) {
  auto shift = [](double* x, double*, void*) {
    if (*x > 0) *x -= 360.0;
    return 1;
  };
  return Own(GEOSGeom_transformXY_r(g_geos, g, shift, nullptr), "west frame");
}

Geom FromWestFrame(const GEOSGeometry* g) {
  double xmin = 0, xmax = 0, ymin = 0, ymax = 0;
  GEOSGeom_getXMin_r(g_geos, g, &xmin);
  GEOSGeom_getXMax_r(g_geos, g, &xmax);
  GEOSGeom_getYMin_r(g_geos, g, &ymin);
  GEOSGeom_getYMax_r(g_geos, g, &ymax);
  if (xmin >= -180.0) return Clone(g);
  if (xmax <= -180.0) return ShiftX(g, 360.0);
  Geom west = Own(GEOSClipByRect_r(g_geos, g, xmin - 1, ymin - 1, -180.0, ymax + 1), "clip west");
  Geom east = Own(GEOSClipByRect_r(g_geos, g, -180.0, ymin - 1, xmax + 1, ymax + 1), "clip east");
  Geom westBack = ShiftX(west.get(), 360.0);
  std::vector<GEOSGeometry*> parts;
  CollectPolygons(westBack.get(), parts);
  CollectPolygons(east.get(), parts);
  return Own(GEOSGeom_createCollection_r(g_geos, GEOS_MULTIPOLYGON, parts.data(),
                                         static_cast<unsigned>(parts.size())),
             "date line parts");
}

Geom MakePoint(double x, double y) {
  return Own(GEOSGeom_createPointFromXY_r(g_geos, x, y), "point");
}

} // namespace tov::sampledata
