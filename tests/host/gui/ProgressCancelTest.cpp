// Long work in the window: the progress dialog comes up with a Cancel
// button, the window's events go on meanwhile, and Cancel stops a function
// between two steps (never inside one) and the work that asks for it.
#include "QtApp.h"
#include "Recorders.h"

#include "host/common/WorkCancel.h"
#include "host/gui/QtProgressRunner.h"

#include <QProgressDialog>
#include <QPushButton>


#include <chrono>
#include <thread>

namespace tov::test {
namespace {

// Steps for as long as it is let, each step a while of work.
class SlowFunction : public SpyFunction {
public:
  SlowFunction() : SpyFunction(&log) {}
  bool DoStep() override {
    ++steps;
    const bool wholeStep = !inStep;
    inStep = true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    inStep = false;
    EXPECT_TRUE(wholeStep);
    return steps < 10000;
  }
  FunctionLog log;
  int steps = 0;
  bool inStep = false;
};

// Presses Cancel on the progress dialog once it is up; counts the timer's
// ticks meanwhile (the window's events going on).
struct CancelWhenShown {
  CancelWhenShown() {
    timer.setInterval(20);
    QObject::connect(&timer, &QTimer::timeout, [this] {
      ++ticks;
      auto* dialog = qobject_cast<QProgressDialog*>(QApplication::activeModalWidget());
      if (!dialog || !dialog->isVisible()) return;
      shown = true;
      if (auto* cancel = dialog->findChild<QPushButton*>()) cancel->click();
    });
    timer.start();
  }
  QTimer timer;
  int ticks = 0;
  bool shown = false;
};

TEST(ProgressCancelTest, CancelStopsAFunctionBetweenStepsWhileTheWindowGoesOn) {
  App();
  auto function = std::make_shared<SlowFunction>();
  CancelWhenShown user;
  Watchdog watchdog;
  const long before = CancelledWorkCount();
  QtProgressRunner().Run(function, "Study Area Setup", "Creating the study area...", "", 0);
  EXPECT_FALSE(watchdog.Fired());
  EXPECT_TRUE(user.shown) << "no progress dialog came up";
  EXPECT_GT(user.ticks, 5) << "the window's events stood still";
  EXPECT_LT(function->steps, 10000) << "Cancel did not stop the function";
  EXPECT_EQ(CancelledWorkCount(), before + 1);
}

TEST(ProgressCancelTest, OtherLongWorkStopsWhenItAsksAfterCancel) {
  App();
  CancelWhenShown user;
  Watchdog watchdog;
  int rounds = 0;
  const bool finished = RunWithProgress("New Data Set", "Making the data set...", [&] {
    while (!WorkCancelled() && rounds < 100000) {
      ++rounds;
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
  });
  EXPECT_FALSE(finished);
  EXPECT_LT(rounds, 100000);
  // Work that never asks runs to its end.
  EXPECT_TRUE(RunWithProgress("Quick", "Quick work", [] {}));
}

} // namespace
} // namespace tov::test
