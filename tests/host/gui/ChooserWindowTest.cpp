// Study Area Setup in the window: the chooser's paths with the Qt presenter,
// where each page puts the keyboard, the small dialogs of the manage page,
// the name page of the current-extent method as a user types and presses its
// buttons or closes it, and the drawing page, where a polygon traced on the
// canvas, one vertex taken back with Backspace and the ring closed by a
// double click, becomes the study area.
//
// The keyboard and assistive tools on the wizard's dialogs: Enter goes on,
// a button the keyboard is on takes Enter itself, a swallowed Enter stays
// in its box, Tab goes in layout order, Escape cancels, every control has a
// name, and the band on a page's left shows the wizard's picture.
#include "DrawnWorld.h"
#include "QtApp.h"

#include "manage/SAContentsDialog.h"
#include "manage/SAEditNameDialog.h"

#include <QLabel>
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
  EXPECT_EQ(focus, (decltype(focus){{"CreateSAMainDialog", "SATasksList"}, {"ManageSADialog", "SANamesList"},
                                    {"SAEditNameDialog", "ToText"}}));

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

TEST_F(PresenterTest, TypingANameStoresItAndTheSameNameAgainIsRefusedUntilTheProgramChangesIt) {
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

  int showings = 0;
  result = Run([&](Form& form, QWidget& dialog) {
    ++showings;
    auto* edit = dialog.findChild<QLineEdit*>("StudyAreaNameText");
    if (showings == 1) {
      QTest::keyClicks(edit, "Harbour");
      Press(dialog, "NextButton");
      // The warning came and the page went away to be shown again.
      EXPECT_FALSE(form.Visible());
      return;
    }
    // Shown again with the refused name still in it; what the program sets
    // shows in the widget.
    EXPECT_EQ(edit->text(), "Harbour");
    form.Ctl("StudyAreaNameText")->SetText("Harbour2");
    EXPECT_EQ(edit->text(), "Harbour2");
    Press(dialog, "NextButton");
  });
  EXPECT_EQ(showings, 2);
  EXPECT_EQ(messages.size(), 1u);
  EXPECT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Harbour2");
}

TEST_F(PresenterTest, BackCancelAndTheCloseBoxStoreNothing) {
  // What the user does after typing a name, and the page's result.
  const std::tuple<const char*, User, int32_t> cases[] = {
      {"Back", [](Form&, QWidget& d) { Press(d, "BackButton"); }, 2},
      {"Cancel", [](Form&, QWidget& d) { Press(d, "CancelButton"); }, -1},
      {"close box", [](Form&, QWidget& d) { d.close(); }, -1},
  };
  for (const auto& [name, act, pageResult] : cases) {
    SCOPED_TRACE(name);
    HostTaskRunResult result = Run([act = act](Form& form, QWidget& dialog) {
      QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), "Somewhere");
      act(form, dialog);
    });
    EXPECT_EQ(result.pageResult, pageResult);
    EXPECT_FALSE(result.Stored());
    EXPECT_FALSE(result.initFunction);
  }
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
    auto at = [view = canvas->Viewport()](double x, double y) { return view.ToPixel(x, y); };
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

class DialogKeyboardTest : public WindowTest {
protected:
  static void Key(QWidget& dialog, Qt::Key key) {
    QWidget* focused = dialog.focusWidget();
    ASSERT_NE(focused, nullptr) << "nothing has the keyboard";
    QTest::keyClick(focused, key);
  }
  // The named widgets of the dialog in the order Tab reaches them, from
  // the one that has the keyboard.
  static std::vector<std::string> TabOrder(QWidget& dialog) {
    std::vector<std::string> order;
    QWidget* start = dialog.focusWidget();
    for (QWidget* w = start; w; w = w->nextInFocusChain()) {
      if (w->parentWidget() == &dialog && !w->objectName().isEmpty() && (w->focusPolicy() & Qt::TabFocus) &&
          w->isEnabled() && w->isVisible())
        order.push_back(w->objectName().toStdString());
      if (w->nextInFocusChain() == start) break;
    }
    return order;
  }
  // A form of that size (twips) whose Next button, placed as given, hides it.
  static std::shared_ptr<Form> FormWithNext(const char* name, float width, float height, float left, float top,
                                            float buttonWidth) {
    auto form = std::make_shared<Form>(name);
    form->SetWidth(width);
    form->SetHeight(height);
    auto next = form->Add(ControlKind::CommandButton, "NextButton");
    next->Move(left, top, buttonWidth, 375);
    next->SetCaption("&Next >");
    Form* self = form.get();
    form->On("NextButton", EventKind::Click, [self](EventArgs&) { self->Hide(); });
    return form;
  }
};

