#pragma once
#include "host/framework/Analysis.h"
#include "host/gui/MapCanvas.h"
#include "host/session/HostTaskRun.h"

#include <QMainWindow>

#include <functional>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace tov {

class AnalysisWatch;
class DatasetMenu;
class IdentifyResults;
class StatusReadouts;
class StudyAreaCommands;
class StudyAreasPanel;

// The host's window: the focus map on a canvas, the layer tree with the
// Study Areas panel under it, the map tools, the Analysis and Map menus and
// the status bar's readouts. Every change is saved to the document at once.
class MainWindow : public QMainWindow {
public:
  enum class Tool { ZoomIn, ZoomOut, Pan, Identify, Select, DrawPolygon };

  explicit MainWindow(AnalysisPtr analysis, QWidget* parent = nullptr);

  const AnalysisPtr& Analysis() const { return m_analysis; }
  MapCanvas* Canvas() const { return m_canvas; }
  QTreeWidget* LayerTree() const { return m_tree; }
  StudyAreasPanel* StudyAreas() const { return m_studyAreas; }
  StudyAreaCommands* Commands() const { return m_commands; }
  StatusReadouts* Readouts() const { return m_readouts; }
  // The Identify tool's window (null before its first click).
  IdentifyResults* IdentifyWindow() const { return m_identify; }
  void SetTool(Tool tool);
  // Runs Study Area Setup from its chooser (Analysis -> Study Area Setup...).
  void RunStudyAreaSetup();
  // The context menu of the layer tree's item: a study area's commands
  // (null when it offers nothing).
  QMenu* ContextMenuFor(QTreeWidgetItem* item);
  // After a command changed study areas outside a wizard run of the window:
  // saved and shown anew, as after a run.
  void AfterStudyAreaRun(const HostTaskRunResult& result);
  // Saves the analysis; a failure is told.
  void Save();
  // The data set's initial extent.
  void FullExtent();
  // The features under a point (map coordinates) in the Identify window.
  void Identify(double mapX, double mapY);
  // Shows another analysis, or a fresh copy of this one, keeping the part
  // of the map in view.
  void ShowAnalysis(AnalysisPtr analysis);
  // A shared analysis stays live: what other users save shows in the
  // window (reopen gives a fresh copy of it). Nothing for a folder.
  void WatchForOthersChanges(std::function<AnalysisPtr()> reopen);
  AnalysisWatch* Watch() const { return m_watch; }
  void ClearSelection();
  // Rebuilds the layer tree and the status bar from the document.
  void Reload();
  // The status bar: how the last study area setup ended, and the current
  // study area.
  QString StatusText() const;
  // The status bar's note of the layers the map could not draw ("" when
  // it drew them all).
  QString DrawProblemsText() const;
  // Analysis > Data Set and New Data Set from File...
  DatasetMenu* Datasets() const { return m_datasets; }

private:
  void OnMapMouseDown(int button, int shift, double x, double y, double mapX, double mapY);
  void AddLayerItem(const LayerPtr& layer, QTreeWidgetItem* parent, const std::string& current);
  void LayerItemChanged(QTreeWidgetItem* item);
  void ShowDrawProblems();
  // Greys the layers the map does not draw at this scale.
  void ShowScaleRanges(double scale);
  std::string CurrentStudyArea() const;
  void AfterSetup(const HostTaskRunResult& result, bool tell);

  AnalysisPtr m_analysis;
  HostMapControlPtr m_control;
  MapCanvas* m_canvas = nullptr;
  QTreeWidget* m_tree = nullptr;
  QLabel* m_status = nullptr;
  QLabel* m_drawProblems = nullptr;
  Tool m_tool = Tool::ZoomIn;
  QActionGroup* m_tools = nullptr;
  StudyAreaCommands* m_commands = nullptr;
  StudyAreasPanel* m_studyAreas = nullptr;
  StatusReadouts* m_readouts = nullptr;
  IdentifyResults* m_identify = nullptr;
  AnalysisWatch* m_watch = nullptr;
  DatasetMenu* m_datasets = nullptr;
  std::vector<LayerPtr> m_itemLayers;
  bool m_building = false;
  QString m_outcome; // the last setup's outcome, "" when there is nothing to tell
};

} // namespace tov
