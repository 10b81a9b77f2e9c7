#include "host/gui/WindowSettings.h"

#include "host/framework/SharedAnalysis.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QSettings>
#include <QSplitter>
#include <QStandardPaths>

namespace tov {

namespace {
const char kRecent[] = "analyses/recent";
const char kGeometry[] = "window/geometry";
const char kState[] = "window/state";
const char kSplit[] = "window/split";

QSettings Settings() { return QSettings(QSettings::NativeFormat, QSettings::UserScope, "tovana", "tovana"); }

QString Absolute(const QString& analysis) { return QDir::cleanPath(QFileInfo(analysis).absoluteFilePath()); }
} // namespace

QString WindowSettings::LastAnalysis() {
  const QStringList recent = RecentAnalyses();
  return recent.isEmpty() ? QString() : recent.front();
}

QStringList WindowSettings::RecentAnalyses() { return Settings().value(kRecent).toStringList(); }

void WindowSettings::Remember(const QString& analysis) {
  if (analysis.isEmpty() || SharedAnalysis::IsLocation(analysis.toStdString())) return;
  QStringList recent = RecentAnalyses();
  const QString path = Absolute(analysis);
  recent.removeAll(path);
  recent.prepend(path);
  while (recent.size() > kRecentCount) recent.removeLast();
  Settings().setValue(kRecent, recent);
}

void WindowSettings::Forget(const QString& analysis) {
  QStringList recent = RecentAnalyses();
  recent.removeAll(Absolute(analysis));
  Settings().setValue(kRecent, recent);
}

QString WindowSettings::DefaultAnalysisFolder() {
  return DefaultAnalysisFolder(QDir::homePath(), QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation));
}

QString WindowSettings::DefaultAnalysisFolder(const QString& home, const QString& documents) {
  // Without a Documents folder of its own (QStandardPaths then names the
  // home folder, or one that does not exist) the home folder gets one
  // folder, not two.
  if (!documents.isEmpty() && QDir::cleanPath(documents) != QDir::cleanPath(home) && QFileInfo(documents).isDir())
    return QDir(documents).filePath("Tovana/analysis");
  return QDir(home).filePath("tovana/analysis");
}

void WindowSettings::SaveLayout(const QMainWindow& window) {
  QSettings settings = Settings();
  settings.setValue(kGeometry, window.saveGeometry());
  settings.setValue(kState, window.saveState());
  if (auto* split = qobject_cast<QSplitter*>(window.centralWidget())) settings.setValue(kSplit, split->saveState());
}

bool WindowSettings::RestoreLayout(QMainWindow& window) {
  QSettings settings = Settings();
  if (!settings.contains(kGeometry)) return false;
  window.restoreGeometry(settings.value(kGeometry).toByteArray());
  window.restoreState(settings.value(kState).toByteArray());
  if (auto* split = qobject_cast<QSplitter*>(window.centralWidget()))
    split->restoreState(settings.value(kSplit).toByteArray());
  return true;
}

} // namespace tov
