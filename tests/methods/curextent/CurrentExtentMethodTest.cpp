// The current-extent method run as the host runs it: the name page, then the
// densified extent polygon stored as the current study area.
#include "WorldTest.h"

#include "methods/curextent/TovSSACurExtentFunction.h"
#include "pages/modi18N.h"

#include <cmath>

namespace tov::test {
namespace {

class CurrentExtentMethodTest : public WorldTest {
protected:
  void SetUp() override { OpenAnalysis(); }
  HostTaskRunResult Run(const std::string& turns) { return RunScripted(turns, kCurExtentTaskProgId); }
};

TEST_F(CurrentExtentMethodTest, AnExistingNameIsRefusedAndThePageKeepsIt) {
  ASSERT_TRUE(Run(NameTurn("Harbour")).Stored());

  // Only "2" is typed on the second showing: the refused name must still be there.
  HostTaskRunResult result =
      Run(NameTurn("Harbour") +
          R"(, {"form": "SelectSANameDialog", "actions": [{"type": "StudyAreaNameText", "text": "2"}, {"click": "NextButton"}]})");
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_EQ(presenter->ShownForms().size(), 2u);
  ResourceFinderPtr texts = GetTextResources();
  EXPECT_EQ(ShownMessages(*presenter),
            std::vector<std::string>{MessageOf("exclamation", texts->FindString("187"),
                                               "Harbour" + texts->FindString("175") + "\r\n" + texts->FindString("176"))});
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
  auto view = As<ActiveView>(FocusMap());
  auto wanted = CreateAs<Envelope>("orvaCore.Envelope");
  wanted->PutCoords(-74.5, 40.2, -73.5, 41.2);
  view->SetExtent(wanted);
  EnvelopePtr extent = view->Extent();

  TovSSACurExtentFunction function;
  SetParams(function, {{"Application", Variant(analysis->application)}});
  ASSERT_TRUE(function.Start());
  auto polygon = Must(As<Polygon>(function.Geometry()), "the extent polygon");
  EXPECT_EQ(polygon->SpatialReference()->FactoryCode(), 5070);

  polygon->Project(extent->SpatialReference());
  // 100 segments on each vertical side: 101 points, the closing point aside.
  for (double side : {extent->XMin(), extent->XMax()}) {
    EXPECT_GE(PointsOnVertical(polygon, side), 101) << side;
    EXPECT_LE(PointsOnVertical(polygon, side), 101 + 1) << side;
  }
}

} // namespace
} // namespace tov::test
