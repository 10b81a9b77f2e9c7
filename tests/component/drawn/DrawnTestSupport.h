#pragma once
#include "support/ComponentTestSupport.h"

#include "host/session/HostTaskRun.h"
#include "methods/drawn/SelectByDrawingOwnAreaDialog.h"
#include "methods/drawn/TovSSASelDrawingTask.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/gis/Polygon.h"

#include <memory>
#include <string>
#include <vector>

namespace tov::test {

// A scripted presenter that also notes what the drawing page shows each
// time it is shown: whether Next can be pressed, the map's extent and the
// envelope of the area drawn (empty when none).
class DrawingPageRecorder : public ScriptedPresenter {
public:
  struct Seen {
    bool nextEnabled = false;
    EnvelopePtr extent;
    EnvelopePtr area;
  };
  void ShowModal(Form& form) override;
  std::vector<Seen> seen;
};

std::shared_ptr<DrawingPageRecorder> UseDrawingScript(const std::string& turns);

// The drawing page's turn: the tool pressed, a mouse down on the map that
// draws the shape (JSON, as in scripts), then the button.
std::string DrawTurn(const std::string& tool, const std::string& shape, const std::string& button = "NextButton");

// The test data set in an analysis in EPSG:5070, with the drawn area
// method; its map (of the "Regions" layer, in degrees NAD83) covers -75 to
// -73 east and 40 to 41.5 north.
class DrawnMethodTest : public ::testing::Test {
protected:
  void SetUp() override;

  HostDatasetPtr DataSet() const;
  TaskDescriptorPtr Method() const;
  // A drawing page filled as the task fills it, not yet initialised.
  std::shared_ptr<SelectByDrawingOwnAreaDialog> NewPage() const;
  // Drives a new task as the host does up to DoParamSelector with the
  // property set given; returns its result.
  int32_t RunPages(const TaskPropertySetPtr& propertySet);
  // The whole host run of the method alone: pages, then the function.
  HostTaskRunResult RunAll();
  // The area's shape in the map's degrees.
  static PolygonPtr InDegrees(const GeometryPtr& shape);

  std::unique_ptr<TestWorld> world;
  AnalysisPtr analysis;
  std::shared_ptr<TovSSASelDrawingTask> task;
};

} // namespace tov::test
