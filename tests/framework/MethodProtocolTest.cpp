// The protocol of every method's task and function, through the current extent.
#include "Recorders.h"
#include "WorldTest.h"

#include "methods/curextent/TovSSACurExtentFunction.h"
#include "methods/curextent/TovSSACurExtentTask.h"

namespace tov::test {
namespace {

class MethodProtocolTest : public WorldTest {
protected:
  void SetUp() override { OpenAnalysis(); }
  static bool Set(ITovTask& task, const std::string& key, const ObjectPtr& object) {
    Variant value(object);
    return task.SetParam(key, value);
  }
  bool Init(ITovTask& task) { return task.Init(analysis->dataManager, analysis->application); }
};

// Without a data set InitFunction leaves the function alone.
TEST_F(MethodProtocolTest, TaskKeysIgnoreCaseAndUnknownKeysAreRefused) {
  for (const bool withDataSet : {true, false}) {
    SpyFunctionScope spy(kCurExtentFunctionProgId);
    TovSSACurExtentTask task;
    EXPECT_TRUE(Set(task, "SSATASK", Method()));
    if (withDataSet) { EXPECT_TRUE(Set(task, "dataset", Dataset())); }
    Variant radius(5.0);
    EXPECT_FALSE(task.SetParam("Radius", radius));
    ASSERT_TRUE(Init(task));
    // The descriptor and data set given under odd case reached the function.
    EXPECT_TRUE(task.InitFunction());
    EXPECT_EQ(spy.log.initCalls, withDataSet ? 1 : 0);
    const std::vector<std::string> keys = {"Application", "DataSet", "SSATask", "DataManager", "StudyAreaName"};
    EXPECT_EQ(spy.log.keys, withDataSet ? keys : std::vector<std::string>{});
  }
}

// StartFunction needs Init; LastError forwards the function's code until Cleanup.
TEST_F(MethodProtocolTest, StartFunctionNeedsInitAndLastErrorForwardsTheFunctionsCodeUntilCleanup) {
  SpyFunctionScope spy(kCurExtentFunctionProgId);
  TovSSACurExtentTask task;
  // Braces evaluate in order: the status is read after StartFunction.
  EXPECT_EQ((std::tuple{task.StartFunction(), task.Status()}), std::tuple(false, 1));
  ASSERT_TRUE(Init(task));
  spy.log.lastError = 47;
  EXPECT_EQ(task.LastError(), 47);
  task.Cleanup();
  EXPECT_EQ(std::tuple(task.LastError(), task.TovFunction() == nullptr), std::tuple(0, true));
}

// Records what the task hands the progress runner (title, message,
// animation of each run), and runs the function.
using RunnerLog = std::vector<std::vector<std::string>>;
class SpyRunner : public ProgressRunner {
public:
  explicit SpyRunner(RunnerLog* log) : m_log(log) {}
  void Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
           const std::string& animation, int64_t) override {
    m_log->push_back({title, message, animation});
    if (function->Start()) function->DoStep();
  }

private:
  RunnerLog* m_log;
};

TEST_F(MethodProtocolTest, StartFunctionRunsTheFunctionThroughTheProgressRunner) {
  RunnerLog runnerLog;
  // The host's runner comes back however the test ends.
  ClassOverride runner(kProgressRunnerProgId,
                       [&runnerLog] { return std::static_pointer_cast<Object>(std::make_shared<SpyRunner>(&runnerLog)); });
  {
    TovSSACurExtentTask task;
    SetParams(task, {{"SSATask", Variant(Method())}, {"DataSet", Variant(Dataset())}});
    ASSERT_TRUE(Init(task));
    UseScript("[" + NameTurn("Harbour") + "]");
    ASSERT_EQ(task.DoParamSelector(), 0);
    EXPECT_EQ(task.StudyAreaName(), "Harbour");
    ASSERT_TRUE(task.InitFunction());
    EXPECT_TRUE(task.StartFunction());
  }
  EXPECT_EQ(runnerLog, (RunnerLog{{"Study Area Setup", "Processing...", analysis->dataManager->MediaPath("Clock AVI")}}));
  EXPECT_TRUE(analysis->dataManager->GetStudyAreaCatalog()->Exists("Harbour"));
}

// Function keys are exact (unknown ones reported but accepted); Init with
// parameters missing fails with 47.
TEST_F(MethodProtocolTest, FunctionKeysAreExactAndInitWithMissingParametersFailsWith47) {
  ReportRecorder recorder;
  auto function = std::make_shared<TovSSACurExtentFunction>();
  Variant application(std::static_pointer_cast<Object>(analysis->application));
  EXPECT_TRUE(function->SetParam("Application", application) && function->SetParam("application", application));
  EXPECT_EQ(recorder.Locations(), std::vector<std::string>{"ITovFunction_SetParam TovSetupStudyArea\\TovSSACurExtentFunction"});
  EXPECT_EQ((std::tuple{function->Init(), function->LastError()}), std::tuple(false, 47));
  function->Cleanup();
  EXPECT_EQ(function->LastError(), 0);
}

} // namespace
} // namespace tov::test
