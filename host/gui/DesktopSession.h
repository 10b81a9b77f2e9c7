#pragma once
#include "host/framework/Analysis.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>

class QMenu;
class QWidget;

namespace tov {

class MainWindow;

// The window as a desktop program: one analysis at a time in the main
// window, File > New Analysis..., Open Analysis... and Recent Analyses, each
// opening the analysis in a window that takes the current one's place (with
// its size and layout). The analyses shown and the layout are remembered
// (WindowSettings).
class DesktopSession : public QObject {
public:
  // Opens (or makes) the analysis in a folder; failures raise HostError.
  using Opener = std::function<AnalysisPtr(const std::string& folder)>;
  // Told of each new window (the presenter's parent follows it).
  using WindowShown = std::function<void(MainWindow& window)>;
  // How the File menu asks for a folder; "" = the user cancelled.
  using FolderQuestion = std::function<QString(QWidget* parent, bool newAnalysis)>;
  using Warning = std::function<void(QWidget* parent, const QString& text)>;

  DesktopSession(Opener opener, WindowShown shown);
  ~DesktopSession() override;

  // The analysis the window opens at start: the last one shown while it is
  // still there, else the default folder (made on first use).
  static QString StartFolder();

  // Opens the analysis of the folder in the window. False (the current
  // window stays as it was) when it cannot be, after a warning saying why.
  bool Open(const QString& folder);
  // File > Open Analysis...: a folder that holds an analysis.
  bool AskOpen();
  // File > New Analysis...: a new or empty folder, where a new analysis is
  // made.
  bool AskNew();

  MainWindow* Window() const { return m_window; }
  const QString& Folder() const { return m_folder; }
  void SetFolderQuestion(FolderQuestion question) { m_question = std::move(question); }
  void SetWarning(Warning warning) { m_warning = std::move(warning); }

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

private:
  void AddFileMenu(MainWindow& window);
  void FillRecent(QMenu* menu);
  void Warn(const QString& text);

  Opener m_opener;
  WindowShown m_shown;
  FolderQuestion m_question;
  Warning m_warning;
  QPointer<MainWindow> m_window;
  QString m_folder;
};

} // namespace tov
