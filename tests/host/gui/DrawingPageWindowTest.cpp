// The drawing page in the window: it opens with the keyboard on the map,
// and a polygon traced on the canvas, one vertex taken back with Backspace
// and the ring closed by a double click, becomes the study area.
#include "DrawnWorld.h"
#include "QtApp.h"

#include "host/gui/MapCanvas.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTest>

namespace tov::test {
namespace {

QMouseEvent* Mouse(QEvent::Type type, QPointF at) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
  return new QMouseEvent(type, at, at, at, Qt::LeftButton, held, Qt::NoModifier);
}

class DrawingPageWindowTest : public WindowTest {
protected:
  DrawingPageWindowTest() : WindowTest(DrawnWorldOptions()) {}
};

TEST_F(DrawingPageWindowTest, TheKeyboardIsOnTheMapAndATracedPolygonBecomesTheStudyArea) {
  std::vector<std::string> focused;
  int namePages = 0;
  HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
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
  }, kSelDrawingTaskProgId);
  EXPECT_EQ(focused, (std::vector<std::string>{"MapControl", "MapControl"}));
  ASSERT_TRUE(result.Stored());
  ASSERT_TRUE(CurrentShape());
  EXPECT_NEAR(InDegrees(CurrentShape())->Area(), 0.125, 1e-6);
}

} // namespace
} // namespace tov::test
