// One study area stored end to end against writing the same one-feature
// dataset with plain OGR.
#include "bench/BenchSupport.h"

#include "host/framework/Analysis.h"
#include "host/framework/MethodDescriptor.h"
#include "host/gis/OgrGeometrySource.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/MethodNames.h"
#include "store/AnalysisSpatialReference.h"
#include "store/StudyAreaCreation.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <benchmark/benchmark.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>
#include <memory>

namespace tov::bench {
namespace {

constexpr char kPersonalGeodatabase[] = "Personal Geodatabase";

// A rectangle of about 200 km by 150 km in the middle of the country, in the
// analysis coordinate system, with points every 10 km as the current-extent
// method makes it.
GeometryPtr StudyPolygon(const SpatialReferencePtr& sr) {
  auto polygon = CreateAs<Polygon>(kPolygonProgId);
  auto add = [&](double x, double y) {
    auto p = CreateAs<Point>(kPointProgId);
    p->PutCoords(x, y);
    polygon->AddPoint(p);
  };
  const double x0 = -100000, y0 = 1800000, x1 = 100000, y1 = 1950000, step = 10000;
  for (double x = x0; x < x1; x += step) add(x, y0);
  for (double y = y0; y < y1; y += step) add(x1, y);
  for (double x = x1; x > x0; x -= step) add(x, y1);
  for (double y = y1; y > y0; y -= step) add(x0, y);
  add(x0, y0);
  polygon->SetSpatialReference(sr);
  return polygon;
}

void BM_CreateStudyArea(benchmark::State& state) {
  RegisterAllHostClasses();
  const bool geoPackage = state.range(0) != 0;
  const std::string folder = FreshFolder(geoPackage ? "store_gpkg" : "store_shp");
  AnalysisPtr analysis = OpenAnalysis(folder, "USA");
  analysis->extension->ExtensionProperties()->SetProperty("Data Format", geoPackage ? kPersonalGeodatabase : "Shapefile");
  DataManagerPtr dataManager = analysis->dataManager;
  HostApplicationPtr application = analysis->application;
  HostDatasetPtr dataSet = dataManager->DataSetByName("USA");
  TaskDescriptorPtr task = FindMethodDescriptor(dataSet, kCurrentExtentMethod);
  const GeometryPtr model = StudyPolygon(GetAnalysisSpatialReference(application));
  std::string features;
  long n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    GeometryPtr polygon = model->Copy();
    std::string name = "Bench " + std::to_string(++n);
    state.ResumeTiming();
    if (!CreateStudyArea(polygon, dataManager, application, name, dataSet, task, features)) {
      state.SkipWithError(("CreateStudyArea failed; see " + folder + "/log.txt").c_str());
      break;
    }
  }
  state.SetLabel(geoPackage ? "GeoPackage" : "shapefile");
  analysis.reset();
  std::filesystem::remove_all(folder);
}

// The same one-feature dataset written with OGR alone: a new folder, the
// coordinate system, the class, one polygon, the spatial index.
void BM_PlainOgrWrite(benchmark::State& state) {
  RegisterAllHostClasses();
  const bool geoPackage = state.range(0) != 0;
  const std::string folder = FreshFolder(geoPackage ? "ogr_gpkg" : "ogr_shp");
  const std::unique_ptr<OGRGeometry> shape = OgrGeometryOf(StudyPolygon(nullptr));
  GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(geoPackage ? "GPKG" : "ESRI Shapefile");
  long n = 0;
  for (auto _ : state) {
    const std::string dir = folder + "/" + std::to_string(++n);
    std::filesystem::create_directory(dir);
    OGRSpatialReference sr;
    sr.importFromEPSG(5070);
    sr.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    const std::string path = geoPackage ? dir + "/StudyArea.gpkg" : dir;
    std::unique_ptr<GDALDataset> ds(driver->Create(path.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
    if (!ds) {
      state.SkipWithError("OGR cannot create the dataset");
      break;
    }
    char** options = nullptr;
    if (geoPackage) {
      options = CSLSetNameValue(options, "FID", "OID");
      options = CSLSetNameValue(options, "GEOMETRY_NAME", "Shape");
    }
    OGRLayer* layer = ds->CreateLayer("StudyArea", &sr, wkbPolygon, options);
    CSLDestroy(options);
    OGRFeature feature(layer->GetLayerDefn());
    feature.SetGeometry(shape.get());
    if (layer->CreateFeature(&feature) != OGRERR_NONE) {
      state.SkipWithError("OGR cannot write the feature");
      break;
    }
    if (!geoPackage) { // a GeoPackage layer gets its spatial index on creation
      layer->SyncToDisk();
      ds->ExecuteSQL("CREATE SPATIAL INDEX ON StudyArea", nullptr, nullptr);
    }
    ds.reset();
  }
  state.SetLabel(geoPackage ? "GeoPackage" : "shapefile");
  std::filesystem::remove_all(folder);
}

BENCHMARK(BM_CreateStudyArea)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(40);
BENCHMARK(BM_PlainOgrWrite)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(40);

} // namespace
} // namespace tov::bench

BENCHMARK_MAIN();
