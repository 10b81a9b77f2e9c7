#include "host/gui/DesktopSession.h"

#include "host/gui/MainWindow.h"
#include "host/gui/WindowSettings.h"
#include "platform/runtime/HostError.h"

#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>

namespace tov {

namespace {
bool HoldsAnalysis(const QString& folder) { return QFileInfo(QDir(folder).filePath("document.json")).isFile(); }

QString AskFolder(QWidget* parent, bool newAnalysis) {
  return QFileDialog::getExistingDirectory(
      parent, newAnalysis ? QObject::tr("New Analysis: choose or make an empty folder") : QObject::tr("Open Analysis"),
      QFileInfo(WindowSettings::LastAnalysis()).path());
}
} // namespace

DesktopSession::DesktopSession(Opener opener, WindowShown shown)
    : m_opener(std::move(opener)), m_shown(std::move(shown)), m_question(AskFolder),
      m_warning([](QWidget* parent, const QString& text) { QMessageBox::warning(parent, tr("Tovana"), text); }) {}

DesktopSession::~DesktopSession() {
  if (m_window) {
    WindowSettings::SaveLayout(*m_window);
    m_window->removeEventFilter(this);
    delete m_window;
  }
}

QString DesktopSession::StartFolder() {
  const QString last = WindowSettings::LastAnalysis();
  return !last.isEmpty() && HoldsAnalysis(last) ? last : WindowSettings::DefaultAnalysisFolder();
}

bool DesktopSession::Open(const QString& folder) {
  if (m_window && QDir::cleanPath(QFileInfo(folder).absoluteFilePath()) == m_folder) return true;
  AnalysisPtr analysis;
  try {
    analysis = m_opener(folder.toStdString());
  } catch (const HostError& e) {
    Warn(tr("The analysis %1 cannot be opened: %2").arg(folder, QString::fromStdString(e.Description())));
    return false;
  }
  auto* window = new MainWindow(analysis);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->installEventFilter(this);
  AddFileMenu(*window);
  // The new window takes the place of the one before, or of the last run's.
  if (m_window) WindowSettings::SaveLayout(*m_window);
  if (!WindowSettings::RestoreLayout(*window)) window->resize(1000, 680);
  QPointer<MainWindow> before = m_window;
  m_window = window;
  m_folder = QDir::cleanPath(QFileInfo(folder).absoluteFilePath());
  WindowSettings::Remember(folder);
  if (m_shown) m_shown(*window);
  window->show();
  // Closed after the new one is shown: closing the last window would end
  // the program.
  if (before) {
    before->removeEventFilter(this);
    before->close();
  }
  return true;
}

bool DesktopSession::AskOpen() {
  const QString folder = m_question(m_window, false);
  if (folder.isEmpty()) return false;
  if (!HoldsAnalysis(folder)) {
    Warn(tr("%1 holds no analysis (it has no document.json). To make one there, use File > New Analysis...")
             .arg(folder));
    return false;
  }
  return Open(folder);
}

bool DesktopSession::AskNew() {
  const QString folder = m_question(m_window, true);
  if (folder.isEmpty()) return false;
  if (HoldsAnalysis(folder)) {
    Warn(tr("%1 holds an analysis already. Open it with File > Open Analysis..., or choose an empty folder.")
             .arg(folder));
    return false;
  }
  if (!QDir(folder).isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System)) {
    Warn(tr("%1 is not empty. A new analysis needs a new or empty folder of its own.").arg(folder));
    return false;
  }
  return Open(folder);
}

void DesktopSession::AddFileMenu(MainWindow& window) {
  QMenuBar* bar = window.menuBar();
  auto* file = new QMenu(tr("&File"), &window);
  file->setObjectName("FileMenu");
  QAction* make = file->addAction(tr("&New Analysis..."));
  make->setObjectName("NewAnalysisAction");
  make->setShortcut(QKeySequence::New);
  connect(make, &QAction::triggered, this, [this] { AskNew(); });
  QAction* open = file->addAction(tr("&Open Analysis..."));
  open->setObjectName("OpenAnalysisAction");
  open->setShortcut(QKeySequence::Open);
  connect(open, &QAction::triggered, this, [this] { AskOpen(); });
  QMenu* recent = file->addMenu(tr("&Recent Analyses"));
  recent->setObjectName("RecentAnalysesMenu");
  connect(recent, &QMenu::aboutToShow, this, [this, recent] { FillRecent(recent); });
  FillRecent(recent);
  bar->insertMenu(bar->actions().isEmpty() ? nullptr : bar->actions().front(), file);
}

void DesktopSession::FillRecent(QMenu* menu) {
  menu->clear();
  for (const QString& folder : WindowSettings::RecentAnalyses()) {
    QAction* entry = menu->addAction(folder);
    entry->setEnabled(folder != m_folder);
    connect(entry, &QAction::triggered, this, [this, folder] {
      if (HoldsAnalysis(folder)) {
        Open(folder);
        return;
      }
      WindowSettings::Forget(folder);
      Warn(tr("The analysis %1 is no longer there; it is taken off the list.").arg(folder));
    });
  }
  if (menu->isEmpty()) menu->addAction(tr("(none yet)"))->setEnabled(false);
}

bool DesktopSession::eventFilter(QObject* watched, QEvent* event) {
  // The type first: a window being destroyed still sends events (children
  // removed) while it is no longer a MainWindow, and must not be cast.
  if (event->type() == QEvent::Close && watched == m_window) WindowSettings::SaveLayout(*m_window);
  return QObject::eventFilter(watched, event);
}

void DesktopSession::Warn(const QString& text) { m_warning(m_window, text); }

} // namespace tov
