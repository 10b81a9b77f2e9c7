// The drawing page: what each tool makes of what the user drew, and where
// the area is kept.
#include "DrawnWorld.h"

#include "GisBuilders.h"
#include "host/common/Paths.h"
#include "host/gui/HostMapControl.h"
#include "HostWrappers.h"

#include <cmath>

namespace tov::test {
namespace {

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
  void Show(const std::string& actions) {
    auto presenter = UseDrawingScript(R"({"form": "SelectByDrawingOwnAreaDialog", "actions": [)" + actions +
                                      R"(, {"close": true}]})");
    page->ShowModal();
    EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
  }
  bool NextEnabled() { return page->Ctl("NextButton")->Enabled(); }
  PolygonPtr Area() { return InDegrees(page->m_pFeature->Shape()); }
  long AreasStored() { return page->AreaLayer()->FeatureClass()->FeatureCount(nullptr); }
  MapControlPtr Map() { return As<MapControl>(page->CtlAs<MapControlHost>("MapControl")->MapObject()); }

  std::shared_ptr<SelectByDrawingOwnAreaDialog> page;
};

TEST_F(DrawingPageTest, OnlyAClosedPolygonIsAnAreaAndEnablesNext) {
  EXPECT_FALSE(NextEnabled());
  Show(Draw("SelectByPolygon", R"({"polygon": [[-74.5, 40.5], [-74, 40.5], [-74, 41]], "closed": false})"));
  EXPECT_FALSE(NextEnabled());
  EXPECT_TRUE(page->m_pFeature->Shape()->IsEmpty());

  Show(Draw("SelectByPolygon", R"({"polygon": [[-74.5, 40.5], [-74, 40.5], [-74, 41]], "closed": true})"));
  EXPECT_TRUE(NextEnabled());
  EXPECT_NEAR(Area()->Area(), 0.125, 1e-8);
}

TEST_F(DrawingPageTest, EachDrawingReplacesTheAreaAndAClickKeepsIt) {
  Show(Draw("SelectFeature", R"({"rectangle": [-74.5, 40.5, -74, 41]})"));
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
    TrackedShape shape = ScriptedTrack(TrackKind::Circle);
    auto polygon = CreateAs<Polygon>(kPolygonProgId);
    for (int i = 0; i <= 12; ++i) {
      auto point = CreateAs<Point>(kPointProgId);
      const double angle = 2 * M_PI * (i % 12) / 12;
      point->PutCoords(shape.CenterX + shape.Radius * std::cos(angle), shape.CenterY + shape.Radius * std::sin(angle));
      polygon->AddPoint(point);
    }
    return polygon;
  }

private:
  static TrackedShape ScriptedTrack(TrackKind kind) { return GetPresenter()->Track(kind); }
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
  Show(Draw("SelectFeature", R"({"rectangle": [-74.5, 40.5, -74, 41]})"));
  GeometryPtr stored = page->m_pFeature->Shape();
  ASSERT_EQ(stored->SpatialReference()->FactoryCode(), 5070);
  auto corner = CreateAs<Point>(kPointProgId);
  corner->PutCoords(-74.5, 40.5);
  corner->SetSpatialReference(Geographic(4269));
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
  // A shared analysis's working copy goes with it.
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

} // namespace
} // namespace tov::test
