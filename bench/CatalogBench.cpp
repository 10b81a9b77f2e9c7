// The study area catalogue and the outline pass with 10, 1,000 and 10,000
// study areas. Each measurement does its operation once for every study area
// (or walks the map once), so linear growth means 1,000 times the time of 10.
#include "bench/BenchSupport.h"

#include "host/framework/Analysis.h"
#include "host/framework/AnalysisDatabase.h"
#include "host/framework/MethodDescriptor.h"
#include "host/framework/SqliteStudyAreaCatalog.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/Point.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/MethodNames.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/AnalysisSpatialReference.h"
#include "store/StudyAreaCreation.h"
#include "store/StudyAreaDataset.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <map>
#include <vector>

namespace tov::bench {
namespace {

std::vector<std::string> Names(long n) {
  std::vector<std::string> names;
  names.reserve(n);
  for (long i = 0; i < n; ++i) names.push_back("Study area " + std::to_string(i + 1));
  return names;
}

// A new, empty catalogue in a folder of its own.
struct Catalogue {
  explicit Catalogue(const std::string& tag) : folder(FreshFolder(tag)) {
    db = std::make_shared<AnalysisDatabase>(folder + "/analysis.sqlite");
    catalog = std::make_shared<SqliteStudyAreaCatalog>(db, folder);
  }
  ~Catalogue() {
    catalog.reset();
    db.reset();
    std::filesystem::remove_all(folder);
  }
  std::string folder;
  AnalysisDatabasePtr db;
  std::shared_ptr<SqliteStudyAreaCatalog> catalog;
};

void Fill(SqliteStudyAreaCatalog& catalog, const std::vector<std::string>& names) {
  for (const auto& name : names) catalog.Add(name);
}

// Times `timed` on a new catalogue each round, filled first when asked.
template <class Timed>
void FreshRounds(benchmark::State& state, const char* tag, bool filled, Timed timed) {
  const auto names = Names(state.range(0));
  for (auto _ : state) {
    state.PauseTiming();
    {
      Catalogue c(tag);
      if (filled) Fill(*c.catalog, names);
      state.ResumeTiming();
      timed(*c.catalog, names);
      state.PauseTiming();
    }
    state.ResumeTiming();
  }
}

void BM_CatalogAdd(benchmark::State& state) { FreshRounds(state, "add", false, Fill); }

void BM_CatalogRemove(benchmark::State& state) {
  FreshRounds(state, "remove", true, [](SqliteStudyAreaCatalog& catalog, const std::vector<std::string>& names) {
    for (const auto& name : names) catalog.Remove(name);
  });
}

// Read-only operations share one filled catalogue per size.
Catalogue& Filled(long n) {
  static std::map<long, std::unique_ptr<Catalogue>> cache;
  auto& c = cache[n];
  if (!c) {
    c = std::make_unique<Catalogue>("filled" + std::to_string(n));
    Fill(*c->catalog, Names(n));
  }
  return *c;
}

void BM_CatalogExists(benchmark::State& state) {
  const auto names = Names(state.range(0));
  Catalogue& c = Filled(state.range(0));
  for (auto _ : state)
    for (const auto& name : names) benchmark::DoNotOptimize(c.catalog->Exists(name));
}

void BM_CatalogItem(benchmark::State& state) {
  const auto names = Names(state.range(0));
  Catalogue& c = Filled(state.range(0));
  for (auto _ : state)
    for (const auto& name : names) benchmark::DoNotOptimize(c.catalog->Item(name));
}

// An analysis whose catalogue holds n study areas, each with its layer in
// the analysis group layer of the focus map (layers with the study area
// symbol; their data is not needed to draw outlines).
struct MapWithStudyAreas {
  explicit MapWithStudyAreas(long n) : folder(FreshFolder("outline" + std::to_string(n))) {
    RegisterAllHostClasses();
    analysis = OpenAnalysis(folder, "USA");
    auto catalog = analysis->dataManager->GetStudyAreaCatalog();
    auto group = CreateAs<GroupLayer>(kGroupLayerProgId);
    group->SetName("My Analyses");
    analysis->application->Document()->FocusMap()->AddLayer(group);
    for (const auto& name : Names(n)) {
      catalog->Add(name);
      auto layer = CreateAs<FeatureLayer>(kFeatureLayerProgId);
      layer->SetName(name);
      ApplyStudyAreaSymbol(layer);
      group->Add(layer);
    }
  }
  ~MapWithStudyAreas() {
    analysis.reset();
    std::filesystem::remove_all(folder);
  }
  std::string folder;
  AnalysisPtr analysis;
};

// The store's outline pass: every layer of every map, the catalogue asked
// about each feature layer, its outline width reset.
void BM_OutlinePass(benchmark::State& state) {
  MapWithStudyAreas world(state.range(0));
  MapDocumentPtr document = world.analysis->application->Document();
  StudyAreaCatalogPtr catalog = world.analysis->dataManager->GetStudyAreaCatalog();
  for (auto _ : state) ResetOutlineWidths(document, catalog, "Study area 1");
}

// CreateStudyArea itself in a map that already holds n study areas: the
// dataset and layer file are the same at every size, the outline pass grows.
void BM_CreateStudyAreaInFullMap(benchmark::State& state) {
  MapWithStudyAreas world(state.range(0));
  DataManagerPtr dataManager = world.analysis->dataManager;
  HostApplicationPtr application = world.analysis->application;
  HostDatasetPtr dataSet = dataManager->DataSetByName("USA");
  TaskDescriptorPtr task = FindMethodDescriptor(dataSet, kCurrentExtentMethod);
  SpatialReferencePtr sr = GetAnalysisSpatialReference(application);
  std::string features;
  long n = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto polygon = CreateAs<Polygon>(kPolygonProgId);
    for (auto [x, y] : {std::pair{0.0, 1800000.0}, {0.0, 1900000.0}, {100000.0, 1900000.0}, {100000.0, 1800000.0}}) {
      auto p = CreateAs<Point>(kPointProgId);
      p->PutCoords(x, y);
      polygon->AddPoint(p);
    }
    polygon->SetSpatialReference(sr);
    GeometryPtr shape = polygon;
    std::string name = "New area " + std::to_string(++n);
    state.ResumeTiming();
    if (!CreateStudyArea(shape, dataManager, application, name, dataSet, task, features)) {
      state.SkipWithError("CreateStudyArea failed");
      break;
    }
  }
}

#define TOV_SIZES ->Arg(10)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond)
// Writes need a fresh catalogue per round: a fixed number of rounds per size.
BENCHMARK(BM_CatalogAdd)->Arg(10)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogAdd)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogAdd)->Arg(10000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogExists) TOV_SIZES;
BENCHMARK(BM_CatalogItem) TOV_SIZES;
BENCHMARK(BM_CatalogRemove)->Arg(10)->Iterations(200)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogRemove)->Arg(1000)->Iterations(5)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CatalogRemove)->Arg(10000)->Iterations(2)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OutlinePass) TOV_SIZES;
BENCHMARK(BM_CreateStudyAreaInFullMap) TOV_SIZES->Iterations(10);

} // namespace
} // namespace tov::bench

BENCHMARK_MAIN();
