// The map control object without a canvas: a scripted user's shapes reach
// the track calls, and the shapes become polygons in the map's system.
#include "QtApp.h"

#include "host/forms/ScriptedPresenter.h"
#include "host/gis/RegisterHostGisClasses.h"
#include "host/gui/HostMapControl.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "Prelude.h"

#include <cmath>

namespace tov::test {
namespace {

class ScriptedMapPage : public Form {
public:
  ScriptedMapPage() : Form("MapPage") {
    AddMapControl("MapControl", "orvaCore.MapControl");
    On("MapControl", EventKind::OnMouseDown, [this](EventArgs&) {
      box = As<MapControl>(CtlAs<MapControlHost>("MapControl")->MapObject())->TrackRectangle();
    });
  }
  EnvelopePtr box;
};

TEST(HostMapControlTest, AScriptedDragReachesTrackRectangle) {
  RegisterHostGisClasses();
  RegisterHostGuiClasses(false);
  auto presenter = std::make_shared<ScriptedPresenter>();
  SetPresenter(presenter);
  presenter->LoadScript(R"([{"form": "MapPage", "actions": [
      {"mapdown": "MapControl", "map": [5, 6], "track": {"rectangle": [3, 4, 1, 2]}}, {"close": true}]}])");
  auto page = std::make_shared<ScriptedMapPage>();
  page->ShowModal();
  EXPECT_TRUE(presenter->Errors().empty());
  ASSERT_TRUE(page->box);
  EXPECT_EQ(page->box->XMin(), 1);
  EXPECT_EQ(page->box->YMin(), 2);
  EXPECT_EQ(page->box->XMax(), 3);
  EXPECT_EQ(page->box->YMax(), 4);
}

TEST(HostMapControlTest, TrackedShapesBecomeClosedPolygons) {
  RegisterHostGisClasses();
  TrackedShape circle;
  circle.Kind = TrackKind::Circle;
  circle.Empty = false;
  circle.CenterX = 10;
  circle.CenterY = 20;
  circle.Radius = 5;
  PolygonPtr round = HostMapControl::PolygonOf(circle, nullptr);
  EXPECT_TRUE(round->IsClosed());
  EXPECT_NEAR(round->Area(), M_PI * 25, 0.5); // 72 sides come close to the circle

  TrackedShape rectangle;
  rectangle.Empty = false;
  rectangle.XMin = 0, rectangle.YMin = 0, rectangle.XMax = 4, rectangle.YMax = 3;
  EXPECT_DOUBLE_EQ(HostMapControl::PolygonOf(rectangle, nullptr)->Area(), 12);

  TrackedShape none;
  none.Kind = TrackKind::Polygon;
  EXPECT_EQ(HostMapControl::PolygonOf(none, nullptr)->PointCount(), 0);
}

} // namespace
} // namespace tov::test
