#pragma once
// The Qt application of a test program that shows windows (offscreen), and
// the fixture of the tests that work the component's forms in them.
#include "WorldTest.h"

#include "host/gui/MainWindow.h"
#include "host/gui/MapCanvas.h"
#include "host/gui/QtPresenter.h"
#include "host/gui/RegisterHostGuiClasses.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <initializer_list>

namespace tov::test {

// The one application object of the test program (offscreen).
QApplication& App();

// Closes every window after a while so that a failing test cannot hang in a
// modal loop; disarmed when it goes out of scope.
class Watchdog {
public:
  explicit Watchdog(int milliseconds = 15000);
  ~Watchdog();
  bool Fired() const { return m_fired; }

private:
  QTimer m_timer;
  bool m_fired = false;
};

// Shows the form with a Qt presenter (message boxes answered OK) while
// user() plays it; it must have been shown, and the watchdog must not have
// had to close it.
void ShowInWindow(Form& form, std::function<void(Form&, QWidget&)> user);

// A left-button event as the mouse makes it (a move holds no button).
inline QMouseEvent* Mouse(QEvent::Type type, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
  return new QMouseEvent(type, at, at, at, type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                         press ? Qt::LeftButton : Qt::NoButton, modifiers);
}
// Queues the events of a gesture, in order.
inline void PostMouse(QWidget& target, std::initializer_list<std::pair<QEvent::Type, QPointF>> events) {
  for (const auto& [type, at] : events) QCoreApplication::postEvent(&target, Mouse(type, at));
}
// Sends a press, which may block in a track until the queued events end it.
void SendPress(QWidget& target, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// A click (release queued, then the press) and a drag from one point to another.
inline void ClickOn(QWidget& target, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  QCoreApplication::postEvent(&target, Mouse(QEvent::MouseButtonRelease, at, modifiers));
  SendPress(target, at, modifiers);
}
inline void DragOn(QWidget& target, QPointF from, QPointF to) {
  PostMouse(target, {{QEvent::MouseMove, to}, {QEvent::MouseButtonRelease, to}});
  SendPress(target, from);
}
// The name of the widget that has the keyboard ("" when none has).
inline std::string FocusName(QWidget& dialog) {
  return dialog.focusWidget() ? dialog.focusWidget()->objectName().toStdString() : "";
}
// The object names of a menu's entries, separators left out.
inline QStringList EntriesOf(QMenu& menu) {
  QStringList entries;
  for (QAction* a : menu.actions())
    if (!a->isSeparator()) entries << a->objectName();
  return entries;
}

using User = std::function<void(Form&, QWidget&)>;

// A test world's analysis whose forms the Qt presenter shows. Message boxes
// are kept in `messages` and answered Yes when they ask, OK otherwise.
class WindowTest : public WorldTest {
protected:
  explicit WindowTest(const TestWorldOptions& options = {}, bool progressDialog = false)
      : WorldTest(options), m_progressDialog(progressDialog) {}
  void SetUp() override;
  void TearDown() override {
    window.reset();
    QCoreApplication::processEvents();
  }

  // Opens the main window on the analysis (900 by 600, shown).
  void OpenWindow();
  // Does `act` while user() plays each form shown (noted in `shown`); the
  // watchdog must not have had to close any.
  void Played(const std::function<void()>& act, User user) {
    shown.clear();
    EXPECT_TRUE(Playing(std::move(user), act)) << "a form was still open when the watchdog fired";
  }
  // The same for a test that goes on either way: false when a form was
  // still open after a while.
  bool Playing(User user, const std::function<void()>& act);
  // Runs a task as the host does (Study Area Setup when progId is empty).
  HostTaskRunResult Run(User user, const std::string& progId = "");
  // Triggers a menu's entry (then deletes the menu) while user() plays the forms.
  void Choose(QMenu* menu, const char* entry, User user);
  // Clicks a button of a shown form, which must be there and enabled.
  static void Press(QWidget& dialog, const char* button) {
    auto* b = dialog.findChild<QAbstractButton*>(button);
    ASSERT_NE(b, nullptr) << button;
    ASSERT_TRUE(b->isEnabled()) << button;
    QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, QPoint(4, b->height() / 2));
  }
  // Replaces the text of a line box by typing.
  static void Retype(QWidget& dialog, const char* box, const QString& text) {
    auto* edit = dialog.findChild<QLineEdit*>(box);
    ASSERT_NE(edit, nullptr) << box;
    edit->selectAll();
    QTest::keyClicks(edit, text);
  }
  // The user of the chooser (Next) and the name page (the name typed, Next).
  static User Naming(const std::string& name);
  // The user of the manage dialog (Rename) and the edit name dialog (the new name, OK).
  static User Renaming(const QString& to);
  // A study area made by the current extent method through the chooser.
  void Make(const char* name) { ASSERT_TRUE(Run(Naming(name)).Stored()); }
  // The layer tree's items whose text starts with the name.
  QList<QTreeWidgetItem*> LayerItems(const QString& name) const {
    return window->LayerTree()->findItems(name, Qt::MatchStartsWith | Qt::MatchRecursive);
  }
  // Where longitude and latitude (NAD83) lie on the window's canvas.
  QPointF PixelOf(double lon, double lat) const;

  QtPresenterPtr qt;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> messages, shown;

private:
  bool m_progressDialog;
};

} // namespace tov::test
