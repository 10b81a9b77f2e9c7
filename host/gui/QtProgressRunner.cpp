#include "host/gui/QtProgressRunner.h"

#include "host/common/WorkCancel.h"

#include <QApplication>
#include <QProgressDialog>

namespace tov {

namespace {

// The dialog of one piece of long work, and the poll that keeps the window
// responsive while it runs.
class ProgressShown {
public:
  ProgressShown(const std::string& title, const std::string& message)
      : m_dialog(QString::fromStdString(message), QObject::tr("Cancel"), 0, 0, QApplication::activeWindow()),
        m_poll([this] { return Poll(); }) {
    m_dialog.setObjectName("ProgressDialog");
    m_dialog.setWindowTitle(QString::fromStdString(title));
    m_dialog.setWindowModality(Qt::ApplicationModal);
    m_dialog.setAutoClose(false);
    m_dialog.setAutoReset(false);
    // Short work shows no dialog at all.
    m_dialog.setMinimumDuration(300);
    m_dialog.setValue(0);
  }

  // Between steps and inside long work: the window's events are handled
  // (the user's only once the dialog, modal, keeps them to itself).
  bool Poll() {
    QApplication::processEvents(m_dialog.isVisible() ? QEventLoop::AllEvents : QEventLoop::ExcludeUserInputEvents);
    return m_dialog.wasCanceled();
  }

private:
  QProgressDialog m_dialog;
  CancelPoll m_poll;
};

} // namespace

void QtProgressRunner::Run(const ITovFunctionPtr& function, const std::string& title, const std::string& message,
                           const std::string&, int64_t) {
  if (!function) return;
  ProgressShown progress(title, message);
  // A function that cannot prepare its work has nothing to step through.
  if (!function->Start()) return;
  while (!WorkCancelled() && function->DoStep()) {
  }
}

bool RunWithProgress(const std::string& title, const std::string& message, const std::function<void()>& work) {
  ProgressShown progress(title, message);
  work();
  return !WorkCancelled();
}

} // namespace tov
