// The store path (a feature class in a shapefile folder and in a GeoPackage,
// one feature, its spatial index) run once under valgrind: nothing the host
// allocates may be left unreachable. Skipped where valgrind is not installed.
#include "GisTestSupport.h"

#include <cstdio>
#include <cstdlib>

namespace tov::test {
namespace {

constexpr char kProbeVariable[] = "TOV_STORE_LEAK_PROBE";

void StoreOneArea(const WorkspacePtr& ws, bool geoPackage) {
  FeatureClassPtr fc = PolygonClass(ws, "Area", Projected(5070), geoPackage);
  AddSquares(fc, {"A"}, -96, 40, Geographic(4269));
  fc->AddIndex(IndexOn(fc, fc->ShapeFieldName(), "Idx_1"));
}

// The work that the valgrind run below watches; does nothing on its own.
TEST_F(GisTest, StoreLeakProbe) {
  if (!std::getenv(kProbeVariable)) GTEST_SKIP() << "run by StoreLeaksNoHostMemory under valgrind";
  StoreOneArea(Shapefiles(), false);
  StoreOneArea(NewGeoPackage(), true);
}

// The valgrind records (blocks of lines between blank ones) of definitely
// lost blocks whose stack passes through the host's own code.
std::vector<std::string> HostLeaks(const std::string& report) {
  std::vector<std::string> leaks;
  std::istringstream lines(report + "\n");
  std::string record;
  for (std::string line; std::getline(lines, line);) {
    const size_t body = line.find("== ");
    const std::string text = body == std::string::npos ? line : line.substr(body + 3);
    if (!text.empty()) record += text + "\n";
    else if (Has(record, "definitely lost in loss record") && Has(record, "tov::")) leaks.push_back(record);
    if (text.empty()) record.clear();
  }
  return leaks;
}

TEST(StoreLeak, StoreLeaksNoHostMemory) {
#ifdef __SANITIZE_ADDRESS__
  GTEST_SKIP() << "LeakSanitizer watches this build; valgrind cannot run it";
#endif
  if (std::system("valgrind --version >/dev/null 2>&1") != 0) GTEST_SKIP() << "valgrind is not installed";
  const std::string command = std::string(kProbeVariable) +
                              "=1 valgrind --leak-check=full --show-leak-kinds=definite --num-callers=40 "
                              "/proc/" + std::to_string(::getpid()) +
                              "/exe --gtest_filter=GisTest.StoreLeakProbe";
  std::string report;
  if (FILE* pipe = popen((command + " 2>&1").c_str(), "r")) {
    char buffer[4096];
    for (size_t n; (n = fread(buffer, 1, sizeof buffer, pipe)) > 0;) report.append(buffer, n);
    pclose(pipe);
  }
  ASSERT_NE(report.find("[  PASSED  ] 1 test"), std::string::npos) << report;
  for (const std::string& leak : HostLeaks(report)) ADD_FAILURE() << leak;
}

} // namespace
} // namespace tov::test
