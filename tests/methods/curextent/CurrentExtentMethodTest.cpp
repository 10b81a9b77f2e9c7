// The current-extent method run as the host runs it: the name page, then the
// densified extent polygon stored as the current study area.
#include "TestWorld.h"

#include "host/session/HostTaskRun.h"
#include "methods/curextent/TovSSACurExtentFunction.h"
#include "pages/modi18N.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/Point.h"
#include "platform/runtime/ObjectRegistry.h"

#include <cmath>

namespace tov::test {
namespace {

constexpr char kTask[] = "TovSSA.TovSSACurExtentTask";

class CurrentExtentMethodTest : public ::testing::Test {
protected:
  void SetUp() override { analysis = world.Open(); }
  HostTaskRunResult Run(const std::string& turns) {
    presenter = UseScript("[" + turns + "]");
    HostTaskRunResult result = RunHostTask(*analysis, kTask);
    presenter->CheckFinished();
    EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
    return result;
  }

  TestWorld world;
  AnalysisPtr analysis;
  ScriptedPresenterPtr presenter;
};

TEST_F(CurrentExtentMethodTest, AnExistingNameIsRefusedAndThePageKeepsIt) {
  ASSERT_TRUE(Run(NameTurn("Harbour")).Stored());

  // Only "2" is typed on the second showing: the refused name must still be there.
  HostTaskRunResult result =
      Run(NameTurn("Harbour") +
          R"(, {"form": "SelectSANameDialog", "actions": [{"type": "StudyAreaNameText", "text": "2"}, {"click": "NextButton"}]})");
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_EQ(presenter->ShownForms().size(), 2u);
  ASSERT_EQ(presenter->Messages().size(), 1u);
  const auto& warning = presenter->Messages()[0];
  ResourceFinderPtr texts = GetTextResources();
  EXPECT_EQ(warning.Text, "Harbour" + texts->FindString("175") + "\r\n" + texts->FindString("176"));
  EXPECT_EQ(warning.Title, texts->FindString("187"));
  EXPECT_EQ(warning.Icon, "exclamation");
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Harbour2");
}

TEST_F(CurrentExtentMethodTest, BackLeavesWithoutCheckingTheName) {
  ASSERT_TRUE(Run(NameTurn("Harbour")).Stored());
  HostTaskRunResult result =
      Run(R"({"form": "SelectSANameDialog", "actions": [{"set": "StudyAreaNameText", "text": "Harbour"}, {"click": "BackButton"}]})");
  EXPECT_EQ(result.pageResult, 2);
  EXPECT_TRUE(presenter->Messages().empty());
  EXPECT_FALSE(result.Stored());
  EXPECT_FALSE(result.initFunction);
}

// Points of the ring lying on the vertical line x (in the extent's system).
long PointsOnVertical(const PolygonPtr& polygon, double x) {
  long count = 0;
  for (long i = 0; i < polygon->PointCount(); ++i)
    if (std::fabs(polygon->Point(i)->X() - x) < 1e-7) ++count;
  return count;
}

TEST_F(CurrentExtentMethodTest, TheExtentIsDensifiedAndProjectedIntoTheAnalysisSystem) {
  MapPtr map = analysis->application->Document()->FocusMap();
  auto view = As<ActiveView>(map);
  auto wanted = CreateAs<Envelope>("orvaCore.Envelope");
  wanted->PutCoords(-74.5, 40.2, -73.5, 41.2);
  view->SetExtent(wanted);
  EnvelopePtr extent = view->Extent();

  auto function = std::make_shared<TovSSACurExtentFunction>();
  Variant application(std::static_pointer_cast<Object>(analysis->application));
  function->SetParam("Application", application);
  ASSERT_TRUE(function->Start());
  auto polygon = As<Polygon>(function->Geometry());
  ASSERT_TRUE(polygon);
  EXPECT_EQ(polygon->SpatialReference()->FactoryCode(), 5070);

  polygon->Project(extent->SpatialReference());
  // 100 segments on each vertical side: 101 points, the closing point aside.
  const long closing = 1;
  const long west = PointsOnVertical(polygon, extent->XMin());
  const long east = PointsOnVertical(polygon, extent->XMax());
  EXPECT_GE(west, 101);
  EXPECT_LE(west, 101 + closing);
  EXPECT_GE(east, 101);
  EXPECT_LE(east, 101 + closing);
}

} // namespace
} // namespace tov::test
