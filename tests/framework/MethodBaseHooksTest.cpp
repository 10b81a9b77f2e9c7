// The method bases' hooks: preparation, steps, "FromPropertyPage", the page
// sequence, the SetParam trap and a failing first page.
#include "Recorders.h"
#include "WorldTest.h"

#include "methods/curextent/TovSSACurExtentFunction.h"
#include "methods/curextent/TovSSACurExtentTask.h"
#include "pages/WizardPage.h"
#include "store/StudyAreaCreation.h"

namespace tov::test {
namespace {

// Three steps; the last stores the polygon with a features list.
class ThreeStepFunction : public TovSSAMethodFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\ThreeStepFunction";
  ThreeStepFunction() : TovSSAMethodFunction(kModulePath, PropertyPageKey::Known) {}

  int prepared = 0, steps = 0;
  bool failInPrepare = false, failInStep = false, stored = false;
  GeometryPtr polygon;

protected:
  void Prepare() override {
    ++prepared;
    if (failInPrepare) throw std::runtime_error("nothing to prepare");
  }
  bool Step() override {
    ++steps;
    if (failInStep) throw HostError(91, "Test", "no shapes");
    if (steps < 3) return true;
    stored = Store(polygon, "'1','2'");
    return false;
  }
};

class MethodBaseHooksTest : public WorldTest {
protected:
  void SetUp() override { OpenAnalysis(); }
  void SetAll(ITovFunction& function, const std::string& name) {
    SetParams(function, {{"Application", Variant(analysis->application)},
                         {"DataManager", Variant(analysis->dataManager)},
                         {"DataSet", Variant(Dataset())},
                         {"SSATask", Variant(Method())},
                         {"StudyAreaName", Variant(name)}});
  }
  // All parameters set and a polygon to store, `steps` steps already done.
  void Ready(ThreeStepFunction& function, const std::string& name, int steps = 0) {
    SetAll(function, name);
    function.polygon = Rectangle(-74.6, 40.2, -74.1, 40.8, Geographic(4269));
    function.steps = steps;
  }
};

TEST_F(MethodBaseHooksTest, StartPreparesUnderItsTrapOnceTheApplicationIsThere) {
  ReportRecorder recorder;
  ThreeStepFunction function;
  // Braces evaluate in order: the count is read after Start.
  EXPECT_EQ((std::tuple{function.Start(), function.prepared}), std::tuple(false, 0));
  const std::string start = "ITovFunction_Start TovSetupStudyArea\\ThreeStepFunction";
  EXPECT_EQ(recorder.Locations(), std::vector<std::string>{start});

  SetAll(function, "Prepared");
  function.failInPrepare = true;
  EXPECT_FALSE(function.Start());
  ASSERT_EQ(recorder.Locations(), (std::vector<std::string>{start, start}));
  EXPECT_EQ(recorder.Reports()[1].description, "nothing to prepare");

  function.failInPrepare = false;
  EXPECT_EQ((std::tuple{function.Start(), function.prepared}), std::tuple(true, 2));
}

TEST_F(MethodBaseHooksTest, DoStepRunsTheStepHookUntilItIsDoneAndStoresWithTheFeaturesList) {
  ReportRecorder recorder;
  ThreeStepFunction function;
  Ready(function, "Stepped");
  ASSERT_TRUE(function.Init());
  ASSERT_TRUE(function.Start());
  // Braces evaluate in order: three steps, the last one done.
  EXPECT_EQ((std::vector<bool>{function.DoStep(), function.DoStep(), function.DoStep()}),
            (std::vector<bool>{true, true, false}));
  EXPECT_EQ(std::tuple(function.stored, !function.polygon), std::tuple(true, true)); // the store released the polygon
  ASSERT_TRUE(Catalog()->Exists("Stepped"));
  EXPECT_EQ(Catalog()->Item("Stepped")->RecordProperties()->GetProperty("FEATURESLIST"), "'1','2'");

  EXPECT_TRUE(recorder.Reports().empty());
  function.failInStep = true;
  EXPECT_FALSE(function.DoStep());
  ASSERT_EQ(recorder.Locations(), std::vector<std::string>{"ITovFunction_DoStep TovSetupStudyArea\\ThreeStepFunction"});
  EXPECT_EQ(recorder.Reports()[0].number, 91);
}

TEST_F(MethodBaseHooksTest, FromPropertyPageStoresAnExistingStudyAreaAgainInMethodsThatKnowIt) {
  // Stored, then stored again as a new study area (refused) and from the
  // property sheet (stored).
  for (const bool fromPropertyPage : {true, false, true}) {
    ThreeStepFunction function;
    Ready(function, "Again", 2);
    if (Catalog()->Count() > 0) SetParams(function, {{"FromPropertyPage", Variant(fromPropertyPage)}});
    EXPECT_EQ((std::tuple{function.DoStep(), function.stored}), std::tuple(false, fromPropertyPage));
  }
  EXPECT_EQ(Catalog()->Count(), 1);

  // Only methods that know the key accept it.
  ReportRecorder recorder;
  ThreeStepFunction knowing;
  SetParams(knowing, {{"FromPropertyPage", Variant(true)}});
  EXPECT_TRUE(recorder.Reports().empty());

  TovSSACurExtentFunction currentExtent;
  Variant yes(true);
  EXPECT_TRUE(currentExtent.SetParam("FromPropertyPage", yes));
  EXPECT_EQ(recorder.Locations(),
            std::vector<std::string>{"ITovFunction_SetParam TovSetupStudyArea\\TovSSACurExtentFunction"});
}

// A page before the name page that keeps a note in the property set.
class NotePage : public WizardPage {
public:
  NotePage() : WizardPage("TestNotePage", 0) {
    Add(ControlKind::TextBox, "NoteText");
    for (const char* button : {"BackButton", "NextButton", "CancelButton"}) Add(ControlKind::CommandButton, button);
  }
  void ReadFromPropertySet(const TaskPropertySetPtr& set) override {
    ++reads;
    if (set && set->HasProperty("Note")) saved = set->GetProperty("Note").ToString();
  }
  void InitializeDialog() override {
    ++initializations;
    Ctl("NoteText")->SetText(saved);
  }
  void WriteToPropertySet(const TaskPropertySetPtr& set) override {
    ++writes;
    if (set) set->SetProperty("Note", Ctl("NoteText")->Text());
  }
  int reads = 0, initializations = 0, writes = 0;
  std::string saved;
  std::vector<int> Counts() const { return {reads, initializations, writes}; }
};

// Two pages: the note page, then the name page.
class TwoPageTask : public TovSSAMethodTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TwoPageTask";
  explicit TwoPageTask(SetParamFailures failures = SetParamFailures::PassToCaller)
      : TovSSAMethodTask(kModulePath, kCurExtentFunctionProgId, failures) {}
  std::shared_ptr<NotePage> notePage;
  PageEnd end = PageEnd::Unload;
  bool flag = false;

protected:
  int32_t RunPages() override {
    notePage = std::make_shared<NotePage>();
    return RunPage(notePage, [this] { return ShowSelectSANameDialog(); }, end);
  }
  bool SetOwnParam(const std::string& lowerKey, Variant& value) override {
    if (lowerKey != "flag") return false;
    flag = value.ToBool();
    return true;
  }
};

