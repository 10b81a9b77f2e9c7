// Blocking track calls of the map canvas, made from inside the mouse-down
// handler of a page as the map pages do.
#include "QtApp.h"

#include "host/gis/RegisterHostGisClasses.h"

#include <QKeyEvent>

namespace tov::test {
namespace {

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
    RegisterHostGuiClasses(false);
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
  EXPECT_DOUBLE_EQ(dragged->XMin(), 25);
  EXPECT_DOUBLE_EQ(dragged->XMax(), 75);
  EXPECT_DOUBLE_EQ(dragged->YMin(), 50);
  EXPECT_DOUBLE_EQ(dragged->YMax(), 75);

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
  EXPECT_DOUBLE_EQ(polygon->Point(0)->X(), 10);
  EXPECT_DOUBLE_EQ(polygon->Point(0)->Y(), 10);
  EXPECT_DOUBLE_EQ(polygon->Point(2)->X(), 90);
  EXPECT_DOUBLE_EQ(polygon->Point(2)->Y(), 90);
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
