#include "bench/BenchSupport.h"

#include "host/common/Paths.h"
#include "host/framework/Analysis.h"
#include "host/gis/GisErrors.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/HostPolygon.h"
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/QueryFilter.h"
#include "platform/gis/Workspace.h"
#include "platform/gis/WorkspaceFactory.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <ogr_geometry.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

namespace tov::bench {

std::string SampleGeoPackage() {
  const std::string path = DefaultDataRoot() + "/usa/usa.gpkg";
  if (!std::filesystem::exists(path)) {
    std::fprintf(stderr, "The sample data set is missing (%s); build it with \"make data\".\n", path.c_str());
    std::exit(2);
  }
  return path;
}

FeatureClassPtr OpenSampleClass(const std::string& name) {
  RegisterAllHostClasses();
  auto factory = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId);
  return factory->OpenFromFile(ToPlatformPath(SampleGeoPackage()))->OpenFeatureClass(name);
}

std::vector<GeometryPtr> ReadShapes(const std::string& className, const std::string& where) {
  auto fc = std::dynamic_pointer_cast<HostFeatureClass>(OpenSampleClass(className));
  auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
  filter->SetWhereClause(where);
  return fc->ReadShapes(filter);
}

int RawGeosUnion(const std::vector<GeometryPtr>& shapes, GeosUnion kind) {
  GEOSContextHandle_t h = GeosHandle();
  std::vector<GEOSGeometry*> parts;
  parts.reserve(shapes.size());
  for (const auto& g : shapes) {
    auto ogr = OgrGeometryOf(g);
    if (!ogr) continue;
    if (GEOSGeometry* gg = ogr->exportToGEOS(h)) parts.push_back(gg);
  }
  GEOSGeometry* collection =
      GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size()));
  GEOSGeometry* united = kind == GeosUnion::Unary ? GEOSUnaryUnion_r(h, collection) : GEOSCoverageUnion_r(h, collection);
  GEOSGeom_destroy_r(h, collection);
  if (!united) return -1;
  std::unique_ptr<OGRGeometry> back(OGRGeometryFactory::createFromGEOS(h, united));
  GEOSGeom_destroy_r(h, united);
  if (!back) return -1;
  auto* multi = dynamic_cast<OGRGeometryCollection*>(back.get());
  return multi ? multi->getNumGeometries() : 1;
}

long HostUnion(const std::vector<GeometryPtr>& shapes, std::string* method) {
  auto united = std::make_shared<HostPolygon>();
  const UnionMethod used = united->ConstructUnionReportingMethod(std::make_shared<ListEnumerator>(shapes));
  if (method) *method = UnionMethodName(used);
  return united->PartCount();
}

std::string FreshFolder(const std::string& name) {
  auto dir = std::filesystem::temp_directory_path() / ("tovbench_" + name + "_" + std::to_string(::getpid()));
  std::filesystem::remove_all(dir);
  std::filesystem::create_directories(dir);
  return dir.string();
}

} // namespace tov::bench
