#include "DrawnTestSupport.h"

#include "GisBuilders.h"
#include "host/gui/RegisterHostGuiClasses.h"
#include "platform/forms/MapControlHost.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/MapControl.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov::test {

void DrawingPageRecorder::ShowModal(Form& form) {
  if (auto* page = dynamic_cast<SelectByDrawingOwnAreaDialog*>(&form)) {
    Seen now;
    now.nextEnabled = form.Ctl("NextButton")->Enabled();
    now.extent = As<MapControl>(form.CtlAs<MapControlHost>("MapControl")->MapObject())->Extent();
    now.area = page->m_pFeature ? page->m_pFeature->Extent() : nullptr;
    seen.push_back(now);
  }
  ScriptedPresenter::ShowModal(form);
}

std::shared_ptr<DrawingPageRecorder> UseDrawingScript(const std::string& turns) {
  auto presenter = std::make_shared<DrawingPageRecorder>();
  presenter->LoadScript("[" + turns + "]");
  SetPresenter(presenter);
  return presenter;
}

std::string DrawTurn(const std::string& tool, const std::string& shape, const std::string& button) {
  return R"({"form": "SelectByDrawingOwnAreaDialog", "actions": [{"toolbar": "Toolbar1", "button": ")" + tool +
         R"("}, {"mapdown": "MapControl", "map": [-74, 41], "track": )" + shape + R"(}, {"click": ")" + button +
         R"("}]})";
}

void DrawnMethodTest::SetUp() {
  RegisterHostGuiClasses(false);
  TestWorldOptions options;
  options.extraMethods = R"({ "name": "SetupStudyArea.DrawOwn", "caption": "An area drawn on the map",
      "properties": { "MainLayer": "Regions" },
      "layers": [ { "name": "Regions", "properties": { "Visible": "True", "Annotation": "True",
                                                       "LabelField": "NAME" } } ],
      "children": [] })";
  world = std::make_unique<TestWorld>(options);
  analysis = world->Open();
}

HostDatasetPtr DrawnMethodTest::DataSet() const { return analysis->dataManager->DataSetByName("Test"); }

TaskDescriptorPtr DrawnMethodTest::Method() const {
  return DataSet()->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.DrawOwn");
}

std::shared_ptr<SelectByDrawingOwnAreaDialog> DrawnMethodTest::NewPage() const {
  auto page = std::make_shared<SelectByDrawingOwnAreaDialog>();
  page->m_pApplication = analysis->application;
  page->m_pDataManager = analysis->dataManager;
  page->m_pDataSet = DataSet();
  page->m_pSSATask = Method();
  return page;
}

int32_t DrawnMethodTest::RunPages(const TaskPropertySetPtr& propertySet) {
  task = std::dynamic_pointer_cast<TovSSASelDrawingTask>(CreateObject(kSelDrawingTaskProgId));
  Variant value(Method());
  task->SetParam("SSATask", value);
  value = Variant(DataSet());
  task->SetParam("DataSet", value);
  value = Variant(propertySet);
  task->SetParam("PropertySet", value);
  task->Init(analysis->dataManager, analysis->application);
  return task->DoParamSelector();
}

HostTaskRunResult DrawnMethodTest::RunAll() { return RunHostTask(*analysis, kSelDrawingTaskProgId); }

PolygonPtr DrawnMethodTest::InDegrees(const GeometryPtr& shape) {
  auto copy = As<Polygon>(shape->Copy());
  copy->Project(Geographic(4269));
  return copy;
}

} // namespace tov::test
