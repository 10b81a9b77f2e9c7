#pragma once
// The drawn area method's test world, and what its drawing page showed.
#include "WorldTest.h"

#include "host/gis/HostMapControl.h"
#include "host/session/HostTaskRun.h"
#include "methods/drawn/SelectByDrawingOwnAreaDialog.h"
#include "methods/drawn/TovSSASelDrawingTask.h"

namespace tov::test {

// A scripted presenter noting, each time the drawing page is shown, whether
// Next is enabled, the map's extent and the envelope of the area drawn.
class DrawingPageRecorder : public ScriptedPresenter {
public:
  struct Seen {
    bool nextEnabled = false;
    EnvelopePtr extent;
    EnvelopePtr area;
  };
  void ShowModal(Form& form) override {
    if (auto* page = dynamic_cast<SelectByDrawingOwnAreaDialog*>(&form))
      seen.push_back({form.Ctl("NextButton")->Enabled(),
                      As<MapControl>(form.CtlAs<MapControlHost>("MapControl")->MapObject())->Extent(),
                      page->m_pFeature ? page->m_pFeature->Extent() : nullptr});
    ScriptedPresenter::ShowModal(form);
  }
  std::vector<Seen> seen;
};

inline std::shared_ptr<DrawingPageRecorder> UseDrawingScript(const std::string& turns) {
  return InstallScript<DrawingPageRecorder>("[" + turns + "]");
}

inline void ExpectSameEnvelope(const EnvelopePtr& a, const EnvelopePtr& b, double tolerance) {
  ASSERT_TRUE(a && b);
  EXPECT_NEAR(a->XMin(), b->XMin(), tolerance);
  EXPECT_NEAR(a->YMin(), b->YMin(), tolerance);
  EXPECT_NEAR(a->XMax(), b->XMax(), tolerance);
  EXPECT_NEAR(a->YMax(), b->YMax(), tolerance);
}

// The drawing page's turn: the tool, the shape (JSON) drawn on the map, the button.
inline std::string DrawTurn(const std::string& tool, const std::string& shape,
                            const std::string& button = "NextButton") {
  return R"({"form": "SelectByDrawingOwnAreaDialog", "actions": [{"toolbar": "Toolbar1", "button": ")" + tool +
         R"("}, {"mapdown": "MapControl", "map": [-74, 41], "track": )" + shape + R"(}, {"click": ")" + button +
         R"("}]})";
}

// The test data set in an analysis in EPSG:5070, with the drawn area
// method; its map (the "Regions" layer, labelled, in degrees NAD83) covers
// -75 to -73 east and 40 to 41.5 north.
inline TestWorldOptions DrawnWorldOptions() {
  TestWorldOptions options;
  options.extraMethods = MethodJson(kDrawnAreaMethod, "An area drawn on the map", R"({ "MainLayer": "Regions" })",
                                    R"([ { "name": "Regions", "properties": { "Visible": "True", "Annotation": "True",
                                                                               "LabelField": "NAME" } } ])");
  return options;
}

class DrawnMethodTest : public WorldTest {
protected:
  DrawnMethodTest() : WorldTest(DrawnWorldOptions()) {}
  void SetUp() override {
    RegisterHostMapControl();
    OpenAnalysis();
  }
  // Drives a new task as the host does up to DoParamSelector; its result.
  int32_t RunPages(const TaskPropertySetPtr& propertySet) {
    task = std::dynamic_pointer_cast<TovSSASelDrawingTask>(
        NewMethodTask(*analysis, kSelDrawingTaskProgId, kDrawnAreaMethod, propertySet));
    return task->DoParamSelector();
  }
  // The whole host run of the method alone: pages, then the function.
  HostTaskRunResult RunAll() { return RunHostTask(*analysis, kSelDrawingTaskProgId); }

  std::shared_ptr<TovSSASelDrawingTask> task;
};

} // namespace tov::test
