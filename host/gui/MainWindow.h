#pragma once
#include "host/framework/Analysis.h"
#include "host/gui/MapCanvas.h"
#include "host/session/HostTaskRun.h"

#include <QMainWindow>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QTreeWidget;
class QTreeWidgetItem;

namespace tov {

class DatasetMenu;

// The host's window: the focus map on a canvas, the layer tree, the map
// tools and the Analysis menu. Every change is saved to the document at once.
class MainWindow : public QMainWindow {
public:
  enum class Tool { ZoomIn, ZoomOut, Pan, Select, DrawPolygon };

  explicit MainWindow(AnalysisPtr analysis, QWidget* parent = nullptr);

  MapCanvas* Canvas() const { return m_canvas; }
  QTreeWidget* LayerTree() const { return m_tree; }
  void SetTool(Tool tool);
  // Runs Study Area Setup from its chooser (Analysis -> Study Area Setup...).
  void RunStudyAreaSetup();
  // What the layer tree's context menu offers on a study area layer.
  enum class StudyAreaAction { Open, Rename, Properties, Remove };
  void RunStudyAreaAction(StudyAreaAction action, const std::string& studyArea);
  // The context menu of the layer tree's item (null when it offers nothing).
  QMenu* ContextMenuFor(QTreeWidgetItem* item);
  void FullExtent();
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
  void Save();
  void ShowDrawProblems();
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
  DatasetMenu* m_datasets = nullptr;
  std::vector<LayerPtr> m_itemLayers;
  bool m_building = false;
  QString m_outcome; // the last setup's outcome, "" when there is nothing to tell
};

} // namespace tov
