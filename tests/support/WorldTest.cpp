#include "WorldTest.h"

#include "Program.h"

#include "host/common/Paths.h"
#include "host/framework/MethodDescriptor.h"
#include "host/studyareas/RegisterHostStudyAreaClasses.h"
#include "host/studyareas/StudyAreaRebuilder.h"
#include "store/StudyAreaCreation.h"

namespace tov::test {

WorldTest::~WorldTest() {
  if (!m_rebuiltMethod.empty()) RegisterStudyAreaRebuilder(m_rebuiltMethod, nullptr);
}

void WorldTest::OpenAnalysis() {
  analysis = world->Open();
  presenter = UseScript("[]");
}

void WorldTest::UseWorld(const TestWorldOptions& options) {
  analysis.reset();
  world = std::make_unique<TestWorld>(options);
  OpenAnalysis();
}

HostDatasetPtr WorldTest::Dataset() const { return analysis->dataManager->DataSetByName("Test"); }
TaskDescriptorPtr WorldTest::Method(const std::string& name) const { return FindMethodDescriptor(Dataset(), name); }
StudyAreaCatalogPtr WorldTest::Catalog() const { return analysis->dataManager->GetStudyAreaCatalog(); }
TextPropertySetPtr WorldTest::Options() const { return analysis->extension->ExtensionOptions(); }
TextPropertySetPtr WorldTest::Properties() const { return analysis->extension->ExtensionProperties(); }
MapDocumentPtr WorldTest::Document() const { return analysis->application->Document(); }
MapPtr WorldTest::FocusMap() const { return Document()->FocusMap(); }
std::string WorldTest::CurrentStudyArea() const { return Properties()->GetProperty("CurrentExtent"); }
PolygonPtr WorldTest::CurrentShape() const { return As<Polygon>(analysis->extension->CurrentStudyAreaGeometry()); }

std::string WorldTest::RecordProperty(const std::string& name, const std::string& key) const {
  return Catalog()->Item(name)->RecordProperties()->GetProperty(key);
}

bool WorldTest::Store(const std::string& name, double west, bool propertySheet) {
  GeometryPtr polygon = Rectangle(west, 40.2, west + 0.5, 40.8, Geographic(4269));
  DataManagerPtr dataManager = analysis->dataManager;
  HostApplicationPtr application = analysis->application;
  HostDatasetPtr dataset = Dataset();
  TaskDescriptorPtr task = Method();
  std::string saName = name, features;
  return propertySheet ? CreateStudyAreaPP(polygon, dataManager, application, saName, dataset, task, features)
                       : CreateStudyArea(polygon, dataManager, application, saName, dataset, task, features);
}

HostTaskRunResult WorldTest::RunScripted(const std::string& turns, const std::string& progId,
                                         const std::string& method) {
  return RunWith(UseScript("[" + turns + "]"), progId, method);
}

HostTaskRunResult WorldTest::RunWith(const ScriptedPresenterPtr& script, const std::string& progId,
                                     const std::string& method) {
  presenter = script;
  HostTaskRunResult result = progId.empty() ? RunHostTask(*analysis) : RunHostTask(*analysis, progId, method);
  presenter->CheckFinished();
  for (const std::string& error : presenter->Errors()) ADD_FAILURE() << error;
  return result;
}

void WorldTest::ShowPage(Form& page, const std::string& actions) {
  presenter = UseScript(R"([{"form": ")" + page.Name() + R"(", "actions": [)" + actions + R"(, {"close": true}]}])");
  page.ShowModal();
  EXPECT_TRUE(presenter->Errors().empty()) << presenter->Errors().front();
}

bool WorldTest::RunPropertySheet(const std::string& name) {
  auto sheet = CreateAs<ITovTask>(kPropertySheetTaskProgId);
  Variant value(Catalog()->Item(name));
  sheet->SetParam("StudyArea", value);
  if (!sheet->Init(analysis->dataManager, analysis->application) || sheet->DoParamSelector() != 0) return false;
  return sheet->InitFunction() && sheet->StartFunction() && sheet->LastError() == 0;
}

void WorldTest::UseRebuilder(const std::string& method, void (*registerRebuilder)()) {
  RegisterHostStudyAreaClasses();
  registerRebuilder();
  m_rebuiltMethod = method;
}

std::filesystem::file_time_type WorldTest::LayerFileTime(const std::string& name) const {
  return std::filesystem::last_write_time(ToNativePath(Catalog()->Item(name)->FilePath()));
}

int WorldTest::Tovana(const std::string& arguments) {
  return TovanaWith("--analysis '" + world->AnalysisFolder() + "' --dataset Test " + arguments);
}

int WorldTest::TovanaWith(const std::string& arguments) {
  world->Publish();
  ProgramRun run = RunProgram("--data-root '" + world->DataRoot() + "' " + arguments, world->Root());
  output = std::move(run.output);
  errors = std::move(run.errors);
  return run.exitCode;
}

nlohmann::json WorldTest::SavedDocument() const { return nlohmann::json::parse(world->DocumentText()); }

nlohmann::json WorldTest::FocusLayers() const {
  const nlohmann::json document = SavedDocument();
  return document.at("maps").at(document.at("focusMap").get<int>()).at("layers");
}

} // namespace tov::test
