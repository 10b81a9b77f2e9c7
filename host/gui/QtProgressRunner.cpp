#include "host/gui/QtProgressRunner.h"

#include <QApplication>
#include <QProgressDialog>

namespace tov {

void QtProgressRunner::Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
                           const std::string&, int64_t) {
  if (!function) return;
  QProgressDialog dialog(QString::fromStdString(message), QString(), 0, 0, QApplication::activeWindow());
  dialog.setWindowTitle(QString::fromStdString(title));
  dialog.setWindowModality(Qt::ApplicationModal);
  dialog.setMinimumDuration(300);
  dialog.setValue(0);
  // A function that cannot prepare its work has nothing to step through.
  if (!function->Start()) return;
  while (function->DoStep()) QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace tov
