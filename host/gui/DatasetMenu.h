#pragma once
#include "host/framework/Analysis.h"

#include <QObject>

#include <string>

class QMenu;

namespace tov {

class MainWindow;

// The Analysis menu's data set entries: the "Data Set" submenu, listing the
// installed data sets with the current one checked (choosing another
// switches the analysis to it: its methods, its map layers), and "New Data
// Set from File...", the new data set dialog, after which the analysis
// switches to the data set made.
class DatasetMenu : public QObject {
public:
  DatasetMenu(QMenu* analysisMenu, MainWindow* window, AnalysisPtr analysis);

  QMenu* Submenu() const { return m_submenu; }
  // Lists the data sets again (each time the submenu opens).
  void Rebuild();
  // Makes the data set current; a failure is told in a message box.
  bool Switch(const std::string& name);
  // Shows the new data set dialog; true when a data set was made.
  bool NewFromFile();

private:
  MainWindow* m_window;
  AnalysisPtr m_analysis;
  QMenu* m_submenu;
};

} // namespace tov
