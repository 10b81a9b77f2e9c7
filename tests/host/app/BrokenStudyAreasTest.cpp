// Study areas whose files went missing are shown as broken, drawn around,
// found by check and removed by check --repair.
#include "AnalysisViews.h"
#include "Program.h"

#include "host/common/Paths.h"

#include <sstream>

namespace tov::test {
namespace {

class BrokenStudyAreasTest : public ::testing::Test {
protected:
  void SetUp() override {
    for (const char* extent : {"Whole --lonlat --extent -74.9,40.2,-74.6,40.8", "NoLayerFile --lonlat --extent -74.5,40.2,-74.2,40.8",
                               "NoData --lonlat --extent -74.1,40.2,-73.8,40.8"})
      ASSERT_EQ(RunTovana(world, std::string("setup extent --name ") + extent).exitCode, 0) << extent;
    AnalysisPtr analysis = world.Open();
    StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
    layerFile = ToNativePath(catalog->Item("NoLayerFile")->FilePath());
    noDataFolder = fs::path(ToNativePath(catalog->Item("NoData")->FilePath())).parent_path().string();
  }

  // Removes by hand what a crash or a user may remove.
  void BreakThem() {
    fs::remove(layerFile);
    for (const char* ext : {".shp", ".shx", ".dbf", ".prj", ".cpg"}) fs::remove(noDataFolder + "/StudyArea" + ext);
  }

  TestWorld world;
  std::string layerFile, noDataFolder;
};

TEST_F(BrokenStudyAreasTest, ListRenderAndCheckNameTheStudyAreasWhoseFilesAreGoneAndRepairMakesItConsistent) {
  ProgramRun list = RunTovana(world, "list");
  ASSERT_EQ(list.exitCode, 0);
  EXPECT_FALSE(Has(list.output, "broken")) << list.output;
  ProgramRun check = RunTovana(world, "check");
  EXPECT_EQ(check.exitCode, 0) << check.output << check.errors;

  BreakThem();
  list = RunTovana(world, "list");
  ASSERT_EQ(list.exitCode, 0) << list.errors;
  std::istringstream lines(list.output);
  std::map<std::string, std::string> byName;
  for (std::string line; std::getline(lines, line);) byName[line.substr(0, line.find('\t'))] = line;
  EXPECT_FALSE(Has(byName["Whole"], "broken"));
  EXPECT_TRUE(Has(byName["NoLayerFile"], "\tbroken: layer file missing: " + layerFile)) << byName["NoLayerFile"];
  EXPECT_TRUE(Has(byName["NoData"], "\tbroken: dataset missing: " + noDataFolder + "/StudyArea.shp")) << byName["NoData"];

  // The map still draws; the layer without data is named, with its path.
  const ProgramRun render = RunTovana(world, "render --out '" + world.Root() + "/map.png'");
  EXPECT_EQ(render.exitCode, 0) << render.errors;
  EXPECT_TRUE(fs::exists(world.Root() + "/map.png"));
  EXPECT_TRUE(Has(render.errors, "could not draw NoData: its data is missing: " + noDataFolder + "/StudyArea.shp"))
      << render.errors;

  // A folder left without a record, and a current study area that is gone.
  fs::create_directories(world.AnalysisFolder() + "/StudyAreas/99");
  WriteTextFile(world.AnalysisFolder() + "/StudyAreas/99/StudyArea.lyr", "{}");
  world.Open()->extension->ExtensionProperties()->SetProperty("CurrentExtent", "Gone");

  check = RunTovana(world, "check");
  EXPECT_EQ(check.exitCode, 1);
  for (const std::string& finding :
       {"study area \"NoLayerFile\" broken: layer file missing: " + layerFile, std::string("study area \"NoData\" broken: dataset missing"),
        "folder without a study area record: " + world.AnalysisFolder() + "/StudyAreas/99",
        std::string("map layer \"NoData\" has no data"), std::string("the current study area \"Gone\" does not exist")})
    EXPECT_TRUE(Has(check.output, finding)) << check.output;
  EXPECT_FALSE(Inconsistencies(world).empty()); // check changed nothing

  const ProgramRun repair = RunTovana(world, "check --repair");
  EXPECT_EQ(repair.exitCode, 0) << repair.output << repair.errors;
  EXPECT_EQ(Inconsistencies(world), std::vector<std::string>{});
  EXPECT_EQ(RunTovana(world, "check").exitCode, 0);
  EXPECT_EQ(CatalogueNames(world), std::vector<std::string>{"Whole"});
  EXPECT_EQ(world.Open()->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "");
  const auto layers = DocumentLayerNames(world);
  for (const auto& [name, count] : {std::pair{"Whole", 1}, {"NoData", 0}, {"NoLayerFile", 0}})
    EXPECT_EQ(std::count(layers.begin(), layers.end(), name), count) << name;

  // The folder without a record is gone, and a new study area takes a new one.
  EXPECT_FALSE(fs::exists(world.AnalysisFolder() + "/StudyAreas/99"));
  EXPECT_EQ(RunTovana(world, "setup extent --name Again --lonlat --extent -74.5,40.2,-74.2,40.8").exitCode, 0);
  EXPECT_EQ(Inconsistencies(world), std::vector<std::string>{});
}

} // namespace
} // namespace tov::test
