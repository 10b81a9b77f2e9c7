// The main setup task: the data set, Back to the chooser, the wizard state
// per method, opening, and forwarding to the method task.
#include "SetupTest.h"

namespace tov::test {
namespace {

constexpr char kMainModule[] = "TovSetupStudyArea\\TovSetupStudyAreaMain";

using TovSetupStudyAreaMainTest = SetupTest;

// The one report, made where the chooser's choice is acted on.
void ExpectReportedByChooser(const MainRun& run) {
  ASSERT_EQ(run.reportedAt, std::vector<std::string>{std::string("ShowCreateSAMainDialog ") + kMainModule});
}

// What the host's calls gave: pages, InitFunction, StartFunction, LastError.
std::tuple<int32_t, bool, bool, int32_t> Outcome(const MainRun& run) {
  return {run.pages, run.initFunction, run.startFunction, run.lastError};
}

TEST_F(TovSetupStudyAreaMainTest, WithoutTheActiveDataSetInitTellsTheUserAndReports) {
  struct GoneDataset : DelegatingExtension {
    using DelegatingExtension::DelegatingExtension;
    std::string CurrentDatasetName() override { return "Gone"; }
  };
  auto application = std::make_shared<DelegatingApplication>(analysis->application);
  application->extension = std::make_shared<GoneDataset>(analysis->extension);
  auto presenter = UseSetupScript("");
  ReportRecorder recorder;
  auto task = CreateAs<ITovTask>(kSetupStudyAreaMainProgId);

  EXPECT_FALSE(task->Init(analysis->dataManager, application));
  EXPECT_EQ(ShownMessages(*presenter),
            std::vector<std::string>{MessageOf("critical", "", GetTextResources()->FindString("174"))});
  ASSERT_EQ(recorder.Locations(), std::vector<std::string>{std::string("ITovTask_Init ") + kMainModule});
  ExpectNoPendingError(recorder.Reports()[0]);
}

TEST_F(TovSetupStudyAreaMainTest, WithoutAMethodTaskNothingRunsAndStartReports47) {
  auto task = CreateAs<ITovTask>(kSetupStudyAreaMainProgId);
  Variant anything(1);
  EXPECT_FALSE(task->SetParam("SSATask", anything));
  ASSERT_TRUE(task->Init(analysis->dataManager, analysis->application));
  // Braces evaluate in order: InitParamSelector, InitFunction, TovFunction, StartFunction, LastError, Status.
  EXPECT_EQ((std::vector<long>{task->InitParamSelector(), task->InitFunction(), task->TovFunction() != nullptr,
                               task->StartFunction(), task->LastError(), task->Status()}),
            (std::vector<long>{true, false, false, false, 47, 1}));
  // Any other operation clears the main task's own code.
  task->Cleanup();
  EXPECT_EQ(task->LastError(), 0);
}

TEST_F(TovSetupStudyAreaMainTest, OnceChosenTheMethodTaskAnswersTheHostsCalls) {
  ProbeScope probe(kUseWholeTaskProgId);
  probe.log.status = 3;
  probe.log.lastError = 33;
  FunctionLog functionLog;
  probe.log.function = std::make_shared<SpyFunction>(&functionLog);
  auto presenter = UseSetupScript(ChooseMethodTurn(kWholeCaption));

  MainRun run = RunMain();
  EXPECT_EQ(std::tuple(Outcome(run), run.status), std::tuple(std::make_tuple(0, true, true, 33), 3));
  EXPECT_EQ(run.task->TovFunction(), probe.log.function);
  run.task->Break();
  run.task->Cleanup();
  EXPECT_EQ(probe.log.calls, (std::vector<std::string>{"Init", "InitParamSelector", "DoParamSelector", "InitFunction",
                                                       "StartFunction", "Break", "Cleanup"}));
  // The descriptor chosen, the data set and the wizard state, in this order;
  // only the map list task learns how regions are picked.
  EXPECT_EQ(probe.log.keys, (std::vector<std::string>{"SSATask", "DataSet", "PropertySet"}));
  EXPECT_EQ(probe.log.descriptor->Name(), "SetupStudyArea.UseWhole");
  EXPECT_EQ(probe.log.propertySet, run.task->PropertySet());
}

TEST_F(TovSetupStudyAreaMainTest, TheMapListTaskLearnsWhetherRegionsArePickedOnTheMap) {
  for (const char* option : {"FromListOption", "FromMapOption"}) {
    ProbeScope probe(kMapListTaskProgId);
    probe.log.pagesResult = -1;
    UseSetupScript(ChooseMethodTurn(kMapListCaption, std::string(R"({"click": ")") + option + "\"}"));
    MainRun run = RunMain();
    EXPECT_EQ(run.pages, -1);
    EXPECT_EQ(probe.log.keys, (std::vector<std::string>{"SSATask", "DataSet", "PropertySet", "FromMapOrList"}));
    EXPECT_EQ(probe.log.fromMapOrList.ToBool(), std::string(option) == "FromMapOption");
    // Cancelled in its pages: the host reaches no method task.
    EXPECT_FALSE(run.task->MethodTask());
  }
}

TEST_F(TovSetupStudyAreaMainTest, BackFromTheNamePageAndTheSameMethodAgainStoresOneStudyArea) {
  auto presenter = UseSetupScript(ChooseMethodTurn(kExtentCaption) + "," + NameBackTurn("Harbor") + "," +
                                  ChooseMethodTurn(kExtentCaption) + "," + NameTurn("Harbor"));
  MainRun run = RunMain();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors()[0];
  EXPECT_EQ(std::tuple(Outcome(run), Catalog()->Count(), CurrentStudyArea()),
            std::tuple(std::make_tuple(0, true, true, 0), 1, std::string("Harbor")));
  // The chooser came back with the method still selected, and the name page
  // with what was typed on it.
  ASSERT_EQ(presenter->choosers.size(), 2u);
  EXPECT_EQ(presenter->choosers[1].method, kExtentCaption);
  EXPECT_EQ(presenter->namePageTexts, (std::vector<std::string>{"", "Harbor"}));
}

TEST_F(TovSetupStudyAreaMainTest, AnotherMethodAfterBackStartsFromAnEmptyStateHoldingTheChoosersPosition) {
  ProbeScope probe(kUseWholeTaskProgId);
  probe.log.pagesResult = -1;
  auto presenter = UseSetupScript(ChooseMethodTurn(kExtentCaption) + "," + NameBackTurn("Harbor") + "," +
                                  ChooseMethodTurn(kWholeCaption));
  MainRun run = RunMain();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors()[0];
  ASSERT_EQ(presenter->choosers.size(), 2u);
  const ChooserShowing& chooser = presenter->choosers[1];
  EXPECT_EQ(probe.log.propertiesAtPages,
            (std::map<std::string, std::string>{{"FormLeft", Variant(chooser.left).ToString()},
                                                {"FormTop", Variant(chooser.top).ToString()},
                                                {"FormWidth", "6720"},
                                                {"FormHeight", "5520"}}));
  EXPECT_EQ(probe.log.propertySet->Count(), 4);
}

// A listed method without its task is reported; one the component does not
// know ends the run quietly.
TEST_F(TovSetupStudyAreaMainTest, AMethodWithoutItsTaskStoresNothing) {
  auto presenter = UseSetupScript(ChooseMethodTurn(kUnknownCaption));
  EXPECT_EQ(Outcome(RunMain()), std::make_tuple(-1, false, false, 0));
  EXPECT_TRUE(presenter->Errors().empty());

  ClassRemoval removal(kUseWholeTaskProgId);
  // A first method went as far as its name page before the user came back.
  UseSetupScript(ChooseMethodTurn(kExtentCaption) + "," + NameBackTurn("Harbor") + "," +
                 ChooseMethodTurn(kWholeCaption));
  MainRun run = RunMain();
  ExpectReportedByChooser(run);
  EXPECT_EQ(std::tuple(reports.at(0).number, Outcome(run), Catalog()->Count()),
            std::tuple(429L, std::make_tuple(0, false, false, 47), 0L));
}

TEST_F(TovSetupStudyAreaMainTest, AMethodTaskOrOpenFunctionThatRefusesToStartIsReportedWithoutAnError) {
  ProbeScope probe(kUseWholeTaskProgId);
  probe.log.initResult = false;
  UseSetupScript(ChooseMethodTurn(kWholeCaption));
  MainRun run = RunMain();
  EXPECT_EQ(std::tuple(run.pages, probe.log.calls), std::tuple(-1, std::vector<std::string>{"Init"}));
  ExpectReportedByChooser(run);
  ExpectNoPendingError(reports.at(0));
  EXPECT_FALSE(run.task->MethodTask());

  // The same for the open function.
  ASSERT_TRUE(Store("Inland", -74.6));
  SpyFunctionScope spy(kOpenExistingSAFuncProgId);
  spy.log.initResult = false;
  spy.log.lastError = 47;
  UseSetupScript(OpenTurn("Inland"));
  run = RunMain();
  EXPECT_EQ(std::tuple(spy.log.initCalls, run.pages), std::tuple(1, 0));
  ExpectReportedByChooser(run);
  ExpectNoPendingError(reports.at(0));
}

// Without the open function opening is reported; else nothing is left to run.
TEST_F(TovSetupStudyAreaMainTest, OpeningASavedStudyAreaLeavesTheHostNothingToRun) {
  ASSERT_TRUE(Store("Inland", -74.6));
  ASSERT_TRUE(Store("Coast", -74.0));
  ASSERT_EQ(CurrentStudyArea(), "Coast");
  {
    ClassRemoval removal(kOpenExistingSAFuncProgId);
    UseSetupScript(OpenTurn("Inland"));
    MainRun run = RunMain();
    ExpectReportedByChooser(run);
    EXPECT_EQ(std::tuple(Outcome(run), CurrentStudyArea()),
              std::tuple(std::make_tuple(0, false, false, 47), std::string("Coast")));
  }
  auto presenter = UseSetupScript(OpenTurn("Inland"));
  MainRun run = RunMain();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors()[0];
  EXPECT_EQ(Outcome(run), std::make_tuple(-1, false, false, 0));
  EXPECT_FALSE(run.task->MethodTask());
  EXPECT_EQ(std::tuple(CurrentStudyArea(), Catalog()->Count()), std::tuple(std::string("Inland"), 2L));
}

} // namespace
} // namespace tov::test
