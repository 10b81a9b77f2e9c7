// Several users (processes) working on one analysis at the same moment.
#include "AnalysisViews.h"
#include "Program.h"

#include "platform/framework/StudyAreaCatalog.h"

#include <algorithm>

namespace tov::test {
namespace {

std::string Extent(int i) {
  const double x = -74.9 + 0.15 * i;
  return std::to_string(x) + ",40.2," + std::to_string(x + 0.1) + ",40.8";
}

TEST(ConcurrentCommandsTest, TenAtOnceWithDifferentNamesAllStoreAndAllAreInTheMap) {
  TestWorld world;
  ASSERT_EQ(RunTovana(world, "list").exitCode, 0); // the analysis exists before they start
  std::vector<std::string> commands;
  for (int i = 0; i < 10; ++i) commands.push_back("setup extent --name Area" + std::to_string(i) + " --lonlat --extent " + Extent(i));
  const auto runs = RunTovanaAtOnce(world, commands);
  for (size_t i = 0; i < runs.size(); ++i) EXPECT_EQ(runs[i].exitCode, 0) << commands[i] << "\n" << runs[i].errors;

  const auto layers = DocumentLayerNames(world);
  for (int i = 0; i < 10; ++i) {
    const std::string name = "Area" + std::to_string(i);
    EXPECT_EQ(std::count(layers.begin(), layers.end(), name), 1) << name;
  }
  EXPECT_EQ(world.Open()->dataManager->GetStudyAreaCatalog()->Count(), 10);
  EXPECT_EQ(Inconsistencies(world), std::vector<std::string>{});
}

TEST(ConcurrentCommandsTest, FiveAtOnceWithOneNameStoreExactlyOne) {
  TestWorld world;
  const auto runs = RunTovanaAtOnce(world, std::vector<std::string>(5, "setup extent --name Same --lonlat --extent " + Extent(1)));
  int stored = 0;
  for (const auto& run : runs) {
    if (run.exitCode == 0) {
      ++stored;
      continue;
    }
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    // Refused by the name page, or by the catalogue when another took it meanwhile.
    EXPECT_TRUE(run.errors.find("already the name of a study area") != std::string::npos ||
                run.errors.find("exists") != std::string::npos || run.errors.find("taken") != std::string::npos)
        << run.errors;
  }
  EXPECT_EQ(stored, 1);
  const auto layers = DocumentLayerNames(world);
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "Same"), 1);
  EXPECT_EQ(world.Open()->dataManager->GetStudyAreaCatalog()->Count(), 1);
  EXPECT_EQ(Inconsistencies(world), std::vector<std::string>{});
}

TEST(ConcurrentCommandsTest, DeletingAndCreatingAtOnceKeepBoth) {
  TestWorld world;
  ASSERT_EQ(RunTovana(world, "setup extent --name Old --lonlat --extent " + Extent(0)).exitCode, 0);
  const auto runs = RunTovanaAtOnce(world, {"delete Old", "setup extent --name New1 --lonlat --extent " + Extent(2),
                                            "setup extent --name New2 --lonlat --extent " + Extent(4)});
  for (const auto& run : runs) EXPECT_EQ(run.exitCode, 0) << run.errors;
  const auto layers = DocumentLayerNames(world);
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "Old"), 0);
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "New1"), 1);
  EXPECT_EQ(std::count(layers.begin(), layers.end(), "New2"), 1);
  EXPECT_EQ(Inconsistencies(world), std::vector<std::string>{});
}

} // namespace
} // namespace tov::test
