// The Qt presenter showing the name page of the current-extent method: a user
// types and presses the page's buttons, or closes the window.
#include "QtApp.h"

#include <QPushButton>

namespace tov::test {
namespace {

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
  std::string shownText;
  HostTaskRunResult result = Run([&](Form& form, QWidget& dialog) {
    auto* edit = dialog.findChild<QLineEdit*>("StudyAreaNameText");
    ASSERT_NE(edit, nullptr);
    auto* next = dialog.findChild<QPushButton*>("NextButton");
    ASSERT_NE(next, nullptr);
    // The page keeps Next disabled until there is a name.
    EXPECT_FALSE(next->isEnabled());
    QTest::keyClicks(edit, "Harbour");
    shownText = edit->text().toStdString();
    EXPECT_EQ(form.Ctl("StudyAreaNameText")->Text(), "Harbour");
    EXPECT_TRUE(next->isEnabled());
    Press(dialog, "NextButton");
  });
  EXPECT_EQ(shownText, "Harbour");
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

} // namespace
} // namespace tov::test
