#include "ManageTestSupport.h"

#include "host/common/Paths.h"
#include "manage/ManageUtils.h"
#include "manage/RegisterManageClasses.h"
#include "platform/forms/Form.h"
#include "platform/forms/Presenter.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/SimpleRenderer.h"
#include "store/ModuleErrors.h"
#include "store/StudyAreaCreation.h"
#include "store/StudyAreaDataset.h"

#include <filesystem>

namespace tov::test {

namespace fs = std::filesystem;

void ConfirmRecorder::ShowModal(Form& form) {
  if (form.Name() == "DeleteConfirmSADialog") questions.push_back(form.Ctl("QuestionLabel")->Caption());
  ScriptedPresenter::ShowModal(form);
}

std::shared_ptr<ConfirmRecorder> UseConfirmScript(const std::string& json) {
  auto presenter = std::make_shared<ConfirmRecorder>();
  presenter->LoadScript(json);
  SetPresenter(presenter);
  return presenter;
}

std::string ConfirmTurn(const std::string& button) {
  return R"({"form": "DeleteConfirmSADialog", "actions": [{"click": ")" + button + R"("}]})";
}

void ManageTest::SetUp() {
  RegisterManageClasses();
  analysis = world.Open();
  UseScript("[]");
  // The store's handler is made on first use: make it the host's now, not a
  // recorder a test installs later.
  ModuleErrorSite(kTovSSAUtilsModule);
}

bool ManageTest::Create(const std::string& name, double west) {
  GeometryPtr polygon = Rectangle(west, 40.2, west + 0.5, 40.8, Geographic(4269));
  DataManagerPtr dataManager = analysis->dataManager;
  HostApplicationPtr application = analysis->application;
  HostDatasetPtr dataset = dataManager->DataSetByName("Test");
  TaskDescriptorPtr task = dataset->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.CurrentExtent");
  std::string saName = name, features;
  return CreateStudyArea(polygon, dataManager, application, saName, dataset, task, features);
}

StudyAreaCatalogPtr ManageTest::Catalog() { return analysis->dataManager->GetStudyAreaCatalog(); }
TextPropertySetPtr ManageTest::Options() { return analysis->extension->ExtensionOptions(); }
TextPropertySetPtr ManageTest::Properties() { return analysis->extension->ExtensionProperties(); }
MapDocumentPtr ManageTest::Document() { return analysis->application->Document(); }
MapPtr ManageTest::FocusMap() { return Document()->FocusMap(); }
std::string ManageTest::LayerFilePath(const std::string& name) { return Catalog()->Item(name)->FilePath(); }
std::string ManageTest::FolderOf(const std::string& name) {
  return fs::path(ToNativePath(LayerFilePath(name))).parent_path().string();
}
FeatureLayerPtr ManageTest::FileLayer(const std::string& name) { return OpenLayerFileLayer(LayerFilePath(name)); }

std::vector<LayerPtr> LayersNamed(const MapPtr& map, const std::string& name) {
  std::vector<LayerPtr> found;
  EnumLayerPtr layers = map->Layers(true);
  while (LayerPtr layer = layers->Next())
    if (layer->Name() == name) found.push_back(layer);
  return found;
}

long LayersShowing(const MapPtr& map, const FeatureLayerPtr& fileLayer) {
  long count = 0;
  EnumLayerPtr layers = map->Layers(true);
  while (LayerPtr layer = layers->Next())
    if (auto featureLayer = As<FeatureLayer>(layer))
      if (ShowSameData(featureLayer->FeatureClass(), fileLayer->FeatureClass())) ++count;
  return count;
}

double OutlineWidth(const LayerPtr& layer) {
  return As<FillSymbol>(As<FeatureLayer>(layer)->Renderer()->Symbol())->Outline()->Width();
}

GroupLayerPtr NewGroup(const std::string& name) {
  auto group = CreateAs<GroupLayer>(kGroupLayerProgId);
  group->SetName(name);
  return group;
}

std::set<std::string> FileNames(const std::string& nativeFolder) {
  std::set<std::string> names;
  std::error_code ec;
  if (!fs::is_directory(nativeFolder, ec)) return names;
  for (const auto& entry : fs::directory_iterator(nativeFolder)) names.insert(entry.path().filename().string());
  return names;
}

} // namespace tov::test
