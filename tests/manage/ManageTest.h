#pragma once
// The management tests' fixture: an analysis on the test data set with the
// management classes registered, study areas made through the real store,
// and delete confirmations noted.
#include "AnalysisViews.h"
#include "WorldTest.h"

#include <set>
#include <string>
#include <vector>

namespace tov::test {

// The turn answering one delete confirmation with the button given.
std::string ConfirmTurn(const std::string& button);

class ManageTest : public WorldTest {
protected:
  void SetUp() override;
  // Installs the script (JSON), noting the question of every delete
  // confirmation shown in `questions`.
  ScriptedPresenterPtr UseConfirmScript(const std::string& json);

  std::string LayerFilePath(const std::string& name); // platform form
  std::string FolderOf(const std::string& name);      // native
  // The study area's layer as saved in its layer file.
  FeatureLayerPtr FileLayer(const std::string& name);

  std::vector<std::string> questions;
};

// Feature layers of the map (every level) that show the study area's data.
long LayersShowing(const MapPtr& map, const FeatureLayerPtr& fileLayer);
// Names of the files in a folder (not recursive); empty when it is missing.
std::set<std::string> FileNames(const std::string& nativeFolder);

} // namespace tov::test
