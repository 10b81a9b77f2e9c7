// Tracking shapes on the map: the trackers turn the pointer's path in
// pixels into map units, the map control object passes a scripted user's
// shapes to the track calls as polygons, and the canvas's blocking track
// calls are made from inside the mouse-down handler of a page as the map
// pages do.
#include "QtApp.h"

#include "host/gis/RegisterHostGisClasses.h"
#include "host/gis/HostMapControl.h"
#include "host/gui/tracking/MapTracker.h"

#include <gmock/gmock.h>

#include <cmath>

namespace tov::test {
namespace {

using ::testing::DoubleEq;
using ::testing::Pointwise;
using Doubles = std::vector<double>;

// A box's corners as xmin, ymin, xmax, ymax.
Doubles Corners(const EnvelopePtr& e) { return {e->XMin(), e->YMin(), e->XMax(), e->YMax()}; }

// 100 x 100 pixels showing the map square 0..10: one pixel is 0.1 map units,
// y pointing up.
const MapViewport kViewport(0, 0, 10, 10, QSize(100, 100));

TEST(MapTrackerTest, EachShapeFollowsThePointerAndAClickOrTooFewVerticesIsEmpty) {
  auto tracker = MapTracker::Start(TrackKind::Circle, QPointF(50, 50));
  tracker->Move(QPointF(80, 90));
  ASSERT_TRUE(tracker->Release(QPointF(80, 90)));
  const TrackedShape circle = tracker->Result(kViewport);
  EXPECT_EQ(circle.Kind, TrackKind::Circle);
  EXPECT_FALSE(circle.Empty);
  // Centre (5, 5), radius 50 pixels.
  EXPECT_THAT((Doubles{circle.CenterX, circle.CenterY, circle.Radius}), Pointwise(DoubleEq(), {5.0, 5.0, 5.0}));
  // Released where pressed: no circle.
  auto click = MapTracker::Start(TrackKind::Circle, QPointF(50, 50));
  click->Release(QPointF(50, 50));
  EXPECT_TRUE(click->Result(kViewport).Empty);

  // A rectangle goes corner to corner, and a small drag is a click.
  tracker = MapTracker::Start(TrackKind::Rectangle, QPointF(80, 20));
  ASSERT_TRUE(tracker->Release(QPointF(20, 60)));
  const TrackedShape box = tracker->Result(kViewport);
  EXPECT_FALSE(box.Empty);
  EXPECT_THAT((Doubles{box.XMin, box.YMin, box.XMax, box.YMax}), Pointwise(DoubleEq(), {2.0, 4.0, 8.0, 8.0}));
  click = MapTracker::Start(TrackKind::Rectangle, QPointF(50, 50));
  click->Release(QPointF(52, 48));
  EXPECT_TRUE(click->Result(kViewport).Empty);

  // A polygon ends only with a double click and needs three vertices.
  tracker = MapTracker::Start(TrackKind::Polygon, QPointF(0, 100));
  EXPECT_FALSE(tracker->Release(QPointF(0, 100)));
  tracker->Press(QPointF(100, 100));
  EXPECT_TRUE(tracker->DoubleClick(QPointF(100, 100))); // its press added the vertex already
  EXPECT_TRUE(tracker->Result(kViewport).Empty);

  tracker = MapTracker::Start(TrackKind::Polygon, QPointF(0, 100));
  tracker->Press(QPointF(100, 100));
  tracker->Press(QPointF(100, 0));
  EXPECT_TRUE(tracker->DoubleClick(QPointF(100, 0)));
  const TrackedShape ring = tracker->Result(kViewport);
  EXPECT_FALSE(ring.Empty);
  EXPECT_TRUE(ring.Closed);
  ASSERT_EQ(ring.Points.size(), 3u);
  EXPECT_THAT((Doubles{ring.Points[2].first, ring.Points[2].second}), Pointwise(DoubleEq(), {10.0, 10.0}));
}

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

TEST(HostMapControlTest, AScriptedDragReachesTrackRectangleAndTrackedShapesBecomeClosedPolygons) {
  RegisterHostGisClasses();
  auto presenter = UseScript(R"([{"form": "MapPage", "actions": [
      {"mapdown": "MapControl", "map": [5, 6], "track": {"rectangle": [3, 4, 1, 2]}}, {"close": true}]}])");
  auto page = std::make_shared<ScriptedMapPage>();
  page->ShowModal();
  EXPECT_TRUE(presenter->Errors().empty());
  ASSERT_TRUE(page->box);
  EXPECT_EQ(Corners(page->box), (Doubles{1, 2, 3, 4}));

  // Tracked shapes become closed polygons.
  TrackedShape circle;
  circle.Kind = TrackKind::Circle;
  circle.Empty = false;
  circle.CenterX = 10, circle.CenterY = 20, circle.Radius = 5;
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

