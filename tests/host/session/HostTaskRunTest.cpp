// The task driver of the command line and the window: how far it runs a
// task, and how it judges what a run really stored.
#include "TestWorld.h"

#include "host/framework/TerminalProgressRunner.h"
#include "host/session/HostTaskRun.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TovExtension.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>

namespace tov::test {
namespace {

// A task whose Init refuses; it counts the calls that should not come.
class InitRefusingTask : public ITovTask {
public:
  static inline int laterCalls = 0;
  int32_t LastError() override { return 0; }
  int32_t Status() override { return 1; }
  ObjectPtr TovParamSelector() override { return nullptr; }
  ITovFunctionPtr TovFunction() override { return nullptr; }
  void Cleanup() override {}
  void Break() override {}
  bool StartFunction() override { return ++laterCalls, true; }
  int32_t DoParamSelector() override { return ++laterCalls, 0; }
  bool InitFunction() override { return ++laterCalls, true; }
  bool InitParamSelector() override { return ++laterCalls, true; }
  bool Init(const std::shared_ptr<DataManager>&, const std::shared_ptr<HostApplication>&) override { return false; }
  bool SetParam(const std::string&, Variant&) override { return true; }
};

// The progress runner of the run, with something done just before the
// function starts.
class RunnerAfter : public ProgressRunner {
public:
  static inline std::function<void()> before;
  void Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
           const std::string& animationPath, int64_t ownerWindow) override {
    if (before) before();
    TerminalProgressRunner().Run(function, title, message, animationPath, ownerWindow);
  }
};

class CommandLineTaskRunTest : public ::testing::Test {
protected:
  void SetUp() override { analysis = world.Open(); }
  void TearDown() override {
    RegisterClassOf<TerminalProgressRunner>(kProgressRunnerProgId);
    RunnerAfter::before = nullptr;
  }

  TestWorld world;
  AnalysisPtr analysis;
};

TEST_F(CommandLineTaskRunTest, AnInitThatFailsEndsTheRunBeforeAnyPage) {
  RegisterClassOf<InitRefusingTask>("Test.InitRefusingTask");
  InitRefusingTask::laterCalls = 0;
  ScriptedPresenterPtr presenter = UseScript("[" + NameTurn("Harbour") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, "Test.InitRefusingTask", "SetupStudyArea.CurrentExtent");
  EXPECT_EQ(InitRefusingTask::laterCalls, 0);
  EXPECT_FALSE(result.init);
  EXPECT_FALSE(result.Stored());
  EXPECT_EQ(presenter->PendingTurns(), 1u);
  EXPECT_NE(DescribeNothingStored(result).find("could not start"), std::string::npos);
}

// Another tovana takes the name after this run's name page accepted it: the
// catalogue refuses it, and the study area that the other one made current
// under that very name is not taken for this run's.
TEST_F(CommandLineTaskRunTest, ANameTakenByAnotherProcessMeanwhileIsToldAndNotCountedAsStored) {
  RegisterClassOf<RunnerAfter>(kProgressRunnerProgId);
  RunnerAfter::before = [this] {
    const std::string command = std::string("'") + TOVANA_BINARY_ROOT + "/host/app/tovana' --data-root '" +
                                world.DataRoot() + "' --analysis '" + world.AnalysisFolder() +
                                "' --dataset Test setup extent --name Harbour > /dev/null 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0);
  };
  UseScript("[" + NameTurn("Harbour") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, kCurExtentTaskProgId);
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_EQ(result.studyAreaName, "Harbour");
  if (world.Shared()) {
    // A shared analysis meets the other name when it publishes, and then
    // refuses the whole change.
    EXPECT_TRUE(result.Stored());
    try {
      SaveAnalysis(*analysis);
      ADD_FAILURE() << "two study areas named Harbour";
    } catch (const HostError& e) {
      EXPECT_NE(e.Description().find("Another user stored a study area named \"Harbour\""), std::string::npos)
          << e.Description();
    }
    return;
  }
  EXPECT_EQ(result.currentStudyArea, "Harbour"); // the other process's
  EXPECT_FALSE(result.Stored());
  const std::string why = DescribeNothingStored(result);
  EXPECT_NE(why.find("refused the name \"Harbour\""), std::string::npos) << why;
  EXPECT_NE(why.find("another process"), std::string::npos) << why;
  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 1);
}

TEST_F(CommandLineTaskRunTest, AStoreThatFailsAfterTheRecordWasAddedIsNotCountedAndKeepsTheRecord) {
  AddLineLayerNamed(*analysis, "Harbour");
  UseScript("[" + NameTurn("Harbour") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, kCurExtentTaskProgId);
  EXPECT_FALSE(result.Stored());
  EXPECT_TRUE(analysis->dataManager->GetStudyAreaCatalog()->Exists("Harbour")); // nothing is undone
  // Made current before the outline pass failed; nothing is undone.
  EXPECT_EQ(result.currentStudyArea, "Harbour");
  ASSERT_GT(result.functionReports, 0u);
  const std::string why = DescribeNothingStored(result);
  EXPECT_EQ(why.rfind("The study area \"Harbour\" was not stored: ", 0), 0u) << why;
  EXPECT_EQ(why.find('\r'), std::string::npos) << why;
}

} // namespace
} // namespace tov::test
