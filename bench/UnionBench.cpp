// The host's union of many areas against plain GEOS on the same shapes.
#include "bench/BenchSupport.h"

#include <benchmark/benchmark.h>

#include <map>
#include <string>

namespace tov::bench {
namespace {

// The three cases, by benchmark argument.
struct UnionCase {
  const char* label;
  const char* className;
  const char* where;
};
constexpr UnionCase kCases[] = {
    {"all ZIP areas", "zip_areas", ""}, {"ZIP areas 9*", "zip_areas", "ZIP LIKE '9%'"}, {"all counties", "counties", ""}};

std::vector<GeometryPtr> ReadCase(int which) { return ReadShapes(kCases[which].className, kCases[which].where); }

// The shapes of each case, read once through the host and shared by all
// three contenders.
const std::vector<GeometryPtr>& Shapes(int which) {
  static std::map<int, std::vector<GeometryPtr>> cache;
  auto it = cache.find(which);
  return it != cache.end() ? it->second : cache[which] = ReadCase(which);
}

// The label names the case and, for the host, how it united the shapes.
void Label(benchmark::State& state, int which, const std::string& hostMethod = std::string()) {
  state.SetLabel(hostMethod.empty() ? std::string(kCases[which].label)
                                    : std::string(kCases[which].label) + " (host: " + hostMethod + " union)");
  state.counters["shapes"] = static_cast<double>(Shapes(which).size());
}

void BM_HostConstructUnion(benchmark::State& state) {
  const int which = static_cast<int>(state.range(0));
  const auto& shapes = Shapes(which);
  std::string method;
  for (auto _ : state) benchmark::DoNotOptimize(HostUnion(shapes, &method));
  Label(state, which, method);
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
    auto shapes = ReadCase(which);
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
