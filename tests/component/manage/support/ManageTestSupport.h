#pragma once
#include "support/ComponentTestSupport.h"

#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"

#include <set>
#include <string>
#include <vector>

namespace tov::test {

// A scripted presenter that also keeps the question of every delete
// confirmation shown.
class ConfirmRecorder : public ScriptedPresenter {
public:
  void ShowModal(Form& form) override;
  std::vector<std::string> questions;
};

std::shared_ptr<ConfirmRecorder> UseConfirmScript(const std::string& json);

// The turn answering one delete confirmation with the button given.
std::string ConfirmTurn(const std::string& button);

// An analysis on the test data set with the management classes registered
// and an empty script; study areas are made through the real store.
class ManageTest : public ::testing::Test {
protected:
  void SetUp() override;

  // A rectangle 0.5 degrees wide from west, stored as study area name.
  bool Create(const std::string& name, double west);

  StudyAreaCatalogPtr Catalog();
  TextPropertySetPtr Options();
  TextPropertySetPtr Properties();
  MapDocumentPtr Document();
  MapPtr FocusMap();
  std::string LayerFilePath(const std::string& name); // platform form
  std::string FolderOf(const std::string& name);      // native
  // The study area's layer as saved in its layer file.
  FeatureLayerPtr FileLayer(const std::string& name);

  TestWorld world;
  AnalysisPtr analysis;
};

// Layers of the map (every level) whose name is exactly name.
std::vector<LayerPtr> LayersNamed(const MapPtr& map, const std::string& name);
// Feature layers of the map (every level) that show the study area's data.
long LayersShowing(const MapPtr& map, const FeatureLayerPtr& fileLayer);
double OutlineWidth(const LayerPtr& layer);
GroupLayerPtr NewGroup(const std::string& name);
// Names of the files in a folder (not recursive); empty when it is missing.
std::set<std::string> FileNames(const std::string& nativeFolder);

} // namespace tov::test
