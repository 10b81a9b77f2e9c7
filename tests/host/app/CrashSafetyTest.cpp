// The process killed (SIGKILL) at every host call of storing a study area:
// the next start must find an analysis that opens, shows what is broken and
// can be repaired, with nothing stored before lost.
#include "HostCallCounter.h"
#include "AnalysisViews.h"
#include "Program.h"

#include "host/framework/AnalysisCheck.h"
#include "host/session/HostTaskRun.h"

#include <csignal>
#include <iostream>
#include <sys/wait.h>
#include <unistd.h>

namespace tov::test {
namespace {

bool IsHostClass(const std::string& progId) { return progId.rfind("TovSSA.", 0) != 0; }

// Stores "Killed" with the current-extent method as the command line does:
// the method, then the document. killAt: the host call to die at (0: none);
// dieBeforeSave: die after the method, before the document is saved.
// Returns the number of host calls made.
long StoreKilled(const TestWorld& world, long killAt, bool dieBeforeSave) {
  AnalysisPtr analysis = world.Open();
  UseScript("[" + NameTurn("Killed") + "]");
  long calls = 0;
  {
    HostCallCounter counter(killAt, [](const std::string&) { std::raise(SIGKILL); }, IsHostClass);
    RunHostTask(*analysis, kCurExtentTaskProgId);
    calls = counter.Calls();
  }
  if (dieBeforeSave) std::raise(SIGKILL);
  SaveAnalysis(*analysis);
  return calls;
}

void CopyFolder(const std::string& from, const std::string& to) {
  fs::remove_all(to);
  fs::copy(from, to, fs::copy_options::recursive);
}

bool IsStoredAndWhole(const TestWorld& world, const std::string& name) {
  AnalysisPtr analysis = world.Open();
  if (!analysis->dataManager->GetStudyAreaCatalog()->Exists(name)) return false;
  if (!AnalysisCheck::BrokenReason(*analysis, name).empty()) return false;
  const auto layers = DocumentLayerNames(world);
  return std::find(layers.begin(), layers.end(), name) != layers.end();
}

TEST(CrashSafetyTest, KilledAtEveryHostCallOfTheStoreTheNextStartRepairsAndLosesNothing) {
  TestWorld world;
  ASSERT_EQ(RunTovana(world, "setup extent --name Before").exitCode, 0);
  const std::string pristine = world.Root() + "/pristine";
  CopyFolder(world.AnalysisFolder(), pristine);
  const long total = StoreKilled(world, 0, false);
  ASSERT_GT(total, 10);
  ASSERT_TRUE(IsStoredAndWhole(world, "Killed"));

  long tried = 0, leftBroken = 0;
  // Every host call, then between the method and the document.
  for (long n = 1; n <= total + 1; ++n) {
    SCOPED_TRACE("killed at host call " + std::to_string(n) + " of " + std::to_string(total));
    CopyFolder(pristine, world.AnalysisFolder());
    std::cout.flush();
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      StoreKilled(world, n <= total ? n : 0, n > total);
      _exit(3); // not killed: the count was wrong
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "status " << status;
    ++tried;

    // The document opens and every problem is one the check knows; a record
    // whose files are missing is listed as broken.
    std::vector<AnalysisFinding> findings;
    {
      AnalysisPtr analysis;
      ASSERT_NO_THROW(analysis = world.Open());
      findings = AnalysisCheck::Check(*analysis);
      leftBroken += findings.empty() ? 0 : 1;
      if (analysis->dataManager->GetStudyAreaCatalog()->Exists("Killed")) {
        const std::string broken = AnalysisCheck::BrokenReason(*analysis, "Killed");
        const ProgramRun list = RunTovana(world, "list", "list");
        EXPECT_EQ(list.output.find("broken:") != std::string::npos, !broken.empty()) << list.output;
      }
    }
    const ProgramRun repair = RunTovana(world, "check --repair", "repair");
    EXPECT_EQ(repair.exitCode, 0) << repair.output << repair.errors;
    EXPECT_EQ(Inconsistencies(world), std::vector<std::string>{});
    EXPECT_TRUE(IsStoredAndWhole(world, "Before"));
    // "Killed" is either whole or gone, never half there.
    {
      AnalysisPtr analysis = world.Open();
      if (analysis->dataManager->GetStudyAreaCatalog()->Exists("Killed")) {
        EXPECT_EQ(AnalysisCheck::BrokenReason(*analysis, "Killed"), "");
      }
    }
    if (::testing::Test::HasFailure()) break;
  }
  // The repaired analysis takes a new study area.
  ASSERT_EQ(RunTovana(world, "setup extent --name After --lonlat --extent -74.5,40.3,-74.2,40.6").exitCode, 0);
  EXPECT_TRUE(IsStoredAndWhole(world, "After"));
  // Some kill points fall between the record and its files.
  EXPECT_GT(leftBroken, 0);
  std::cout << "[ kill points ] " << tried << " tried (" << total << " host calls of one store and the document); "
            << leftBroken << " left something for check --repair\n";
}

} // namespace
} // namespace tov::test