TEST_F(DialogKeyboardTest, EnterGoesOnAButtonTheKeyboardIsOnTakesEnterAndEscapeCancels) {
  // From the chooser, then from the name page after typing a name; tabbed to
  // Cancel, Enter cancels rather than going on.
  for (const bool onCancel : {false, true}) {
    SCOPED_TRACE(onCancel ? "on Cancel" : "on the name");
    HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
      if (form.Name() == "CreateSAMainDialog") return Key(dialog, Qt::Key_Return);
      QTest::keyClicks(dialog.focusWidget(), "Harbour");
      if (onCancel) dialog.findChild<QAbstractButton*>("CancelButton")->setFocus();
      Key(dialog, Qt::Key_Return);
    });
    EXPECT_EQ(shown, (std::vector<std::string>{"CreateSAMainDialog", "SelectSANameDialog"}));
    EXPECT_EQ(result.Stored(), !onCancel);
    if (onCancel) EXPECT_EQ(result.pageResult, -1);
    else EXPECT_EQ(CurrentStudyArea(), "Harbour");
  }
  HostTaskRunResult escaped = Run([](Form&, QWidget& dialog) { Key(dialog, Qt::Key_Escape); });
  EXPECT_EQ(shown, std::vector<std::string>{"CreateSAMainDialog"});
  EXPECT_EQ(escaped.pageResult, -1);
}

TEST_F(DialogKeyboardTest, AnEnterTheFormSwallowsStaysInItsBox) {
  // As the address box of the geocoder's page, which finds on Enter.
  auto form = FormWithNext("EnterForm", 6000, 3000, 3600, 1800, 1200);
  form->Add(ControlKind::TextBox, "AddressText")->Move(120, 120, 3000, 315);
  int entered = 0;
  form->On("AddressText", EventKind::KeyPress, [&](EventArgs& e) {
    if (e.KeyAscii != 13) return;
    e.KeyAscii = 0;
    ++entered;
  });
  bool stayed = false;
  Played([&] { form->ShowModal(); }, [&](Form& f, QWidget& dialog) {
    QTest::keyClick(dialog.findChild<QLineEdit*>("AddressText"), Qt::Key_Return);
    stayed = f.Visible(); // else the swallowed Enter pressed the default button
    if (f.Visible()) Press(dialog, "NextButton");
  });
  EXPECT_EQ(entered, 1);
  EXPECT_TRUE(stayed);
}

TEST_F(DialogKeyboardTest, TabGoesAsLaidOutEveryControlHasANameAndTheBandShowsThePicture) {
  Make("Harbour"); // the chooser's open way and manage button take part
  std::map<std::string, std::map<std::string, std::string>> names;
  bool picture = false;
  // The name box on top, then the buttons' row from the left; from the
  // methods' list on the chooser down to its buttons, the options of the
  // regions and Back being disabled.
  Run([&](Form& form, QWidget& dialog) {
    for (const ControlPtr& c : form.Controls())
      if (auto* w = dialog.findChild<QWidget*>(QString::fromStdString(c->Name())))
        names[form.Name()][c->Name()] = w->accessibleName().toStdString();
    if (form.Name() == "CreateSAMainDialog") {
      EXPECT_EQ(TabOrder(dialog), (std::vector<std::string>{"SATasksList", "OpenSAOption", "SANameCombo",
                                                            "ManageSAButton", "HelpButton", "NextButton",
                                                            "CancelButton", "CreateSAOption"}));
      return Press(dialog, "NextButton");
    }
    auto* image = dialog.findChild<QLabel*>("Image1");
    picture = image && !image->pixmap().isNull();
    // The label, frame and image between the name and Help take no focus.
    Key(dialog, Qt::Key_Tab);
    EXPECT_EQ(FocusName(dialog), "HelpButton");
    dialog.findChild<QLineEdit*>("StudyAreaNameText")->setFocus();
    QTest::keyClicks(dialog.focusWidget(), "Midtown"); // Next takes part
    EXPECT_EQ(TabOrder(dialog), (std::vector<std::string>{"StudyAreaNameText", "HelpButton", "BackButton",
                                                          "NextButton", "CancelButton"}));
    Press(dialog, "CancelButton");
  });
  EXPECT_EQ(shown, (std::vector<std::string>{"CreateSAMainDialog", "SelectSANameDialog"}));
  for (const auto& [form, controls] : names)
    for (const auto& [control, name] : controls) EXPECT_FALSE(name.empty()) << form << "." << control;
  EXPECT_EQ(names["SelectSANameDialog"]["StudyAreaNameText"], "Type a name for the new study area");
  EXPECT_EQ(names["SelectSANameDialog"]["NextButton"], "Next");
  EXPECT_EQ(names["CreateSAMainDialog"]["SANameCombo"], "Saved study areas");
  EXPECT_EQ(names["CreateSAMainDialog"]["SATasksList"], "Choose how to define the new study area");
  EXPECT_TRUE(picture) << "the name page's band shows no picture";
}

TEST_F(DialogKeyboardTest, APageThatLeavesTheBandEmptyWithoutAnImageShowsThePictureThere) {
  auto form = FormWithNext("BandForm", 7005, 5300, 4320, 4440, 1215);
  form->Add(ControlKind::Label, "Label1")->Move(2040, 240, 4845, 855);
  form->Add(ControlKind::TextBox, "FirstText")->Move(2040, 1200, 2000, 315);
  QRect band;
  bool drawn = false;
  Played([&] { form->ShowModal(); }, [&](Form&, QWidget& dialog) {
    if (auto* picture = dialog.findChild<QLabel*>("WizardPicture")) {
      band = picture->geometry();
      drawn = !picture->pixmap().isNull();
    }
    Press(dialog, "NextButton");
  });
  EXPECT_TRUE(drawn);
  EXPECT_EQ(band.left(), 8);
  EXPECT_EQ(band.width(), 120); // up to the controls at 136 pixels
  EXPECT_GT(band.height(), 200);
}

} // namespace
} // namespace tov::test
