// The store path (a feature class in a shapefile folder and in a GeoPackage,
// one feature, its spatial index) run once under valgrind: nothing the host
// allocates may be left unreachable. Skipped where valgrind is not installed.
#include "GisTestSupport.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace tov::test {
namespace {

constexpr char kProbeVariable[] = "TOV_STORE_LEAK_PROBE";

void StoreOneArea(const WorkspacePtr& ws, bool geoPackage) {
  FeatureClassPtr fc = ws->CreateFeatureClass("Area", PolygonFields(Projected(5070), geoPackage), kFeatureClassClsid,
                                              "", featureTypeSimple, "Shape", "");
  FeaturePtr f = fc->CreateFeature();
  f->SetShape(Square(-96, 40, 1, Geographic(4269)));
  f->Store();
  auto fields = CreateAs<Fields>("orvaCore.Fields");
  fields->AddField(fc->Fields()->Field(fc->FindField(fc->ShapeFieldName())));
  auto index = CreateAs<Index>("orvaCore.Index");
  index->SetName("Idx_1");
  index->SetFields(fields);
  fc->AddIndex(index);
}

// The work that the valgrind run below watches; does nothing on its own.
TEST_F(GisTest, StoreLeakProbe) {
  if (!std::getenv(kProbeVariable)) GTEST_SKIP() << "run by StoreLeaksNoHostMemory under valgrind";
  StoreOneArea(CreateAs<WorkspaceFactory>("orvaCore.ShapefileWorkspaceFactory")->OpenFromFile(Platform()), false);
  auto gpkg = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
  StoreOneArea(gpkg->OpenFromFile(gpkg->Create(Platform(), "Area", nullptr)), true);
}

// The valgrind records of definitely lost blocks whose stack passes through
// the host's own code.
std::vector<std::string> HostLeaks(const std::string& report) {
  std::vector<std::string> leaks;
  std::istringstream lines(report);
  std::string line, record;
  bool inLoss = false;
  auto finish = [&] {
    if (inLoss && record.find("tov::") != std::string::npos) leaks.push_back(record);
    record.clear();
    inLoss = false;
  };
  while (std::getline(lines, line)) {
    const size_t body = line.find("== ");
    const std::string text = body == std::string::npos ? line : line.substr(body + 3);
    if (text.empty()) {
      finish();
      continue;
    }
    if (text.find("definitely lost in loss record") != std::string::npos) {
      finish();
      inLoss = true;
    }
    if (inLoss) record += text + "\n";
  }
  finish();
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
                              "/exe --gtest_filter=GisTest.StoreLeakProbe 2>&1";
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  ASSERT_TRUE(pipe);
  std::string report;
  std::array<char, 4096> buffer{};
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) report.append(buffer.data(), n);
  ASSERT_NE(report.find("[  PASSED  ] 1 test"), std::string::npos) << report;
  for (const std::string& leak : HostLeaks(report)) ADD_FAILURE() << leak;
}

} // namespace
} // namespace tov::test