class PageSequenceTest : public MethodBaseHooksTest {
protected:
  int32_t Run(TwoPageTask& task, const std::string& turns) {
    Variant set(CreateObject(kTaskPropertySetProgId));
    propertySet = set.ToObjectAs<TaskPropertySet>();
    task.SetParam("PropertySet", set);
    task.Init(analysis->dataManager, analysis->application);
    presenter = UseScript("[" + turns + "]");
    const int32_t result = task.DoParamSelector();
    presenter->CheckFinished();
    EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
    return result;
  }
  std::vector<std::string> Shown() const {
    std::vector<std::string> names;
    for (const auto& shown : presenter->ShownForms()) names.push_back(shown.Form);
    return names;
  }

  TaskPropertySetPtr propertySet;
};

const std::string kNoteNext =
    R"({"form": "TestNotePage", "actions": [{"set": "NoteText", "text": "kept"}, {"click": "NextButton"}]})";
const std::string kNameBack = R"({"form": "SelectSANameDialog", "actions": [{"click": "BackButton"}]})";

TEST_F(PageSequenceTest, BackFromTheNextPageShowsThisPageAgainAndAcceptanceEndsTheSequence) {
  TwoPageTask task;
  EXPECT_EQ(Run(task, kNoteNext + "," + kNameBack + "," + kNoteNext + "," + NameTurn("Sequenced")), 0);
  EXPECT_EQ(task.StudyAreaName(), "Sequenced");
  EXPECT_EQ(Shown(), (std::vector<std::string>{"TestNotePage", "SelectSANameDialog", "TestNotePage",
                                                "SelectSANameDialog"}));
  EXPECT_EQ(task.notePage->Counts(), (std::vector<int>{1, 1, 2})); // reads, initialisations, writes
  EXPECT_EQ(std::tuple(propertySet->GetProperty("Note").ToString(), propertySet->GetProperty("SAName").ToString()),
            std::tuple(std::string("kept"), std::string("Sequenced")));
  EXPECT_FALSE(task.notePage->Loaded());
}

