#pragma once
// The setup tests' fixture: the main task on a data set of several methods.
#include "ProbeTask.h"
#include "WorldTest.h"

#include "pages/modi18N.h"
#include "setup/TovSetupStudyAreaMain.h"
#include "store/ModuleErrors.h"

namespace tov::test {

// Captions of the test data set's methods, in list order (selected shapes
// only while something is selected).
inline constexpr char kExtentCaption[] = "The current extent";
inline constexpr char kMapListCaption[] = "Regions from a list or on the map";
inline constexpr char kWholeCaption[] = "The whole region layer";
inline constexpr char kUnknownCaption[] = "Something the component does not know";

// What a chooser showed when it was shown.
struct ChooserShowing {
  std::vector<std::string> methods;
  std::string method; // the selected entry, "" for none
  std::vector<std::string> names;
  std::string name; // the combo's text
  bool openEnabled = false, namesEnabled = false, manageEnabled = false;
  bool createSet = false;
  float left = 0, top = 0;
};

// A scripted presenter that also notes what the chooser and the name page
// showed each time they came up.
class SetupRecorder : public ScriptedPresenter {
public:
  void ShowModal(Form& form) override {
    if (form.Name() == "CreateSAMainDialog") {
      auto methods = form.CtlAs<ListControl>("SATasksList");
      auto names = form.CtlAs<ListControl>("SANameCombo");
      choosers.push_back({ListEntries(form, "SATasksList"),
                          methods->ListIndex() >= 0 ? methods->List(methods->ListIndex()) : "",
                          ListEntries(form, "SANameCombo"), names->Text(), form.Ctl("OpenSAOption")->Enabled(),
                          names->Enabled(), form.Ctl("ManageSAButton")->Enabled(),
                          form.Ctl("CreateSAOption")->Value() == 1, form.Left(), form.Top()});
    } else if (form.Name() == "SelectSANameDialog") {
      namePageTexts.push_back(form.Ctl("StudyAreaNameText")->Text());
    }
    ScriptedPresenter::ShowModal(form);
  }
  std::vector<ChooserShowing> choosers;
  std::vector<std::string> namePageTexts;
};

inline std::shared_ptr<SetupRecorder> UseSetupScript(const std::string& turns) {
  return InstallScript<SetupRecorder>("[" + turns + "]");
}

// Chooser turns: pick a method by its caption, or the study area to open.
inline std::string ChooseMethodTurn(const std::string& caption, const std::string& more = std::string()) {
  return R"({"form": "CreateSAMainDialog", "actions": [{"select": "SATasksList", "item": ")" + caption + "\"}, " +
         more + (more.empty() ? "" : ", ") + R"({"click": "NextButton"}]})";
}
inline std::string OpenTurn(const std::string& name) {
  return R"({"form": "CreateSAMainDialog", "actions": [{"click": "OpenSAOption"}, {"select": "SANameCombo", "item": ")" +
         name + R"("}, {"click": "NextButton"}]})";
}
// The name page with a name typed and Back pressed.
inline std::string NameBackTurn(const std::string& name) {
  return R"({"form": "SelectSANameDialog", "actions": [{"set": "StudyAreaNameText", "text": ")" + name +
         R"("}, {"click": "BackButton"}]})";
}

// The test world with these more methods (MethodJson entries, comma-separated).
inline TestWorldOptions WithMethods(const std::string& methods) {
  TestWorldOptions options;
  options.extraMethods = methods;
  return options;
}

// The host's calls on the main task and what they gave.
struct MainRun {
  std::shared_ptr<TovSetupStudyAreaMain> task;
  bool init = false, initFunction = false, startFunction = false;
  int32_t pages = -99;
  int32_t status = 0, lastError = 0;
  std::vector<std::string> reportedAt; // where each failure report of the run was made
};

// The data set offers the extent, selected shapes, the map list, the whole
// layer and a method the component does not know.
class SetupTest : public WorldTest {
protected:
  SetupTest()
      : WorldTest(WithMethods(MethodJson(kSelectedShapesMethod, GetTextResources()->FindString("112")) + ", " +
                              MethodJson(kMapListMethod, kMapListCaption) + ", " +
                              MethodJson(kUseWholeMethod, kWholeCaption) + ", " +
                              MethodJson("SetupStudyArea.Unknown", kUnknownCaption))) {}
  void SetUp() override {
    OpenAnalysis();
    // The store's handler is made on first use: make it the host's now, not
    // a recorder a test installs later.
    ModuleErrorSite(kTovSSAUtilsModule);
  }

  // Creates the main task and drives it as the host does: Init,
  // InitParamSelector, DoParamSelector and, after 0, InitFunction and
  // StartFunction; then Status and LastError. No Cleanup: the test looks at
  // the task afterwards.
  MainRun RunMain() {
    ReportRecorder recorder;
    MainRun run;
    run.task = std::dynamic_pointer_cast<TovSetupStudyAreaMain>(CreateObject(kSetupStudyAreaMainProgId));
    run.init = run.task->Init(analysis->dataManager, analysis->application);
    if (run.init && run.task->InitParamSelector()) {
      run.pages = run.task->DoParamSelector();
      if (run.pages == 0) {
        run.initFunction = run.task->InitFunction();
        run.startFunction = run.task->StartFunction();
      }
    }
    run.status = run.task->Status();
    run.lastError = run.task->LastError();
    run.reportedAt = recorder.Locations();
    reports = recorder.Reports();
    return run;
  }
  std::vector<Report> reports; // those of the last RunMain
};

} // namespace tov::test
