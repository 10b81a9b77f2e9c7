// The drawn area method: what each tool of the drawing page makes of what
// the user drew and where the area is kept; then the method run as the host
// runs it, the drawn shape stored as the study area.
#include "DrawnWorld.h"
#include "HostWrappers.h"

#include "host/common/Paths.h"
#include "host/gis/HostMapControl.h"
#include "methods/drawn/TovSSASelDrawingFunction.h"

#include <cmath>

namespace tov::test {
namespace {

constexpr char kSquare[] = R"({"rectangle": [-74.5, 40.5, -74, 41]})";

// The tool pressed, then a mouse down on the map drawing the shape (none: a click).
std::string Draw(const std::string& tool, const std::string& shape) {
  return R"({"toolbar": "Toolbar1", "button": ")" + tool + R"("}, {"mapdown": "MapControl", "map": [-74, 41])" +
         (shape.empty() ? "" : R"(, "track": )" + shape) + "}";
}

class DrawingPageTest : public DrawnMethodTest {
protected:
  void SetUp() override {
    DrawnMethodTest::SetUp();
    page = OpenPage();
  }
  std::shared_ptr<SelectByDrawingOwnAreaDialog> OpenPage() {
    auto opened = NewPage<SelectByDrawingOwnAreaDialog>(kDrawnAreaMethod);
    opened->ReadFromPropertySet(nullptr);
    opened->InitializeDialog();
    opened->ResetParams();
    return opened;
  }
  // Shows the page once with these actions, then closes it.
  void Show(const std::string& actions) { ShowPage(*page, actions); }
  bool NextEnabled() { return page->Ctl("NextButton")->Enabled(); }
  PolygonPtr Area() { return InDegrees(page->m_pFeature->Shape()); }
  long AreasStored() { return page->AreaLayer()->FeatureClass()->FeatureCount(nullptr); }
  MapControlPtr Map() { return As<MapControl>(page->CtlAs<MapControlHost>("MapControl")->MapObject()); }

