#pragma once
#include "pages/WizardPage.h"
#include "platform/forms/Toolbar.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/HostApplication.h"
#include "platform/gis/MapControl.h"
#include "platform/runtime/Collection.h"

#include <string>
#include <vector>

namespace tov {

// What the two map pages share (the map page of regions picked on a map and
// the drawing page): a map control filled with the registered task's
// layers, a toolbar with the navigation tools and the label switch, the
// navigation buttons, and a layout that follows the window. The page adds
// its own tool ("SelectFeature", and on the drawing page "SelectByPolygon"
// and "SelectByCircle") and its zoom to what the user chose.
class MapPageFrame : public WizardPage {
public:
  HostApplicationPtr m_pApplication;
  DataManagerPtr m_pDataManager;
  HostDatasetPtr m_pDataSet;
  TaskDescriptorPtr m_pSSATask;

  // The smallest window, in twips.
  static constexpr float kMinWidth = 6510;
  static constexpr float kMinHeight = 4860;

  // The page's map control.
  MapControlPtr Map();

protected:
  // Adds Frame1, the navigation buttons, MapControl, Toolbar1 (with the
  // drawing tools when drawingTools) and ImageList1 in that form order.
  MapPageFrame(std::string name, long layoutBase, std::vector<std::string> layoutOrder, bool drawingTools);

  ToolbarPtr Tools();
  // Whether the toolbar button of key is the pressed one.
  bool Pressed(const std::string& key);

  // The task's layers, first entry at the bottom, with the label register;
  // then the full extent. A layer that cannot be made ends the loading.
  void LoadTaskLayers();
  // Labels on for the registered layers while ShowLabels is pressed, off
  // otherwise; then the map is redrawn.
  void ApplyLabels();
  // The mouse pointer with a cursor of the resources (101 select, 102 zoom
  // in, 103 zoom out).
  void UseCursor(const char* cursorId);

  void Form_Resize() override;
  // The page's own tools and its reaction to a tool button.
  virtual void SelectFeature(int shift, double mapX, double mapY) = 0;
  virtual void ZoomToSelection() = 0;
  virtual void ToolChosen(const std::string& key) = 0;
  virtual void DrawTool(const std::string& key) { (void)key; }

  CollectionPtr m_labelRegister;

private:
  void Toolbar1_ButtonClick(const std::string& key);
  void MapControl_OnMouseDown(int shift, double mapX, double mapY);
  void ZoomOut();
};

} // namespace tov
