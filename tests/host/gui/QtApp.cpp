#include "QtApp.h"

#include "host/gui/MapCanvas.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QKeyEvent>
#include <QWidget>

#include <cstdlib>

namespace tov::test {

QApplication& App() {
  static QApplication* app = [] {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "tovana-test";
    static char* argv[] = {name, nullptr};
    return new QApplication(argc, argv);
  }();
  return *app;
}

Watchdog::Watchdog(int milliseconds) {
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

Watchdog::~Watchdog() { m_timer.stop(); }

} // namespace tov::test
