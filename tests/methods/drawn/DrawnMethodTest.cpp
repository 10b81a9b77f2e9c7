// The drawn area method run as the host runs it: the drawing page, the name
// page, and the drawn shape stored as the study area; drawn again from the
// study area's property sheet.
#include "DrawnWorld.h"
#include "HostWrappers.h"

#include "methods/drawn/TovSSASelDrawingFunction.h"

namespace tov::test {
namespace {

constexpr char kSquare[] = R"({"rectangle": [-74.5, 40.5, -74, 41]})";

std::string CancelTurn() { return ClickTurn("SelectByDrawingOwnAreaDialog", "CancelButton"); }

// The square in the analysis system, as the store keeps it.
double SquareArea() {
  PolygonPtr square = Rectangle(-74.5, 40.5, -74, 41, Geographic(4269));
  square->Project(Projected(5070));
  return square->Area();
}

// The method's function, counting the steps the progress runner asks for.
class CountingFunction : public TovSSASelDrawingFunction {
public:
  static int steps;
  bool DoStep() override {
    ++steps;
    return TovSSASelDrawingFunction::DoStep();
  }
};
int CountingFunction::steps = 0;

TEST_F(DrawnMethodTest, TheDrawnShapeIsStoredInStartWithAnEmptyFeaturesList) {
  ClassOverride counting(kSelDrawingFunctionProgId, ClassOverride::Of<CountingFunction>());
  CountingFunction::steps = 0;
  auto presenter = UseDrawingScript(DrawTurn("SelectFeature", kSquare) + "," + NameTurn("Harbour"));
  HostTaskRunResult result = RunAll();
  presenter->CheckFinished();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(result.lastError, 0);
  EXPECT_EQ(CountingFunction::steps, 1);
  EXPECT_EQ(RecordProperty("Harbour", "TYPE"), "SetupStudyArea.DrawOwn");
  EXPECT_EQ(RecordProperty("Harbour", "FEATURESLIST"), "");
  EXPECT_NEAR(Must(CurrentShape(), "the study area")->Area(), SquareArea(), SquareArea() * 1e-6);
}

TEST_F(DrawnMethodTest, BackFromTheNamePageAndALaterRunShowTheAreaAndTheExtentItHad) {
  auto propertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
  auto presenter = UseDrawingScript(
      R"({"form": "SelectByDrawingOwnAreaDialog", "actions": [
          {"toolbar": "Toolbar1", "button": "ZoomIn"},
          {"mapdown": "MapControl", "map": [-74, 41], "track": {"rectangle": [-74.8, 40.2, -73.8, 41.2]}},
          {"toolbar": "Toolbar1", "button": "SelectFeature"},
          {"mapdown": "MapControl", "map": [-74, 41], "track": )" +
      std::string(kSquare) + R"(}, {"click": "NextButton"}]},
        {"form": "SelectSANameDialog", "actions": [{"click": "BackButton"}]}, )" +
      CancelTurn());
  EXPECT_EQ(RunPages(propertySet), -1);
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
  ASSERT_EQ(presenter->seen.size(), 2u);
  EXPECT_FALSE(presenter->seen[0].nextEnabled);
  const DrawingPageRecorder::Seen back = presenter->seen[1];
  EXPECT_TRUE(back.nextEnabled);
  auto zoomed = CreateAs<Envelope>(kEnvelopeProgId);
  zoomed->PutCoords(-74.8, 40.2, -73.8, 41.2);
  ExpectSameEnvelope(back.extent, zoomed, 1e-9);
  ASSERT_TRUE(back.area && !back.area->IsEmpty());

  presenter = UseDrawingScript(CancelTurn());
  EXPECT_EQ(RunPages(propertySet), -1);
  ASSERT_EQ(presenter->seen.size(), 1u);
  EXPECT_TRUE(presenter->seen[0].nextEnabled);
  ExpectSameEnvelope(presenter->seen[0].extent, zoomed, 1e-9);
  ExpectSameEnvelope(presenter->seen[0].area, back.area, 1e-6);
  EXPECT_NE(task->Feature(), nullptr);
}

TEST_F(DrawnMethodTest, TheFunctionNeedsTheFeatureAndAStoreThatFailsGivesLastError47) {
  // A feature as the drawing page leaves it.
  UseDrawingScript(DrawTurn("SelectFeature", kSquare, "CancelButton"));
  ASSERT_EQ(RunPages(CreateAs<TaskPropertySet>(kTaskPropertySetProgId)), -1);
  ASSERT_TRUE(task->Feature());

  auto function = CreateAs<ITovFunction>(kSelDrawingFunctionProgId);
  SetParams(*function, {{"Application", analysis->application},
                        {"DataManager", std::make_shared<RefusingDataManager>(analysis->dataManager)},
                        {"StudyAreaName", "Harbour"}, {"DataSet", Dataset()}, {"SSATask", Method(kDrawnAreaMethod)},
                        {"FromPropertyPage", false}});
  EXPECT_FALSE(function->Init());
  EXPECT_EQ(function->LastError(), 47);

  Variant feature(task->Feature());
  function->SetParam("Feature", feature);
  ASSERT_TRUE(function->Init());
  EXPECT_FALSE(function->Start());
  EXPECT_EQ(function->LastError(), 47);
  EXPECT_FALSE(function->DoStep());
  EXPECT_EQ(Catalog()->Count(), 0);
}

} // namespace
} // namespace tov::test
