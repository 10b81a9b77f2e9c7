// Study Area Setup in the window: the chooser's paths with the Qt presenter,
// where each page puts the keyboard, the small dialogs of the manage page,
// the name page of the current-extent method as a user types and presses its
// buttons or closes it, and the drawing page, where a polygon traced on the
// canvas, one vertex taken back with Backspace and the ring closed by a
// double click, becomes the study area.
#include "DrawnWorld.h"
#include "QtApp.h"

#include "manage/SAContentsDialog.h"
#include "manage/SAEditNameDialog.h"

#include <QKeyEvent>
#include <QPlainTextEdit>
#include <QPushButton>

namespace tov::test {
namespace {

using ChooserWindowTest = WindowTest;

TEST_F(ChooserWindowTest, CreateGoesFromTheChooserToTheNamePageAndBackShowsTheChooserAgain) {
  int choosers = 0;
  HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
    if (form.Name() == "CreateSAMainDialog") {
      ++choosers;
      return Press(dialog, "NextButton");
    }
    if (choosers == 1) return Press(dialog, "BackButton");
    Naming("Harbour")(form, dialog);
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"CreateSAMainDialog", "SelectSANameDialog", "CreateSAMainDialog",
                                             "SelectSANameDialog"}));
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(Catalog()->Count(), 1);
}

TEST_F(ChooserWindowTest, OpenMakesTheSavedStudyAreaCurrentAndRunsNoFunction) {
  Make("Harbour");
  Make("Midtown");
  ASSERT_EQ(CurrentStudyArea(), "Midtown");
  HostTaskRunResult result = Run([](Form&, QWidget& dialog) {
    Press(dialog, "OpenSAOption");
    // The combo lists the saved study areas; Harbour is the first.
    Press(dialog, "NextButton");
  });
  EXPECT_EQ(result.pageResult, -1);
  EXPECT_FALSE(result.initFunction);
  EXPECT_EQ(CurrentStudyArea(), "Harbour");
}

TEST_F(ChooserWindowTest, EachPageOpensWithTheKeyboardWhereTheUserWorksFirstAndEnterConfirmsANewName) {
  Make("Harbour");
  std::map<std::string, std::string> focus;
  Run([&](Form& form, QWidget& dialog) {
    focus[form.Name()] = FocusName(dialog);
    if (form.Name() == "CreateSAMainDialog") {
      Press(dialog, "ManageSAButton");
      return Press(dialog, "CancelButton");
    }
    if (form.Name() == "ManageSADialog") {
      Press(dialog, "RenameButton");
      return Press(dialog, "CloseButton");
    }
    Press(dialog, "CancelButton");
  });
  EXPECT_EQ(focus["CreateSAMainDialog"], "SATasksList");
  EXPECT_EQ(focus["ManageSADialog"], "SANamesList");
  EXPECT_EQ(focus["SAEditNameDialog"], "ToText");

  auto edit = std::make_shared<SAEditNameDialog>();
  edit->m_sNameToEdit = "Harbour";
  Played([&] { edit->ShowModal(); }, [](Form& form, QWidget& dialog) {
    Retype(dialog, "ToText", "Port");
    QTest::keyClick(dialog.findChild<QLineEdit*>("ToText"), Qt::Key_Return);
    EXPECT_FALSE(form.Visible()) << "Enter did not reach the form";
    if (form.Visible()) dialog.close();
  });
  EXPECT_EQ(edit->m_Result, 1);
  EXPECT_EQ(edit->NewName(), "Port");
  edit->Unload();

  // A box shown for reading only shows long texts on several lines and
  // leaves the keyboard to the buttons.
  auto contents = std::make_shared<SAContentsDialog>();
  contents->Ctl("ContentsText")->SetText("Harbour\r\nMidtown");
  Played([&] { contents->ShowModal(); }, [&](Form&, QWidget& dialog) {
    auto* lines = dialog.findChild<QPlainTextEdit*>("ContentsText");
    EXPECT_TRUE(lines && lines->isReadOnly());
    EXPECT_EQ(lines ? lines->toPlainText() : QString(), "Harbour\nMidtown");
    EXPECT_EQ(FocusName(dialog), "OKButton");
    dialog.close();
  });
  EXPECT_EQ(shown.size(), 1u);
  contents->Unload();
}

class PresenterTest : public WindowTest {
protected:
  // The method's work runs under the window's progress dialog.
  PresenterTest() : WindowTest({}, true) {}
  // Runs the method; user() plays each showing of the page.
  HostTaskRunResult Run(std::function<void(Form&, QWidget&)> user) {
    return WindowTest::Run(std::move(user), kCurExtentTaskProgId);
  }
};

TEST_F(PresenterTest, TypingANameAndNextStoresTheStudyArea) {
  HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>("StudyAreaNameText");
    auto* next = dialog.findChild<QPushButton*>("NextButton");
    ASSERT_TRUE(edit && next);
    // The page keeps Next disabled until there is a name.
    EXPECT_FALSE(next->isEnabled());
    QTest::keyClicks(edit, "Harbour");
    EXPECT_EQ(edit->text(), "Harbour");
    EXPECT_EQ(form.Ctl("StudyAreaNameText")->Text(), "Harbour");
    EXPECT_TRUE(next->isEnabled());
    Press(dialog, "NextButton");
  });
  EXPECT_EQ(result.pageResult, 0);
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Harbour");
}

TEST_F(PresenterTest, BackCancelAndTheCloseBoxStoreNothing) {
  struct Case {
    const char* name;
    std::function<void(Form&, QWidget&)> act;
    int32_t pageResult;
  };
  const Case cases[] = {
      {"Back", [](Form&, QWidget& d) { Press(d, "BackButton"); }, 2},
      {"Cancel", [](Form&, QWidget& d) { Press(d, "CancelButton"); }, -1},
      {"close box", [](Form&, QWidget& d) { d.close(); }, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
      QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), "Somewhere");
      c.act(form, dialog);
    });
    EXPECT_EQ(result.pageResult, c.pageResult);
    EXPECT_FALSE(result.Stored());
    EXPECT_FALSE(result.initFunction);
  }
}

TEST_F(PresenterTest, AProgramChangeReachesTheWidgetAndAnExistingNameIsRefused) {
  ASSERT_TRUE(Run([](Form& form, QWidget& dialog) {
                form.Ctl("StudyAreaNameText")->SetText("Harbour");
                // What the program sets shows in the widget.
                EXPECT_EQ(dialog.findChild<QLineEdit*>("StudyAreaNameText")->text(), "Harbour");
                Press(dialog, "NextButton");
              }).Stored());
  int showings = 0;
  HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
    ++showings;
    auto* edit = dialog.findChild<QLineEdit*>("StudyAreaNameText");
    if (showings == 1) {
      QTest::keyClicks(edit, "Harbour");
      Press(dialog, "NextButton");
      // The warning came and the page went away to be shown again.
      EXPECT_FALSE(form.Visible());
      return;
    }
    // Shown again with the refused name still in it.
    EXPECT_EQ(edit->text(), "Harbour");
    QTest::keyClicks(edit, "2");
    Press(dialog, "NextButton");
  });
  EXPECT_EQ(showings, 2);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Harbour2");
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
