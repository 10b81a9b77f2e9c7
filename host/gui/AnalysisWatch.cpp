#include "host/gui/AnalysisWatch.h"

#include "host/common/WorkCancel.h"
#include "host/framework/PgConnection.h"
#include "host/framework/SharedAnalysis.h"
#include "host/gui/MainWindow.h"
#include "platform/forms/Form.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/HostError.h"

#include <QApplication>
#include <QEvent>
#include <QSocketNotifier>
#include <QStatusBar>

namespace tov {

namespace {

std::string Quoted(const std::set<std::string>& names) {
  std::string text;
  for (const std::string& name : names) text += (text.empty() ? "\"" : ", \"") + name + "\"";
  return text;
}

} // namespace

AnalysisWatch::AnalysisWatch(MainWindow& window, Reopen reopen)
    : QObject(&window), m_window(window), m_reopen(std::move(reopen)) {
  m_seen = SeenIn(*m_window.Analysis());
  Listen();
  window.installEventFilter(this);
}

AnalysisWatch::~AnalysisWatch() {
  // The notifier goes before the connection whose socket it watches, and
  // the window, being destroyed, sends nothing more here.
  delete m_notifier;
  m_window.removeEventFilter(this);
}

AnalysisWatch::Seen AnalysisWatch::SeenIn(const Analysis& analysis) {
  Seen seen;
  try {
    if (StudyAreaCatalogPtr catalog = analysis.dataManager->GetStudyAreaCatalog())
      if (CollectionPtr names = catalog->Names())
        for (long i = 1; i <= names->Count(); ++i) seen.names.insert(names->Item(i).ToString());
    seen.current = analysis.extension->ExtensionProperties()->GetProperty(kCurrentExtentKey);
  } catch (const HostError&) {
    // What cannot be read counts as nothing: the news then say less.
  }
  return seen;
}

std::string AnalysisWatch::Describe(const Seen& before, const Seen& after) {
  std::set<std::string> added, deleted;
  for (const std::string& name : after.names)
    if (!before.names.count(name)) added.insert(name);
  for (const std::string& name : before.names)
    if (!after.names.count(name)) deleted.insert(name);
  std::string text;
  auto part = [&text](const std::string& words) { text += (text.empty() ? "" : "; ") + words; };
  if (!added.empty()) part((added.size() == 1 ? "added the study area " : "added the study areas ") + Quoted(added));
  if (!deleted.empty())
    part((deleted.size() == 1 ? "deleted the study area " : "deleted the study areas ") + Quoted(deleted));
  if (after.current != before.current && after.names.count(after.current))
    part("made \"" + after.current + "\" the current study area");
  return text;
}

void AnalysisWatch::Listen() {
  delete m_notifier;
  m_notifier = nullptr;
  m_listener.reset();
  const AnalysisPtr& analysis = m_window.Analysis();
  if (!analysis || !analysis->shared) return;
  try {
    const SharedLocation& location = analysis->shared->Location();
    m_listener = std::make_unique<PgConnection>(location.conninfo, location.shown);
    m_listener->Execute(std::string("LISTEN ") + SharedAnalysis::kChangesChannel, {}, "listening for other users' changes");
  } catch (const HostError& e) {
    // Without a listener the window still looks again when it gets the focus.
    m_listener.reset();
    m_window.statusBar()->showMessage(tr("Other users' changes show when the window is next used: %1")
                                          .arg(QString::fromStdString(e.Description())),
                                      8000);
    return;
  }
  m_notifier = new QSocketNotifier(m_listener->Socket(), QSocketNotifier::Read, this);
  connect(m_notifier, &QSocketNotifier::activated, this, [this] {
    TakeNotifications();
    ShowChangesIfIdle();
  });
}

void AnalysisWatch::TakeNotifications() {
  const AnalysisPtr& analysis = m_window.Analysis();
  if (!m_listener || !analysis || !analysis->shared) return;
  // This window's own saves come from its analysis's connection.
  int mine = 0;
  try {
    mine = analysis->shared->Connection().BackendPid();
  } catch (const HostError&) {
  }
  for (const PgConnection::Notification& n : m_listener->TakeNotifications())
    if (n.channel == SharedAnalysis::kChangesChannel && n.payload == analysis->shared->Location().schema &&
        n.backendPid != mine)
      m_pending = true;
}

bool AnalysisWatch::eventFilter(QObject* watched, QEvent* event) {
  // Getting the focus: a look at what came meanwhile; a listener that was
  // lost is made anew, and the analysis read afresh since it cannot tell.
  if (watched == &m_window && event->type() == QEvent::WindowActivate) {
    const AnalysisPtr& analysis = m_window.Analysis();
    if (analysis && analysis->shared && !m_listener) {
      Listen();
      if (m_listener) m_pending = true;
    }
    TakeNotifications();
    QMetaObject::invokeMethod(this, [this] { ShowChangesIfIdle(); }, Qt::QueuedConnection);
  }
  return QObject::eventFilter(watched, event);
}

bool AnalysisWatch::Idle() const {
  return !QApplication::activeModalWidget() && Form::ModalStack().empty() && !WorkInProgress();
}

bool AnalysisWatch::ShowChangesIfIdle() {
  if (!m_pending || !Idle()) return false;
  std::string changes;
  if (!ShowFresh(&changes)) return false;
  m_news = changes.empty() ? tr("Another user changed the analysis; it is shown as it is now.")
                           : tr("Other users %1.").arg(QString::fromStdString(changes));
  m_window.statusBar()->showMessage(m_news, 15000);
  return true;
}

bool AnalysisWatch::ShowFresh(std::string* changes) {
  AnalysisPtr fresh;
  try {
    fresh = m_reopen();
  } catch (const HostError& e) {
    m_window.statusBar()->showMessage(
        tr("Other users' changes cannot be read now: %1").arg(QString::fromStdString(e.Description())), 15000);
    return false;
  }
  m_pending = false;
  const Seen before = m_seen;
  m_seen = SeenIn(*fresh);
  *changes = Describe(before, m_seen);
  m_window.ShowAnalysis(fresh);
  // Everything that came up to now is in the fresh copy.
  if (m_listener) m_listener->TakeNotifications();
  return true;
}

void AnalysisWatch::Saved() {
  TakeNotifications();
  m_seen = SeenIn(*m_window.Analysis());
}

bool AnalysisWatch::AfterRefusedSave(const std::string& reason) {
  const AnalysisPtr& analysis = m_window.Analysis();
  if (!analysis || !analysis->shared) return false;
  std::string changes;
  if (!ShowFresh(&changes)) return false;
  m_news = QString::fromStdString(changes);
  MsgBox(reason + "\r\n\r\nThe window now shows the analysis as it is saved" +
             (changes.empty() ? std::string(".") : "; meanwhile other users " + changes + "."),
         vbExclamation, "Shared Analysis");
  return true;
}

} // namespace tov
