// The host's union of many areas against plain GEOS on the same shapes.
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <map>

namespace tov::bench {
namespace {

// The shapes of each case, read once through the host and shared by all
// three contenders.
const std::vector<GeometryPtr>& Shapes(int which) {
  static std::map<int, std::vector<GeometryPtr>> cache;
  auto it = cache.find(which);
  if (it != cache.end()) return it->second;
  switch (which) {
  case 0: return cache[0] = ReadShapes("zip_areas", "");
  case 1: return cache[1] = ReadShapes("zip_areas", "ZIP LIKE '9%'");
  default: return cache[2] = ReadShapes("counties", "");
  }
}

void Label(benchmark::State& state, int which) {
  static const char* const names[] = {"all ZIP areas", "ZIP areas 9*", "all counties"};
  state.SetLabel(names[which]);
  state.counters["shapes"] = static_cast<double>(Shapes(which).size());
}

void BM_HostConstructUnion(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const auto& shapes = Shapes(which);
  for (auto _ : state) benchmark::DoNotOptimize(HostUnion(shapes));
  Label(state, which);
}

void Raw(benchmark::State& state, GeosUnion kind) {
  const int which = static_cast<int>(state.range(0));
  const auto& shapes = Shapes(which);
  for (auto _ : state) {
    int parts = RawGeosUnion(shapes, kind);
    if (parts < 0) {
      state.SkipWithError("GEOS refused the union");
      break;
    }
    benchmark::DoNotOptimize(parts);
  }
  Label(state, which);
}

void BM_GeosUnaryUnion(benchmark::State& state) { Raw(state, GeosUnion::Unary); }
void BM_GeosCoverageUnion(benchmark::State& state) { Raw(state, GeosUnion::Coverage); }

// Reading is the same for all three and not part of the comparison; shown
// for scale.
void BM_ReadShapes(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  for (auto _ : state) {
    auto shapes = which == 2 ? ReadShapes("counties", "") : ReadShapes("zip_areas", which == 1 ? "ZIP LIKE '9%'" : "");
    benchmark::DoNotOptimize(shapes.data());
  }
  Label(state, which);
}

#define TOV_UNION_CASES ->Arg(0)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)
BENCHMARK(BM_HostConstructUnion) TOV_UNION_CASES;
BENCHMARK(BM_GeosUnaryUnion) TOV_UNION_CASES;
BENCHMARK(BM_GeosCoverageUnion) TOV_UNION_CASES;
BENCHMARK(BM_ReadShapes) TOV_UNION_CASES;

} // namespace
} // namespace tov::bench

BENCHMARK_MAIN();