TEST_F(PageSequenceTest, BackOnTheFirstPageAndCancelAnywhereEndTheSequence) {
  TwoPageTask back;
  back.end = PageEnd::KeepLoaded;
  EXPECT_EQ(Run(back, R"({"form": "TestNotePage", "actions": [{"click": "BackButton"}]})"), 2);
  EXPECT_EQ(Shown(), std::vector<std::string>{"TestNotePage"});
  EXPECT_EQ(std::tuple(back.notePage->writes, back.notePage->Loaded()), std::tuple(1, true));

  TwoPageTask cancel;
  EXPECT_EQ(Run(cancel, kNoteNext + R"(, {"form": "SelectSANameDialog", "actions": [{"click": "CancelButton"}]})"), -1);
  EXPECT_EQ(std::tuple(Shown().size(), cancel.StudyAreaName(), cancel.notePage->Loaded()),
            std::tuple(2u, std::string(), false));
}

TEST_F(MethodBaseHooksTest, SetParamReportsItsFailuresOnlyInTasksThatAskForIt) {
  ReportRecorder recorder;
  TwoPageTask reporting(SetParamFailures::Report);
  Variant maybe("maybe");
  EXPECT_FALSE(reporting.SetParam("FLAG", maybe));
  ASSERT_EQ(recorder.Locations(), std::vector<std::string>{"ITovFunction_SetParam TovSetupStudyArea\\TwoPageTask"});
  EXPECT_EQ(recorder.Reports()[0].number, 13);
  Variant yes(true);
  EXPECT_TRUE(reporting.SetParam("Flag", yes) && reporting.flag);

  // The current-extent task lets the failure pass to its caller.
  TovSSACurExtentTask task;
  Variant text("not a data set");
  EXPECT_THROW(task.SetParam("DataSet", text), HostError);
  EXPECT_EQ(recorder.Reports().size(), 1u);
}

using PageFailureTest = WorldTest;

// A method page that fails ends the run as Cancel would.
TEST_F(PageFailureTest, AMethodPageThatFailsEndsTheRunAsCancelWould) {
  TestWorldOptions options;
  options.extraMethods = MethodJson(kMapListMethod, "Regions from a list", R"({ "MainLayer": "Regions" })",
                                    R"([ { "name": "Regions", "properties": { "ListField": "NAME" } } ])");
  UseWorld(options);

  for (const auto& [progId, page, taskClass] :
       {std::tuple{kSelZipCodesTaskProgId, "ShowSelectZipCodesDialog", "TovSSASelZipCodesTask"},
        std::tuple{kSelDrawingTaskProgId, "ShowSelectByDrawingOwnAreaDialog", "TovSSASelDrawingTask"},
        std::tuple{kMapListTaskProgId, "ShowSelectFromListDialog", "TovSSAMapListTask"}}) {
    ReportRecorder recorder;
    auto task = CreateAs<ITovTask>(progId);
    SetParams(*task, {{"SSATask", Variant(Method(kMapListMethod))}, {"DataSet", Variant(Dataset())}});
    ASSERT_TRUE(task->Init(analysis->dataManager, analysis->application)) << progId;
    // The descriptor gone, the first page fails before it is shown: the run
    // ends as Cancel would, not with 0, which would go on to the function.
    Variant none{ObjectPtr()};
    task->SetParam("SSATask", none);
    EXPECT_EQ(task->DoParamSelector(), -1) << progId;
    EXPECT_EQ(recorder.Locations(), std::vector<std::string>{std::string(page) + " TovSetupStudyArea\\" + taskClass});
  }
}

} // namespace
} // namespace tov::test
