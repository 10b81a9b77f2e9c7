#pragma once
#include <ogr_geometry.h>

#include <memory>

typedef struct GEOSGeom_t GEOSGeometry;

namespace tov {

// How a union of many areas was computed.
enum class UnionMethod {
  None,     // nothing to unite
  Coverage, // the areas only shared edges: GEOS coverage union
  Unary     // the general (cascaded) union
};

// "none", "coverage" or "unary", for logs and reports.
const char* UnionMethodName(UnionMethod method);

// Makes a shape valid without changing a valid one (its polygonal part).
std::unique_ptr<OGRGeometry> RepairedShape(std::unique_ptr<OGRGeometry> shape, const char* source);

// The union of the polygons gathered in `collection` (a GEOS geometry
// collection, which is consumed). Returns the united polygons; *method (when
// given) says how they were united. Raises HostError when GEOS refuses.
std::unique_ptr<OGRMultiPolygon> UnitePolygons(GEOSGeometry* collection, UnionMethod* method, const char* source);

} // namespace tov
