#pragma once
// The Qt application of a test program that shows windows (offscreen), and
// the fixture of the tests that work the component's forms in them.
#include "WorldTest.h"

#include "host/gui/MainWindow.h"
#include "host/gui/QtPresenter.h"

#include <QApplication>
#include <QTimer>

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
// user() plays it; the watchdog must not have had to close it.
void ShowInWindow(Form& form, std::function<void(Form&, QWidget&)> user);

// A test world's analysis whose forms the Qt presenter shows. Message boxes
// are kept in `messages` and answered Yes when they ask, OK otherwise.
class WindowTest : public WorldTest {
protected:
  explicit WindowTest(const TestWorldOptions& options = {}, bool progressDialog = false)
      : WorldTest(options), m_progressDialog(progressDialog) {}
  void SetUp() override;
  void TearDown() override;

  // Opens the main window on the analysis (900 by 600, shown).
  void OpenWindow();
  // Does `act` while user() plays each form shown (noted in `shown`); the
  // watchdog must not have had to close any.
  void Played(const std::function<void()>& act, std::function<void(Form&, QWidget&)> user);
  // The same for a test that goes on either way: false when a form was
  // still open after a while.
  bool Playing(std::function<void(Form&, QWidget&)> user, const std::function<void()>& act);
  // Runs a task as the host does (Study Area Setup when progId is empty).
  HostTaskRunResult Run(std::function<void(Form&, QWidget&)> user, const std::string& progId = "");
  // Clicks a button of a shown form, which must be there and enabled.
  static void Press(QWidget& dialog, const char* button);
  // A study area made by the current extent method through the chooser.
  void Make(const char* name);
  // Where longitude and latitude (NAD83) lie on the window's canvas.
  QPointF PixelOf(double lon, double lat) const;

  QtPresenterPtr qt;
  std::unique_ptr<MainWindow> window;
  std::vector<std::string> messages, shown;

private:
  bool m_progressDialog;
};

} // namespace tov::test
