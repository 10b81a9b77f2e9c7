#pragma once
#include "pages/mappage/MapPageFrame.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureLayer.h"

#include <string>

namespace tov {

// The map page of regions picked on a map: the task's layers in a map on
// which the user selects regions of the main layer by clicking or dragging
// (shift adds); Next needs a selection; "Show List" switches to the list
// page. The chosen names travel between the two pages as "SelectedItems".
class SelectFromMapDialog : public MapPageFrame {
public:
  SelectFromMapDialog();

  std::string m_sMainLayerName;
  std::string m_sListFieldName;
  bool m_ChangeViews = false;

  void ReadFromPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void WriteToPropertySet(const TaskPropertySetPtr& pPropertySet) override;
  void InitializeDialog() override;

  // The page's map (its map control's).
  MapPtr PageMap();

protected:
  void Form_Load() override;
  void Form_Activate() override;
  void SelectFeature(int shift, double mapX, double mapY) override;
  void ZoomToSelection() override;
  void ToolChosen(const std::string& key) override;

private:
  void PrepareMainLayer();
  void UpdateNextButton();
  void ToListButton_Click();

  CollectionPtr m_savedNames;
  bool m_namesFound = false;
  FeatureLayerPtr m_mainLayer;
  EnvelopePtr m_zoomEnvelope;
};

} // namespace tov
