// Several processes changing one shared analysis at the same moment.
#include "AnalysisViews.h"
#include "Program.h"

#include "host/framework/AnalysisCheck.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/runtime/HostError.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <set>
#include <thread>

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
  const auto runs = RunTovanaAtOnce(world, commands);

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

// A copy taken while other users delete and store: they wait for it, so it
// holds each study area whole or not at all. The writers start once the copy
// has read the catalogue, and the copy goes on only when each has finished or
// waits for it; without the copy's lock they finish in between, and the copy
// meets a deleted study area's record without its files and a new one's
// files without its record.
TEST(SharedConcurrencyTest, ACopyTakenWhileOthersWriteIsOfOneMoment) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  for (int i = 0; i < 2; ++i)
    ASSERT_EQ(RunTovana(world, "setup extent --name Old" + std::to_string(i) + " " + Extent(i)).exitCode, 0);
  const std::vector<std::string> writes = {"delete Old0", "setup extent --name New " + Extent(2)};
  std::vector<ProgramRun> runs(writes.size());
  std::vector<std::thread> writers;
  std::atomic<size_t> finished{0};
  auto watch = TestConnection();
  NoFailurePoint restore;
  SharedAnalysis::SetFailurePoint([&](const std::string& point, PgConnection&) {
    if (point != "copying" || !writers.empty()) return;
    for (size_t i = 0; i < writes.size(); ++i)
      writers.emplace_back([&, i] {
        runs[i] = RunTovana(world, writes[i], "writer" + std::to_string(i));
        ++finished;
      });
    const auto until = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < until) {
      // The writers' requests for this schema's lock that are not granted.
      const size_t waiting = std::stoul(
          watch
              ->Scalar("SELECT count(*) FROM pg_locks WHERE locktype = 'advisory' AND NOT granted AND objsubid = 2 "
                       "AND objid::bigint = (hashtext($1)::bigint & 4294967295)",
                       {world.Schema()})
              .value_or("0"));
      if (finished + waiting >= writes.size()) break;
      std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
  });
  std::vector<std::string> copied, findings;
  try {
    AnalysisPtr reader = world.Open();
    CollectionPtr names = reader->dataManager->GetStudyAreaCatalog()->Names();
    for (long i = 1; i <= names->Count(); ++i) copied.push_back(names->Item(i).ToString());
    for (const AnalysisFinding& f : AnalysisCheck::Check(*reader)) findings.push_back(f.text);
  } catch (const HostError& e) {
    ADD_FAILURE() << "the copy failed: " << e.Description();
  } catch (const std::exception& e) {
    ADD_FAILURE() << "the copy failed: " << e.what();
  }
  SharedAnalysis::SetFailurePoint(nullptr);
  for (auto& t : writers) t.join();
  ASSERT_EQ(writers.size(), writes.size());
  EXPECT_EQ(copied, (std::vector<std::string>{"Old0", "Old1"}));
  EXPECT_EQ(findings, std::vector<std::string>{});
  for (size_t i = 0; i < writes.size(); ++i) EXPECT_EQ(runs[i].exitCode, 0) << writes[i] << "\n" << runs[i].errors;
  const ServerView view = ReadServer(world);
  EXPECT_EQ(view.names, (std::vector<std::string>{"Old1", "New"}));
  EXPECT_EQ(view.problems, std::vector<std::string>{});
}

} // namespace
} // namespace tov::test
