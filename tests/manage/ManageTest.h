#pragma once
// The management tests' fixture: the classes registered, an analysis, delete
// confirmations noted.
#include "AnalysisViews.h"
#include "Recorders.h"
#include "WorldTest.h"

#include "host/common/Paths.h"
#include "manage/ManageUtils.h"
#include "manage/RegisterManageClasses.h"
#include "store/ModuleErrors.h"
#include "store/StudyAreaDataset.h"

namespace tov::test {

// The turn answering one delete confirmation with the button given.
inline std::string ConfirmTurn(const std::string& button) { return ClickTurn("DeleteConfirmSADialog", button); }

class ManageTest : public WorldTest {
protected:
  void SetUp() override {
    RegisterManageClasses();
    OpenAnalysis();
    // The store's handler is made on first use: make it the host's now, not
    // a recorder a test installs later.
    ModuleErrorSite(kTovSSAUtilsModule);
  }
  // Installs the script (JSON), noting the question of every delete
  // confirmation shown in `questions`.
  ScriptedPresenterPtr UseConfirmScript(const std::string& json) {
    questions.clear();
    return presenter = WatchScript(json, [this](Form& form) {
             if (form.Name() == "DeleteConfirmSADialog") questions.push_back(form.Ctl("QuestionLabel")->Caption());
           });
  }
  // The script answering the delete confirmations with these buttons in turn.
  ScriptedPresenterPtr Answer(std::initializer_list<const char*> buttons) {
    std::string turns;
    for (const char* button : buttons) turns += (turns.empty() ? "" : ",") + ConfirmTurn(button);
    return UseConfirmScript("[" + turns + "]");
  }
  // A management function (ProgID) given the application, the data manager and `more`.
  ITovFunctionPtr NewFunction(const std::string& progId, std::initializer_list<std::pair<const char*, Variant>> more) {
    auto function = CreateAs<ITovFunction>(progId);
    SetParams(*function, {{"Application", Variant(analysis->application)}, {"DataManager", Variant(analysis->dataManager)}});
    SetParams(*function, more);
    return function;
  }

  // Stores each as a current-extent study area, 0.4 degrees apart from -74.6 east.
  bool StoreAll(std::initializer_list<const char*> names) {
    double west = -74.6;
    for (const char* name : names)
      if (!Store(name, std::exchange(west, west + 0.4))) return false;
    return true;
  }

  std::string LayerFilePath(const std::string& name) { return Catalog()->Item(name)->FilePath(); } // platform form
  std::string FolderOf(const std::string& name) { return fs::path(ToNativePath(LayerFilePath(name))).parent_path(); }
  // The study area's layer as saved in its layer file.
  FeatureLayerPtr FileLayer(const std::string& name) { return OpenLayerFileLayer(LayerFilePath(name)); }
  // The one message is that the layer file (platform path) is missing,
  // naming it as people read it (a shared analysis's: its location and the
  // path inside it).
  void ExpectMissingFileTold(const std::string& path) {
    EXPECT_EQ(ShownMessages(*presenter),
              std::vector<std::string>{MessageOf("critical", "Tovana",
                                                 "Tovana was unable to locate the following file: \r\n" + ShownPath(path))});
    EXPECT_FALSE(Has(ShownPath(path), "\\"));
    if (!world->Shared()) { EXPECT_EQ(ShownPath(path), ToNativePath(path)); }
  }

  // The current study area, its group layer and name as the analysis properties hold them.
  std::vector<std::string> CurrentSettings() const {
    TextPropertySetPtr properties = Properties();
    return {properties->GetProperty("CurrentExtent"), properties->GetProperty("Group Layer For Analysis"),
            properties->GetProperty("Study Area Name")};
  }

  std::vector<std::string> questions;
};

// Feature layers of the map (every level) that show the study area's data.
inline long LayersShowing(const MapPtr& map, const FeatureLayerPtr& fileLayer) {
  long count = 0;
  EnumLayerPtr layers = map->Layers(true);
  while (LayerPtr layer = layers->Next())
    if (auto featureLayer = As<FeatureLayer>(layer))
      if (ShowSameData(featureLayer->FeatureClass(), fileLayer->FeatureClass())) ++count;
  return count;
}

// How many layers of the map (every level) carry each name.
inline std::vector<size_t> LayerCounts(const MapPtr& map, std::initializer_list<std::string> names) {
  std::vector<size_t> counts;
  for (const std::string& name : names) counts.push_back(LayersNamed(map, name).size());
  return counts;
}

// Names of the files in a folder (not recursive); empty when it is missing.
inline std::set<std::string> FileNames(const std::string& nativeFolder) {
  std::set<std::string> names;
  std::error_code ec;
  if (!fs::is_directory(nativeFolder, ec)) return names;
  for (const auto& entry : fs::directory_iterator(nativeFolder)) names.insert(entry.path().filename().string());
  return names;
}

} // namespace tov::test
