#pragma once
#include <ogr_geometry.h>

#include <memory>

typedef struct GEOSGeom_t GEOSGeometry;

namespace tov {

// How a union of many areas was computed.
enum class UnionMethod {
  None,     // nothing to unite
  Coverage, // the areas only shared edges: GEOS coverage union
  Unary,    // the general (cascaded) union
  Server    // a PostGIS database united a table's shapes where they are
};

// "none", "coverage" or "unary", for logs and reports.
const char* UnionMethodName(UnionMethod method);

// For measurements only: with this environment variable set (to anything but
// "" or "0") every union of many areas is GEOS's plain unary union, with no
// coverage attempt and no repairs, so that a whole process can be timed
// against the same process on that union. Read at each union.
constexpr char kPlainUnaryUnionVariable[] = "TOVANA_BENCH_PLAIN_UNARY_UNION";
bool PlainUnaryUnionRequested();

// For measurements only: "server" or "local" makes every union of a PostGIS
// table's shapes run in the database or in the host, whatever the host would
// choose. Read at each union.
constexpr char kUnionSiteVariable[] = "TOVANA_BENCH_UNION_SITE";
// Whether the database, rather than the host, should unite shapes of one of
// its tables of which this share of the area overlaps other shapes (0 for a
// coverage; measured on a sample): the host's coverage union is the faster
// one where shapes only share edges, the database's where they overlap (see
// bench/README.md, "PostGIS data sets and unions in the database").
bool ServerUnionPreferred(double overlapShare);

// Makes a shape valid without changing a valid one (its polygonal part).
std::unique_ptr<OGRGeometry> RepairedShape(std::unique_ptr<OGRGeometry> shape, const char* source);

// The union of the polygons gathered in `collection` (a GEOS geometry
// collection, which is consumed). Returns the united polygons; *method (when
// given) says how they were united. Raises HostError when GEOS refuses.
std::unique_ptr<OGRMultiPolygon> UnitePolygons(GEOSGeometry* collection, UnionMethod* method, const char* source);

} // namespace tov
