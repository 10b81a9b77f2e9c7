#pragma once
#include "host/framework/Analysis.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>
#include <set>
#include <string>

class QSocketNotifier;

namespace tov {

class MainWindow;
class PgConnection;

// Keeps a shared analysis live in the window. It listens on the database
// for the changes other users publish (and looks again whenever the window
// gets the focus); when one comes and the window is idle (no dialog open,
// no work running), the window shows a fresh copy of the analysis and the
// status bar says what the others changed. After a save the database
// refused (another user's change collided), the window shows a fresh copy
// at once and a message says why the save was refused and what had changed.
class AnalysisWatch : public QObject {
public:
  using Reopen = std::function<AnalysisPtr()>;
  AnalysisWatch(MainWindow& window, Reopen reopen);
  ~AnalysisWatch() override;

  // The window saved: what it shows is what the analysis holds.
  void Saved();
  // After a save the database refused with reason: shows a fresh copy and
  // tells what changed. False when there is no fresh copy to show (the
  // database cannot be reached): the caller tells the failure itself.
  bool AfterRefusedSave(const std::string& reason);
  // Shows the changes others made, when some came and the window is idle.
  // True when it showed a fresh copy.
  bool ShowChangesIfIdle();
  // Whether others' changes wait to be shown.
  bool Pending() const { return m_pending; }
  // What the last fresh copy changed, as the status bar said it.
  const QString& LastNews() const { return m_news; }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  struct Seen {
    std::set<std::string> names;
    std::string current;
  };
  static Seen SeenIn(const Analysis& analysis);
  static std::string Describe(const Seen& before, const Seen& after);
  void Listen();
  void TakeNotifications();
  bool Idle() const;
  // Shows a fresh copy; the changes since the last one seen ("" when none
  // could be read).
  bool ShowFresh(std::string* changes);

  MainWindow& m_window;
  Reopen m_reopen;
  std::unique_ptr<PgConnection> m_listener;
  QSocketNotifier* m_notifier = nullptr;
  Seen m_seen;
  bool m_pending = false;
  QString m_news;
};

} // namespace tov
