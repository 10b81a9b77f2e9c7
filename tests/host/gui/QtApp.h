#pragma once
// The Qt application of a test program that shows windows (offscreen).
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

} // namespace tov::test