  std::shared_ptr<SelectByDrawingOwnAreaDialog> page;
};

TEST_F(DrawingPageTest, OnlyAClosedPolygonIsAnAreaEachDrawingReplacesItAndAClickKeepsIt) {
  EXPECT_FALSE(NextEnabled());
  Show(Draw("SelectByPolygon", R"({"polygon": [[-74.5, 40.5], [-74, 40.5], [-74, 41]], "closed": false})"));
  EXPECT_FALSE(NextEnabled());
  EXPECT_TRUE(page->m_pFeature->Shape()->IsEmpty());

  Show(Draw("SelectByPolygon", R"({"polygon": [[-74.5, 40.5], [-74, 40.5], [-74, 41]], "closed": true})"));
  EXPECT_TRUE(NextEnabled());
  EXPECT_NEAR(Area()->Area(), 0.125, 1e-8);

  // Each drawing replaces the area.
  Show(Draw("SelectFeature", kSquare));
  EXPECT_NEAR(Area()->Area(), 0.25, 1e-8);

  const double r = 0.2;
  Show(Draw("SelectByCircle", R"({"circle": [-74, 40.8, 0.2]})"));
  PolygonPtr circle = Area();
  EXPECT_NEAR(circle->Area(), M_PI * r * r, M_PI * r * r * 0.01);
  EXPECT_EQ(AreasStored(), 1);

  // A click on the rectangle tool and a flat rectangle draw nothing.
  Show(Draw("SelectFeature", "") + ", " + Draw("SelectFeature", R"({"rectangle": [-74.5, 40.5, -74.5, 41]})"));
  EXPECT_NEAR(Area()->Area(), circle->Area(), 1e-12);
  EXPECT_EQ(AreasStored(), 1);
}

// A host whose traced circle is a coarse polygon: the page must densify it.
class CoarseCircleControl : public HostMapControl {
public:
  GeometryPtr TrackCircle() override {
    TrackedShape shape = GetPresenter()->Track(TrackKind::Circle);
    auto polygon = CreateAs<Polygon>(kPolygonProgId);
    for (int i = 0; i <= 12; ++i) {
      const double angle = 2 * M_PI * (i % 12) / 12;
      polygon->AddPoint(MakePoint(shape.CenterX + shape.Radius * std::cos(angle),
                                  shape.CenterY + shape.Radius * std::sin(angle)));
    }
    return polygon;
  }
};

TEST_F(DrawingPageTest, NoSegmentOfACircleIsLongerThanATwentiethOfItsDiameter) {
  ClassOverride coarse(kMapControlProgId, ClassOverride::Of<CoarseCircleControl>());
  page = OpenPage();
  Show(Draw("SelectByCircle", R"({"circle": [-74, 40.8, 0.2]})"));
  PolygonPtr circle = Area();
  ASSERT_GT(circle->PointCount(), 12);
  const double longest = 2 * 0.2 / 20;
  for (long i = 1; i < circle->PointCount(); ++i) {
    PointPtr a = circle->Point(i - 1), b = circle->Point(i);
    EXPECT_LE(std::hypot(b->X() - a->X(), b->Y() - a->Y()), longest + 1e-9) << "segment " << i;
  }
}

TEST_F(DrawingPageTest, TheAreaIsStoredInTheAnalysisSystemWhereItWasDrawnAwayFromTheStudyAreas) {
  Show(Draw("SelectFeature", kSquare));
  GeometryPtr stored = page->m_pFeature->Shape();
  ASSERT_EQ(stored->SpatialReference()->FactoryCode(), 5070);
  PointPtr corner = MakePoint(-74.5, 40.5, Geographic(4269));
  corner->Project(Projected(5070));
  PointPtr first = As<Polygon>(stored)->Point(0);
  EXPECT_NEAR(first->X(), corner->X(), 1e-6);
  EXPECT_NEAR(first->Y(), corner->Y(), 1e-6);

  std::filesystem::path data = ToNativePath(page->AreaLayer()->FeatureClass()->Workspace()->PathName());
  if (!data.has_filename()) data = data.parent_path();
  const std::filesystem::path scratch = std::filesystem::path(analysis->folder) / "Scratch";
  EXPECT_EQ(data.parent_path(), scratch) << data;
  page.reset();
  analysis.reset();
  // A shared analysis's working copy, or the scratch folder of the mirror
  // kept of it, goes with it.
  EXPECT_EQ(std::filesystem::exists(scratch), !world->Shared());
  EXPECT_FALSE(std::filesystem::exists(data)) << "the data manager leaves its scratch folders behind";
}

TEST_F(DrawingPageTest, LabelsGoToTheTaskLayerUnderTheAreaLayer) {
  Show(R"({"toolbar": "Toolbar1", "button": "ShowLabels"})");
  MapControlPtr map = Map();
  ASSERT_EQ(map->LayerCount(), 2);
  EXPECT_EQ(As<FeatureLayer>(map->Layer(0)), page->AreaLayer());
  EXPECT_FALSE(page->AreaLayer()->DisplayAnnotation());
  EXPECT_TRUE(As<FeatureLayer>(map->Layer(1))->DisplayAnnotation());
}

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
  HostTaskRunResult result =
      RunWith(UseDrawingScript(DrawTurn("SelectFeature", kSquare) + "," + NameTurn("Harbour")), kSelDrawingTaskProgId);
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
      R"({"form": "SelectByDrawingOwnAreaDialog", "actions": [)" +
      Draw("ZoomIn", R"({"rectangle": [-74.8, 40.2, -73.8, 41.2]})") + ", " + Draw("SelectFeature", kSquare) +
      R"(, {"click": "NextButton"}]}, )" + ClickTurn("SelectSANameDialog", "BackButton") + ", " + CancelTurn());
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
