// The drawing page in the window: it opens with the keyboard on the map,
// and a polygon traced on the canvas, one vertex taken back with Backspace
// and the ring closed by a double click, becomes the study area.
#include "QtApp.h"
#include "TestWorld.h"

#include "GisBuilders.h"
#include "host/gui/MapCanvas.h"
#include "host/gui/QtPresenter.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "host/session/HostTaskRun.h"
#include "platform/forms/Form.h"
#include "platform/forms/UserActions.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Polygon.h"
#include "platform/runtime/ProgIds.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

namespace tov::test {
namespace {

TestWorldOptions DrawnMethodOptions() {
  TestWorldOptions options;
  options.extraMethods = R"({ "name": "SetupStudyArea.DrawOwn", "caption": "An area drawn on the map",
      "properties": { "MainLayer": "Regions" }, "layers": [ { "name": "Regions", "properties": {} } ],
      "children": [] })";
  return options;
}

QMouseEvent* Mouse(QEvent::Type type, QPointF at) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  return new QMouseEvent(type, at, at, at, Qt::LeftButton, held, Qt::NoModifier);
}

void Press(QWidget& dialog, const char* button) {
  auto* b = dialog.findChild<QAbstractButton*>(button);
  ASSERT_NE(b, nullptr) << button;
  ASSERT_TRUE(b->isEnabled()) << button;
  QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(4, b->height() / 2));
}

class DrawingPageWindowTest : public ::testing::Test {
protected:
  DrawingPageWindowTest() : world(DrawnMethodOptions()) {}
  void SetUp() override {
    App();
    RegisterHostGuiClasses(false);
    analysis = world.Open();
    presenter = std::make_shared<QtPresenter>();
    SetPresenter(presenter);
  }

  TestWorld world;
  AnalysisPtr analysis;
  QtPresenterPtr presenter;
};

TEST_F(DrawingPageWindowTest, TheKeyboardIsOnTheMapAndATracedPolygonBecomesTheStudyArea) {
  std::vector<std::string> focused;
  int namePages = 0;
  presenter->SetOnShown([&](Form& form, QWidget& dialog) {
    if (form.Name() == "SelectSANameDialog") {
      // Back once: the drawing page shows again, Next enabled by the area.
      if (namePages++ == 0) return Press(dialog, "BackButton");
      QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), "Traced");
      return Press(dialog, "NextButton");
    }
    focused.push_back(dialog.focusWidget() ? dialog.focusWidget()->objectName().toStdString() : "");
    if (focused.size() > 1) return Press(dialog, "NextButton");
    UserActions::ToolbarButton(form, "Toolbar1", "SelectByPolygon");
    auto* canvas = dialog.findChild<MapCanvas*>("MapControl");
    ASSERT_NE(canvas, nullptr);
    const MapViewport view = canvas->Viewport();
    auto at = [&](double x, double y) { return view.ToPixel(x, y); };
    // What follows the first press is queued; the press blocks in the track
    // until the double click ends it.
    QCoreApplication::postEvent(canvas, Mouse(QEvent::MouseButtonRelease, at(-74.5, 40.5)));
    for (QPointF vertex : {at(-74, 40.5), at(-73.5, 41.2)}) {
      QCoreApplication::postEvent(canvas, Mouse(QEvent::MouseButtonPress, vertex));
      QCoreApplication::postEvent(canvas, Mouse(QEvent::MouseButtonRelease, vertex));
    }
    QCoreApplication::postEvent(canvas, new QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier));
    const QPointF last = at(-74, 41);
    QCoreApplication::postEvent(canvas, Mouse(QEvent::MouseButtonPress, last));
    QCoreApplication::postEvent(canvas, Mouse(QEvent::MouseButtonRelease, last));
    QCoreApplication::postEvent(canvas, Mouse(QEvent::MouseButtonDblClick, last));
    QCoreApplication::postEvent(canvas, Mouse(QEvent::MouseButtonRelease, last));
    std::unique_ptr<QMouseEvent> first(Mouse(QEvent::MouseButtonPress, at(-74.5, 40.5)));
    QCoreApplication::sendEvent(canvas, first.get());
    Press(dialog, "NextButton");
  });
  Watchdog watchdog;
  HostTaskRunResult result = RunHostTask(*analysis, kSelDrawingTaskProgId);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_EQ(focused, (std::vector<std::string>{"MapControl", "MapControl"}));
  ASSERT_TRUE(result.Stored());
  auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry()->Copy());
  ASSERT_TRUE(stored);
  stored->Project(Geographic(4269));
  EXPECT_NEAR(stored->Area(), 0.125, 1e-6);
}

} // namespace
} // namespace tov::test
