#pragma once
// The Qt application of a test program that shows windows (offscreen), and
// the fixture of the tests that work the component's forms in them.
#include "WorldTest.h"

#include "host/gui/MainWindow.h"
#include "host/gui/MapCanvas.h"
#include "host/gui/QtPresenter.h"
#include "host/gis/HostMapControl.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <cstdlib>
#include <initializer_list>

namespace tov::test {

// The one application object of the test program (offscreen).
inline QApplication& App() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tovana-test";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

// Closes every window after a while so that a failing test cannot hang in a
// modal loop; disarmed when it goes out of scope.
class Watchdog {
public:
  explicit Watchdog(int milliseconds = 15000) {
    App();
    m_timer.setSingleShot(true);
    m_timer.setInterval(milliseconds);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
      m_fired = true;
      // Escape first ends a track; closing ends each dialog's exec().
      for (QWidget* w : QApplication::allWidgets())
        if (auto* canvas = dynamic_cast<MapCanvas*>(w); canvas && canvas->Tracking())
          QCoreApplication::postEvent(canvas, new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
      for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->close();
      QTimer::singleShot(100, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
      });
    });
    m_timer.start();
  }
  ~Watchdog() { m_timer.stop(); }
  bool Fired() const { return m_fired; }

private:
  QTimer m_timer;
  bool m_fired = false;
};

// Shows the form with a Qt presenter (message boxes answered OK) while
// user() plays it; it must have been shown, and the watchdog must not have
// had to close it.
inline void ShowInWindow(Form& form, std::function<void(Form&, QWidget&)> user) {
  App();
  auto presenter = std::make_shared<QtPresenter>();
  presenter->SetMsgBoxAnswer([](const std::string&, int32_t) { return vbOK; });
  bool played = false;
  presenter->SetOnShown([&](Form& shown, QWidget& dialog) {
    played = true;
    user(shown, dialog);
  });
  SetPresenter(presenter);
  Watchdog watchdog;
  form.ShowModal();
  EXPECT_FALSE(watchdog.Fired()) << "the form was still open when the watchdog fired";
  EXPECT_TRUE(played) << "the form was never shown";
}

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
inline void SendPress(QWidget& target, QPointF at, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
  Watchdog watchdog;
  std::unique_ptr<QMouseEvent> press(Mouse(QEvent::MouseButtonPress, at, modifiers));
  QCoreApplication::sendEvent(&target, press.get());
  EXPECT_FALSE(watchdog.Fired());
}
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
  void SetUp() override {
    App();
    RegisterHostMapControl();
    if (m_progressDialog) RegisterHostGuiClasses();
    RegisterHostStudyAreaClasses(); // the property sheet
    analysis = world->Open();
    qt = std::make_shared<QtPresenter>();
    qt->SetMsgBoxAnswer([this](const std::string& text, int32_t style) {
      messages.push_back(text);
      return (style & 0xF) == vbYesNo ? vbYes : vbOK;
    });
    SetPresenter(qt);
  }
  void TearDown() override {
    window.reset();
    QCoreApplication::processEvents();
  }

  // Opens the main window on the analysis (900 by 600, shown).
  void OpenWindow() {
    window = std::make_unique<MainWindow>(analysis);
    qt->SetParentWindow(window.get());
    window->resize(900, 600);
    window->show();
    QCoreApplication::processEvents();
  }
  // Does `act` while user() plays each form shown (noted in `shown`); the
  // watchdog must not have had to close any.
  void Played(const std::function<void()>& act, User user) {
    shown.clear();
    EXPECT_TRUE(Playing(std::move(user), act)) << "a form was still open when the watchdog fired";
  }
  // The same for a test that goes on either way: false when a form was
  // still open after a while.
  bool Playing(User user, const std::function<void()>& act) {
    qt->SetOnShown([this, user](Form& form, QWidget& dialog) {
      shown.push_back(form.Name());
      user(form, dialog);
    });
    Watchdog watchdog;
    act();
    return !watchdog.Fired();
  }
  // Runs a task as the host does (Study Area Setup when progId is empty).
  HostTaskRunResult Run(User user, const std::string& progId = "") {
    HostTaskRunResult result;
    Played([&] { result = progId.empty() ? RunHostTask(*analysis) : RunHostTask(*analysis, progId); }, std::move(user));
    return result;
  }
  // Triggers a menu's entry (then deletes the menu) while user() plays the forms.
  void Choose(QMenu* menu, const char* entry, User user) {
    ASSERT_NE(menu, nullptr) << entry;
    QAction* action = menu->findChild<QAction*>(entry);
    ASSERT_NE(action, nullptr) << entry;
    Played([&] { action->trigger(); }, std::move(user));
    delete menu;
  }
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
  static User Naming(const std::string& name) {
    return [name](Form& form, QWidget& dialog) {
      if (form.Name() == "CreateSAMainDialog") return Press(dialog, "NextButton");
      QTest::keyClicks(dialog.findChild<QLineEdit*>("StudyAreaNameText"), QString::fromStdString(name));
      Press(dialog, "NextButton");
    };
  }
  // The user of the manage dialog (Rename) and the edit name dialog (the new name, OK).
  static User Renaming(const QString& to) {
    return [to](Form& form, QWidget& dialog) {
      if (form.Name() == "ManageSADialog") {
        Press(dialog, "RenameButton");
        return Press(dialog, "CloseButton");
      }
      Retype(dialog, "ToText", to);
      Press(dialog, "OKButton");
    };
  }
  // A study area made by the current extent method through the chooser.
  void Make(const char* name) { ASSERT_TRUE(Run(Naming(name)).Stored()); }
  // The layer tree's items whose text starts with the name.
  QList<QTreeWidgetItem*> LayerItems(const QString& name) const {
    return window->LayerTree()->findItems(name, Qt::MatchStartsWith | Qt::MatchRecursive);
  }
  MapPtr Map() const { return window->Canvas()->Control()->Map(); }
  // Where longitude and latitude (NAD83) lie on the window's canvas.
  QPointF PixelOf(double lon, double lat) const {
    auto point = CreateAs<Point>("orvaCore.Point");
    point->PutCoords(lon, lat);
    point->SetSpatialReference(Geographic(4269));
    point->Project(Map()->SpatialReference());
    return window->Canvas()->Viewport().ToPixel(point->X(), point->Y());
  }

  QtPresenterPtr qt;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> messages, shown;

private:
  bool m_progressDialog;
};

} // namespace tov::test
