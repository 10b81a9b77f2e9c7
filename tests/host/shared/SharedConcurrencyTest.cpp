// Several processes changing one shared analysis at the same moment.
#include "SharedTestSupport.h"

#include <algorithm>
#include <set>

namespace tov::test {
namespace {

std::string Extent(int i) {
  const double x = -74.9 + 0.1 * i;
  return "--lonlat --extent=" + std::to_string(x) + ",40.2," + std::to_string(x + 0.08) + ",40.8";
}

TEST(SharedConcurrencyTest, TenCreateFiveRenameThreeDeleteAtOnceAndAllAgree) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  for (int i = 0; i < 8; ++i) {
    const ProgramRun run = RunTovana(world, "setup extent --name Old" + std::to_string(i) + " " + Extent(i));
    ASSERT_EQ(run.exitCode, 0) << run.errors;
  }
  std::vector<std::string> commands;
  for (int i = 0; i < 10; ++i) commands.push_back("setup extent --name New" + std::to_string(i) + " " + Extent(i + 10));
  for (int i = 0; i < 5; ++i) commands.push_back("rename Old" + std::to_string(i) + " Renamed" + std::to_string(i));
  for (int i = 5; i < 8; ++i) commands.push_back("delete Old" + std::to_string(i));
  // Readers meanwhile never meet a half-made study area.
  for (int i = 0; i < 3; ++i) commands.push_back("list");
  const auto runs = RunTovanaAtOnce(world, commands);
  for (size_t i = 18; i < runs.size(); ++i) {
    EXPECT_EQ(runs[i].exitCode, 0) << runs[i].errors;
    EXPECT_EQ(runs[i].output.find("broken"), std::string::npos) << runs[i].output;
  }

  const ServerView view = ReadServer(world);
  const std::set<std::string> names(view.names.begin(), view.names.end());
  EXPECT_EQ(names.size(), view.names.size());
  // Each exit status tells the truth about what the database holds.
  for (size_t i = 0; i < 18; ++i) {
    EXPECT_EQ(runs[i].exitCode, 0) << commands[i] << "\n" << runs[i].errors;
    const bool done = i < 10   ? names.count("New" + std::to_string(i)) == 1
                      : i < 15 ? names.count("Renamed" + std::to_string(i - 10)) == 1 &&
                                     names.count("Old" + std::to_string(i - 10)) == 0
                               : names.count("Old" + std::to_string(i - 10)) == 0;
    EXPECT_EQ(done, runs[i].exitCode == 0) << commands[i] << "\n" << runs[i].errors;
  }
  EXPECT_EQ(names.size(), 15u);
  EXPECT_EQ(view.problems, std::vector<std::string>{});
}

TEST(SharedConcurrencyTest, FiveAtOnceWithOneNameStoreExactlyOneAndTheOthersSaySo) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  ASSERT_EQ(RunTovana(world, "setup extent --name First " + Extent(0)).exitCode, 0);
  const auto runs = RunTovanaAtOnce(world, std::vector<std::string>(5, "setup extent --name Same " + Extent(1)));
  int stored = 0;
  for (const auto& run : runs) {
    if (run.exitCode == 0) {
      ++stored;
      continue;
    }
    // Which refusal depends on timing: one that started after the first
    // published finds the name taken on its name page already.
    EXPECT_EQ(run.exitCode, 1) << run.errors;
    const bool toldAtSaving = run.errors.find("Another user stored a study area named \"Same\"") != std::string::npos;
    const bool toldOnNamePage = run.errors.find("Same is already the name of a study area") != std::string::npos;
    EXPECT_TRUE(toldAtSaving || toldOnNamePage) << run.errors;
  }
  EXPECT_EQ(stored, 1);
  const ServerView view = ReadServer(world);
  EXPECT_EQ(std::count(view.names.begin(), view.names.end(), "Same"), 1);
  EXPECT_EQ(view.problems, std::vector<std::string>{});
}

} // namespace
} // namespace tov::test
