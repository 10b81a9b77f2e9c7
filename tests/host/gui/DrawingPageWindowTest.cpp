// The drawing page in the window: it opens with the keyboard on the map,
// and a polygon traced on the canvas, one vertex taken back with Backspace
// and the ring closed by a double click, becomes the study area.
#include "DrawnWorld.h"
#include "QtApp.h"

#include <QKeyEvent>

namespace tov::test {
namespace {

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
    focused.push_back(FocusName(dialog));
    if (focused.size() > 1) return Press(dialog, "NextButton");
    UserActions::ToolbarButton(form, "Toolbar1", "SelectByPolygon");
    auto* canvas = dialog.findChild<MapCanvas*>("MapControl");
    ASSERT_NE(canvas, nullptr);
    const MapViewport view = canvas->Viewport();
    auto at = [&](double x, double y) { return view.ToPixel(x, y); };
    // What follows the first press is queued; the press blocks in the track
    // until the double click ends it.
    const QPointF first = at(-74.5, 40.5), second = at(-74, 40.5), third = at(-73.5, 41.2), last = at(-74, 41);
    PostMouse(*canvas, {{QEvent::MouseButtonRelease, first}, {QEvent::MouseButtonPress, second},
                        {QEvent::MouseButtonRelease, second}, {QEvent::MouseButtonPress, third},
                        {QEvent::MouseButtonRelease, third}});
    QCoreApplication::postEvent(canvas, new QKeyEvent(QEvent::KeyPress, Qt::Key_Backspace, Qt::NoModifier));
    PostMouse(*canvas, {{QEvent::MouseButtonPress, last}, {QEvent::MouseButtonRelease, last},
                        {QEvent::MouseButtonDblClick, last}, {QEvent::MouseButtonRelease, last}});
    SendPress(*canvas, first);
    Press(dialog, "NextButton");
  }, kSelDrawingTaskProgId);
  EXPECT_EQ(focused, (std::vector<std::string>{"MapControl", "MapControl"}));
  ASSERT_TRUE(result.Stored());
  ASSERT_TRUE(CurrentShape());
  EXPECT_NEAR(InDegrees(CurrentShape())->Area(), 0.125, 1e-6);
}

} // namespace
} // namespace tov::test
