// The task driver of the command line and the window: how far it runs a
// task, and how it judges what a run really stored.
#include "AnalysisViews.h"
#include "Program.h"
#include "Recorders.h"
#include "WorldTest.h"

#include "host/framework/TerminalProgressRunner.h"

namespace tov::test {
namespace {

// A task whose Init refuses; it counts the calls that should not come.
class InitRefusingTask : public StubTask {
public:
  static inline int laterCalls = 0;
  bool StartFunction() override { return ++laterCalls, true; }
  int32_t DoParamSelector() override { return ++laterCalls, 0; }
  bool InitFunction() override { return ++laterCalls, true; }
  bool InitParamSelector() override { return ++laterCalls, true; }
  bool Init(const DataManagerPtr&, const HostApplicationPtr&) override { return false; }
};

// The progress runner of the run, with something done just before the
// function starts.
class RunnerAfter : public TerminalProgressRunner {
public:
  static inline std::function<void()> before;
  void Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
           const std::string& animationPath, int64_t ownerWindow) override {
    before();
    TerminalProgressRunner::Run(function, title, message, animationPath, ownerWindow);
  }
};

class HostTaskRunTest : public WorldTest {
protected:
  void SetUp() override { OpenAnalysis(); }
};

TEST_F(HostTaskRunTest, AFailedInitEndsTheRunBeforeAnyPageAndANameTakenMeanwhileIsNotCountedAsStored) {
  RegisterClassOf<InitRefusingTask>("Test.InitRefusingTask");
  InitRefusingTask::laterCalls = 0;
  presenter = UseScript("[" + NameTurn("Harbour") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, "Test.InitRefusingTask", kCurrentExtentMethod);
  EXPECT_EQ(InitRefusingTask::laterCalls, 0);
  EXPECT_FALSE(result.init);
  EXPECT_FALSE(result.Stored());
  EXPECT_EQ(presenter->PendingTurns(), 1u);
  EXPECT_TRUE(Has(DescribeNothingStored(result), "could not start"));

  // Another tovana takes the name after this run's name page accepted it: the
  // catalogue refuses it, and the study area that the other one made current
  // under that very name is not taken for this run's.
  ClassOverride runner(kProgressRunnerProgId, ClassOverride::Of<RunnerAfter>());
  RunnerAfter::before = [this] { ASSERT_EQ(RunTovana(*world, "setup extent --name Harbour").exitCode, 0); };
  result = RunScripted(NameTurn("Harbour"), kCurExtentTaskProgId);
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_EQ(result.studyAreaName, "Harbour");
  if (world->Shared()) {
    // A shared analysis meets the other name when it publishes, and then
    // refuses the whole change: the server keeps the other one alone.
    EXPECT_TRUE(result.Stored());
    const Raised refused = ErrorOf([&] { SaveAnalysis(*analysis); });
    EXPECT_TRUE(Has(refused.description, "Another user stored a study area named \"Harbour\"")) << refused.description;
    const ServerView view = ReadServer(*world);
    EXPECT_EQ(view.names, std::vector<std::string>{"Harbour"});
    EXPECT_EQ(view.problems, std::vector<std::string>{});
    return;
  }
  EXPECT_EQ(result.currentStudyArea, "Harbour"); // the other process's
  EXPECT_FALSE(result.Stored());
  const std::string why = DescribeNothingStored(result);
  EXPECT_TRUE(Has(why, "refused the name \"Harbour\"")) << why;
  EXPECT_TRUE(Has(why, "another process")) << why;
  EXPECT_EQ(Catalog()->Count(), 1);
}

} // namespace
} // namespace tov::test
