// `tovana setup extent` on the sample data with an analysis coordinate system
// the host cannot make: no study area may be stored in map degrees; the
// method fails where it first needs the system and says so in log.txt.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSample = fs::path(TOVANA_SOURCE_ROOT) / "data" / "usa";
const fs::path kTovana = fs::path(TOVANA_BINARY_ROOT) / "host" / "app" / "tovana";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

// A data root holding the sample description with the analysis system
// replaced, its GeoPackage named by absolute path.
void WriteDataRoot(const fs::path& root, const std::string& type, const std::string& id) {
  nlohmann::json description = nlohmann::json::parse(ReadAll(kSample / "dataset.json"));
  description["geopackage"] = (kSample / "usa.gpkg").string();
  for (auto& node : description["configuration"]["children"])
    if (node["name"] == "Projections")
      for (auto& child : node["children"])
        if (child["name"] == "Projection.ResultantDefault") child["properties"] = {{"Type", type}, {"ID", id}};
  fs::create_directories(root / "usa");
  std::ofstream(root / "usa" / "dataset.json") << description.dump(2);
}

int RunCommand(const std::string& command) {
  const int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

class AnalysisSystemCommand : public ::testing::TestWithParam<std::pair<const char*, const char*>> {};

TEST_P(AnalysisSystemCommand, AnUnusableSystemStoresNothingAndIsReportedByTheStart) {
  if (!fs::exists(kSample / "usa.gpkg")) GTEST_SKIP() << "the sample data set is not built (make data)";
  if (!fs::exists(kTovana)) GTEST_SKIP() << "the tovana program is not built";
  tov::testing::TempFolder temp;
  const fs::path root = fs::path(temp.Path()) / "data";
  const fs::path analysis = fs::path(temp.Path()) / "analysis";
  WriteDataRoot(root, GetParam().first, GetParam().second);

  const int status = RunCommand("'" + kTovana.string() + "' --analysis '" + analysis.string() + "' --data-root '" +
                         root.string() + "' setup extent --name Here --lonlat --extent=-100,35,-95,40 >'" + temp.Path() +
                         "/out.txt' 2>&1");
  EXPECT_EQ(status, 1) << ReadAll(fs::path(temp.Path()) / "out.txt");
  const std::string log = ReadAll(analysis / "log.txt");
  EXPECT_NE(log.find("ITovFunction_Start "), std::string::npos) << log;
  for (const auto& entry : fs::recursive_directory_iterator(analysis))
    EXPECT_NE(entry.path().extension(), ".shp") << "a study area was stored: " << entry.path();
}

INSTANTIATE_TEST_SUITE_P(UnknownOrWrongKind, AnalysisSystemCommand,
                         ::testing::Values(std::make_pair("Projected", "999999"),
                                           std::make_pair("Geographic", "5070"),
                                           std::make_pair("Projected", "4269")),
                         [](const auto& info) { return std::string(info.param.first) + info.param.second; });

} // namespace
