// The work of `tovana zip-preview` in-process: a list of 50 three-digit
// prefixes checked by the ZIP rules and counted against every ZIP code of
// the sample data set.
//   bench_zip_preview --list    prints the list and ends (bench/run times
//                               the whole process on the same list)
#include "bench/BenchSupport.h"

#include "host/join/ZipPreview.h"

#include <benchmark/benchmark.h>
#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>
#include <vector>

namespace tov::bench {
namespace {

constexpr size_t kPrefixes = 50;

// Every ZIP code of the sample, read with OGR in one pass (no shapes).
std::vector<std::string> ReadCodesWithOgr() {
  GDALAllRegister();
  std::unique_ptr<GDALDataset> dataset(
      GDALDataset::Open(SampleGeoPackage().c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  OGRLayer* zips = dataset ? dataset->GetLayerByName("zip_areas") : nullptr;
  if (!zips) {
    std::fprintf(stderr, "bench_zip_preview: the sample data set has no layer zip_areas\n");
    std::exit(2);
  }
  zips->SetIgnoredFields(std::vector<const char*>{"OGR_GEOMETRY", nullptr}.data());
  std::vector<std::string> codes;
  for (auto& feature : *zips) codes.emplace_back(feature->GetFieldAsString("ZIP"));
  return codes;
}

// 50 of the data's distinct three-digit prefixes, evenly spread, each ending
// in the wildcard: "006*, 023*, ...".
std::string PrefixList() {
  std::set<std::string> distinct;
  for (const std::string& code : ReadCodesWithOgr()) distinct.insert(code.substr(0, 3));
  const std::vector<std::string> all(distinct.begin(), distinct.end());
  if (all.size() < kPrefixes) {
    std::fprintf(stderr, "bench_zip_preview: only %zu prefixes in the data\n", all.size());
    std::exit(2);
  }
  std::string list;
  for (size_t i = 0; i < kPrefixes; ++i) list += (i ? ", " : "") + all[i * all.size() / kPrefixes] + "*";
  return list;
}

void BM_ZipPreview(benchmark::State& state) {
  RegisterAllHostClasses();
  const std::string folder = FreshFolder("zip_preview");
  AnalysisPtr analysis = OpenAnalysis(folder, "USA");
  const std::string list = PrefixList();
  std::ostringstream out, err;
  for (auto _ : state) {
    out.str(std::string());
    if (!PreviewZipCodes(*analysis, list, out, err)) {
      state.SkipWithError(("the preview refused the list: " + err.str()).c_str());
      break;
    }
  }
  // The last line but one is the total.
  state.SetLabel("50 prefixes");
  const std::string text = out.str();
  const size_t total = text.rfind('\n', text.find(" in all"));
  state.counters["areas"] = std::atof(text.c_str() + (total == std::string::npos ? 0 : total + 1));
  analysis.reset();
  std::filesystem::remove_all(folder);
}

// For scale: the same counts from one OGR pass over the ZIP column, sorted,
// each prefix a range. Not the command's code; what its reading could cost.
void BM_PlainOgrZipCounts(benchmark::State& state) {
  std::vector<std::string> prefixes;
  std::istringstream list(PrefixList());
  for (std::string item; std::getline(list, item, ',');)
    prefixes.push_back(item.substr(item.find_first_not_of(' '), 3));
  long total = 0;
  for (auto _ : state) {
    std::vector<std::string> codes = ReadCodesWithOgr();
    std::sort(codes.begin(), codes.end());
    total = 0;
    for (const std::string& prefix : prefixes) {
      auto first = std::lower_bound(codes.begin(), codes.end(), prefix);
      auto last = first;
      while (last != codes.end() && last->compare(0, prefix.size(), prefix) == 0) ++last;
      total += last - first;
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetLabel(std::to_string(prefixes.size()) + " prefixes");
  state.counters["areas"] = static_cast<double>(total);
}

BENCHMARK(BM_ZipPreview)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainOgrZipCounts)->Unit(benchmark::kMillisecond);

} // namespace
} // namespace tov::bench

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--list") == 0) {
    std::printf("%s\n", tov::bench::PrefixList().c_str());
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
