#pragma once
#include <QString>
#include <QStringList>

class QMainWindow;

namespace tov {

// What the window remembers between runs, in the user's settings
// (QSettings: $XDG_CONFIG_HOME/tovana/tovana.conf): the analysis it showed
// last, the recent ones, and its size and layout. Only analysis folders are
// remembered; a shared analysis's location may hold a password.
class WindowSettings {
public:
  static constexpr int kRecentCount = 8;

  // The analysis the window showed last; "" when none was remembered.
  static QString LastAnalysis();
  // The recent analyses, the last one first.
  static QStringList RecentAnalyses();
  // Puts an analysis folder first among the recent ones (as an absolute
  // path); a shared analysis is not remembered.
  static void Remember(const QString& analysis);
  static void Forget(const QString& analysis);

  // Where a user's first analysis goes: Tovana/analysis in the Documents
  // folder when there is one, else tovana/analysis in the home folder.
  static QString DefaultAnalysisFolder();
  static QString DefaultAnalysisFolder(const QString& home, const QString& documents);

  // The window's size, position, tool bars and the split between layers
  // and map; RestoreLayout returns false when nothing was saved.
  static void SaveLayout(const QMainWindow& window);
  static bool RestoreLayout(QMainWindow& window);
};

} // namespace tov
