#include "ManageTest.h"

#include "host/common/Paths.h"
#include "manage/ManageUtils.h"
#include "manage/RegisterManageClasses.h"
#include "platform/forms/Form.h"
#include "platform/gis/EnumLayer.h"
#include "store/ModuleErrors.h"
#include "store/StudyAreaDataset.h"

#include <filesystem>

namespace tov::test {

namespace fs = std::filesystem;

ScriptedPresenterPtr ManageTest::UseConfirmScript(const std::string& json) {
  questions.clear();
  return presenter = WatchScript(json, [this](Form& form) {
           if (form.Name() == "DeleteConfirmSADialog") questions.push_back(form.Ctl("QuestionLabel")->Caption());
         });
}

std::string ConfirmTurn(const std::string& button) { return ClickTurn("DeleteConfirmSADialog", button); }

void ManageTest::SetUp() {
  RegisterManageClasses();
  OpenAnalysis();
  // The store's handler is made on first use: make it the host's now, not a
  // recorder a test installs later.
  ModuleErrorSite(kTovSSAUtilsModule);
}

std::string ManageTest::LayerFilePath(const std::string& name) { return Catalog()->Item(name)->FilePath(); }
std::string ManageTest::FolderOf(const std::string& name) {
  return fs::path(ToNativePath(LayerFilePath(name))).parent_path().string();
}
FeatureLayerPtr ManageTest::FileLayer(const std::string& name) { return OpenLayerFileLayer(LayerFilePath(name)); }

long LayersShowing(const MapPtr& map, const FeatureLayerPtr& fileLayer) {
  long count = 0;
  EnumLayerPtr layers = map->Layers(true);
  while (LayerPtr layer = layers->Next())
    if (auto featureLayer = As<FeatureLayer>(layer))
      if (ShowSameData(featureLayer->FeatureClass(), fileLayer->FeatureClass())) ++count;
  return count;
}

std::set<std::string> FileNames(const std::string& nativeFolder) {
  std::set<std::string> names;
  std::error_code ec;
  if (!fs::is_directory(nativeFolder, ec)) return names;
  for (const auto& entry : fs::directory_iterator(nativeFolder)) names.insert(entry.path().filename().string());
  return names;
}

} // namespace tov::test