// A page with a 200 x 200 pixel map showing (0,0)-(100,100): 2 pixels per
// map unit, y up.
class MapPage : public Form {
public:
  std::function<void(MapControl&)> onDown;
  MapPage() : Form("MapPage") {
    AddMapControl("MapControl", "orvaCore.MapControl");
    On("MapControl", EventKind::OnMouseDown, [this](EventArgs&) {
      onDown(*Map());
      Hide();
    });
  }
  MapControlPtr Map() { return As<MapControl>(CtlAs<MapControlHost>("MapControl")->MapObject()); }

protected:
  void Form_Load() override {
    SetWidth(200 * 15);
    SetHeight(230 * 15 + 21 * 15);
    Ctl("MapControl")->Move(0, 0, 200 * 15, 200 * 15);
    auto extent = CreateAs<Envelope>("orvaCore.Envelope");
    extent->PutCoords(0, 0, 100, 100);
    Map()->SetExtent(extent);
  }
};

class MapCanvasTest : public ::testing::Test {
protected:
  void SetUp() override {
    App();
    RegisterHostGisClasses();
  }

  // Shows a new page whose mouse-down handler is onDown; queued() posts what
  // follows the press, then the press itself is sent at pressAt and blocks
  // inside the track call.
  void Play(std::function<void(MapControl&)> onDown, QPointF pressAt, std::function<void(MapCanvas&)> queued) {
    page = std::make_shared<MapPage>();
    page->onDown = std::move(onDown);
    page->Load();
    ShowInWindow(*page, [&](Form&, QWidget& dialog) {
      auto* canvas = dialog.findChild<MapCanvas*>("MapControl");
      ASSERT_NE(canvas, nullptr);
      ASSERT_EQ(canvas->size(), QSize(200, 200));
      queued(*canvas);
      SendPress(*canvas, pressAt);
    });
  }

  std::shared_ptr<MapPage> page;
};

TEST_F(MapCanvasTest, ADragGivesTheMapRectangleAndAClickAnEmptyOne) {
  EnvelopePtr dragged, clicked;
  Play([&](MapControl& map) { dragged = map.TrackRectangle(); }, {50, 50}, [](MapCanvas& canvas) {
    PostMouse(canvas, {{QEvent::MouseMove, {100, 80}}, {QEvent::MouseMove, {150, 100}},
                       {QEvent::MouseButtonRelease, {150, 100}}});
  });
  ASSERT_TRUE(dragged);
  EXPECT_THAT(Corners(dragged), Pointwise(DoubleEq(), {25.0, 50.0, 75.0, 75.0}));

  Play([&](MapControl& map) { clicked = map.TrackRectangle(); }, {50, 50},
       [](MapCanvas& canvas) { PostMouse(canvas, {{QEvent::MouseButtonRelease, {51, 50}}}); });
  ASSERT_TRUE(clicked);
  EXPECT_LE(clicked->Width(), 0);
}

TEST_F(MapCanvasTest, ATracedPolygonClosesOnDoubleClick) {
  PolygonPtr polygon;
  Play([&](MapControl& map) { polygon = map.TrackPolygon(); }, {20, 180}, [](MapCanvas& canvas) {
    // The two presses of a double click (180, 20): the vertex is added once.
    PostMouse(canvas, {{QEvent::MouseButtonRelease, {20, 180}}, {QEvent::MouseMove, {120, 180}},
                       {QEvent::MouseButtonPress, {180, 180}}, {QEvent::MouseButtonRelease, {180, 180}},
                       {QEvent::MouseButtonPress, {180, 20}}, {QEvent::MouseButtonRelease, {180, 20}},
                       {QEvent::MouseButtonDblClick, {180, 20}}, {QEvent::MouseButtonRelease, {180, 20}}});
  });
  ASSERT_TRUE(polygon);
  ASSERT_EQ(polygon->PointCount(), 4); // three vertices and the closing one
  EXPECT_TRUE(polygon->IsClosed());
  const Doubles corners{polygon->Point(0)->X(), polygon->Point(0)->Y(), polygon->Point(2)->X(), polygon->Point(2)->Y()};
  EXPECT_THAT(corners, Pointwise(DoubleEq(), {10.0, 10.0, 90.0, 90.0}));
  EXPECT_NEAR(polygon->Area(), 80 * 80 / 2.0, 1e-6);
}

TEST_F(MapCanvasTest, EscapeCancelsEveryTrackWithAnEmptyShape) {
  for (int kind = 0; kind < 3; ++kind) {
    SCOPED_TRACE(kind);
    bool empty = false;
    Play(
        [&](MapControl& map) {
          if (kind == 0) empty = map.TrackRectangle()->Width() <= 0;
          if (kind == 1) empty = map.TrackPolygon()->PointCount() == 0;
          if (kind == 2) empty = As<Polygon>(map.TrackCircle())->PointCount() == 0;
        },
        {50, 50},
        [](MapCanvas& canvas) {
          QCoreApplication::postEvent(&canvas, Mouse(QEvent::MouseMove, {120, 120}));
          QCoreApplication::postEvent(&canvas, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
          QCoreApplication::postEvent(&canvas, Mouse(QEvent::MouseButtonRelease, {120, 120}));
        });
    EXPECT_TRUE(empty);
  }
}

} // namespace
} // namespace tov::test
