#include "ZipTestSupport.h"

#include "host/common/Paths.h"
#include "platform/forms/Form.h"
#include "platform/forms/Presenter.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/Workspace.h"
#include "platform/gis/WorkspaceFactory.h"

namespace tov::test {

const std::vector<std::string> kZipAreaCodes = {"10001", "10002", "10003", "11201"};

namespace {

// The sample data set's settings of the method.
const std::map<std::string, std::string> kSampleSettings = {
    {"MainLayer", "ZIP areas"},
    {"DSMainLayer", "ZIP areas"},
    {"DSMainLayerIDFieldName", "ZIP"},
    {"ZipCodeRules", "Type five-digit ZIP codes separated by blanks, commas or semicolons. End a code of at least "
                     "two digits with * or % to take every ZIP code that begins with it."},
    {"ValidExampleText", "Valid: 10001, 10002; 100*"},
    {"InvalidExampleText", "Not valid: 1000, 1*, 10A01"},
    {"CheckZipsValidity", "True"},
    {"NumericZips", "True"},
    {"ValueLength", "5"},
    {"NumericPrefixLeastLength", "2"},
};

std::string MethodJson(const std::map<std::string, std::string>& settings) {
  std::string properties;
  for (const auto& [key, value] : settings)
    properties += (properties.empty() ? "\"" : ", \"") + key + "\": \"" + value + "\"";
  return R"({ "name": "SetupStudyArea.WildCard", "caption": "A list of ZIP codes", "properties": { )" + properties +
         R"( }, "layers": [], "children": [] })";
}

PolygonPtr SquareOf(size_t index) { return Square(-74.0 + 0.1 * index, 40.6, 0.1, Geographic(4269)); }

void WriteZipAreas(const std::string& nativeDatasetFolder, const std::vector<std::string>& codes) {
  auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
  WorkspacePtr workspace = factory->OpenFromFile(ToPlatformPath(nativeDatasetFolder + "/test.gpkg"));
  FieldsPtr fields = PolygonFields(Geographic(4269), true);
  fields->AddField(TextField("ZIP", 5));
  FeatureClassPtr areas =
      workspace->CreateFeatureClass("zip_areas", fields, kFeatureClassClsid, "", featureTypeSimple, "Shape", "");
  for (size_t i = 0; i < codes.size(); ++i) {
    FeaturePtr feature = areas->CreateFeature();
    feature->SetShape(SquareOf(i));
    feature->SetValue(areas->FindField("ZIP"), codes[i]);
    feature->Store();
  }
}

} // namespace

void ZipPageRecorder::ShowModal(Form& form) {
  if (form.Name() == "SelectByZipCodesDialog") {
    texts.push_back(form.Ctl("ZipCodesText")->Text());
    nextEnabled.push_back(form.Ctl("NextButton")->Enabled());
    rules.push_back(form.Ctl("ZipCodeRulesLabel")->Caption());
  }
  ScriptedPresenter::ShowModal(form);
}

std::shared_ptr<ZipPageRecorder> UseZipScript(const std::string& turns) {
  auto presenter = std::make_shared<ZipPageRecorder>();
  presenter->LoadScript("[" + turns + "]");
  SetPresenter(presenter);
  return presenter;
}

std::string ZipTurn(const std::string& text, const std::string& button) {
  return R"({"form": "SelectByZipCodesDialog", "actions": [{"set": "ZipCodesText", "text": ")" + text +
         R"("}, {"click": ")" + button + R"("}]})";
}

PolygonPtr ZipSquare(const std::string& code, const std::vector<std::string>& codes) {
  for (size_t i = 0; i < codes.size(); ++i)
    if (codes[i] == code) {
      PolygonPtr square = SquareOf(i);
      square->Project(Projected(5070));
      return square;
    }
  return nullptr;
}

void ZipMethodTest::SetUp() { UseSettings({}); }

void ZipMethodTest::UseSettings(const std::map<std::string, std::string>& overrides,
                                const std::vector<std::string>& codes) {
  std::map<std::string, std::string> settings = kSampleSettings;
  for (const auto& [key, value] : overrides) settings[key] = value;
  TestWorldOptions options;
  options.extraLayers = R"({ "name": "ZIP areas", "sourceName": "zip_areas", "mapLayerName": "ZIP areas" })";
  options.extraMethods = MethodJson(settings);
  analysis.reset();
  world = std::make_unique<TestWorld>(options);
  WriteZipAreas(world->DatasetFolder(), codes);
  analysis = world->Open();
}

int32_t ZipMethodTest::RunPages(const TaskPropertySetPtr& propertySet) {
  HostDatasetPtr dataset = analysis->dataManager->DataSetByName("Test");
  task = std::dynamic_pointer_cast<TovSSASelZipCodesTask>(CreateObject("TovSSA.TovSSASelZipCodesTask"));
  Variant value(dataset->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.WildCard"));
  task->SetParam("SSATask", value);
  value = Variant(dataset);
  task->SetParam("DataSet", value);
  value = Variant(propertySet ? propertySet : CreateAs<TaskPropertySet>("TovKernel.TaskPropertySet"));
  task->SetParam("PropertySet", value);
  task->Init(analysis->dataManager, analysis->application);
  return task->DoParamSelector();
}

HostTaskRunResult ZipMethodTest::RunAll() { return RunHostTask(*analysis, "TovSSA.TovSSASelZipCodesTask"); }

std::string ZipMethodTest::RecordProperty(const std::string& name, const std::string& key) {
  return analysis->dataManager->GetStudyAreaCatalog()->Item(name)->RecordProperties()->GetProperty(key);
}

} // namespace tov::test
