#pragma once
// What the tests of the window share: the small test data set's analysis,
// the Qt presenter with its message boxes answered, runs of Study Area
// Setup played on real widgets, and the window itself.
#include "GuiTestSupport.h"
#include "support/ComponentTestSupport.h"

#include "host/gui/MainWindow.h"
#include "host/gui/QtPresenter.h"
#include "host/session/HostTaskRun.h"
#include "platform/forms/Form.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace tov::test {

class WindowTest : public ::testing::Test {
protected:
  explicit WindowTest(const TestWorldOptions& options = TestWorldOptions()) : world(options) {}
  void SetUp() override;
  void TearDown() override;

  // Opens the window on the analysis (900 by 600, shown).
  void OpenWindow();
  // Runs Study Area Setup; user() plays each form shown.
  HostTaskRunResult Run(std::function<void(Form&, QWidget&)> user);
  // Runs what may show forms (a menu entry, a double-click) with user()
  // playing them; false when a form was still open after a while.
  bool Playing(std::function<void(Form&, QWidget&)> user, const std::function<void()>& action);
  // A click on the dialog's button, as a mouse makes it.
  static void Press(QWidget& dialog, const char* button);
  // A study area made by the current extent method through the chooser.
  void Make(const char* name);
  std::string Current() const;
  // Where longitude and latitude (NAD83) lie on the window's canvas.
  QPointF PixelOf(double lon, double lat) const;

  TestWorld world;
  AnalysisPtr analysis;
  QtPresenterPtr presenter;
  std::vector<std::string> messages; // the message boxes' texts
  std::vector<std::string> shown;    // the forms shown, by name
  std::unique_ptr<MainWindow> window;
};

} // namespace tov::test
