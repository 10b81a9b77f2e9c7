#include "RingTestSupport.h"

#include "platform/forms/Form.h"
#include "platform/forms/Presenter.h"
#include "platform/runtime/ProgIds.h"

namespace tov::test {

int32_t FakeGeocoder::DoParamSelector() {
  ++m_log->shows;
  if (m_log->answers.empty()) return -1;
  GeocoderAnswer answer = m_log->answers.front();
  m_log->answers.pop_front();
  if (m_results) {
    m_results->Add(answer.status, "Status");
    m_results->Add(answer.point, "Point");
  }
  return answer.result;
}

bool FakeGeocoder::SetParam(const std::string& paramName, Variant& paramValue) {
  m_log->keys.push_back(paramName);
  m_log->values[paramName] = paramValue;
  if (paramName == "ResultCollection") m_results = paramValue.ToObjectAs<Collection>();
  return true;
}

GeocoderScope::GeocoderScope() : m_previous(RegisteredFactory(kGeocoderProgId)) {
  GeocoderLog* logged = &log;
  RegisterClass(kGeocoderProgId, [logged] { return std::static_pointer_cast<Object>(std::make_shared<FakeGeocoder>(logged)); });
}

GeocoderScope::~GeocoderScope() {
  if (m_previous)
    RegisterClass(kGeocoderProgId, m_previous);
  else
    UnregisterClass(kGeocoderProgId);
}

TestWorldOptions RingWorldOptions() {
  TestWorldOptions options;
  options.extraMethods = R"({ "name": "SetupStudyArea.SimpleRing", "caption": "A ring around a site",
      "properties": { "MainLayer": "Regions" }, "layers": [], "children": [] })";
  return options;
}

void RingPresenter::ShowModal(Form& form) {
  Snapshot snapshot;
  snapshot.form = form.Name();
  for (const ControlPtr& control : form.Controls()) {
    snapshot.enabled[control->Name()] = control->Enabled();
    if (control->Kind() == ControlKind::TextBox) snapshot.texts[control->Name()] = control->Text();
    if (control->Kind() == ControlKind::OptionButton) snapshot.values[control->Name()] = control->Value();
  }
  snapshots.push_back(snapshot);
  ScriptedPresenter::ShowModal(form);
}

std::vector<RingPresenter::Snapshot> RingPresenter::Of(const std::string& form) const {
  std::vector<Snapshot> found;
  for (const Snapshot& s : snapshots)
    if (s.form == form) found.push_back(s);
  return found;
}

std::shared_ptr<RingPresenter> UseRingScript(const std::string& json) {
  auto presenter = std::make_shared<RingPresenter>();
  presenter->LoadScript(json);
  SetPresenter(presenter);
  return presenter;
}

std::string SiteTurn(const std::string& latitude, const std::string& longitude) {
  return R"({"form": "SpecifySiteDialog", "actions": [{"click": "obtCoord"}, {"set": "txtLatitude", "text": ")" +
         latitude + R"("}, {"set": "txtLongitude", "text": ")" + longitude + R"("}, {"click": "NextButton"}]})";
}

std::string AddressTurn() {
  return R"({"form": "SpecifySiteDialog", "actions": [{"click": "obtSelect"}, {"click": "NextButton"}]})";
}

std::string RingTurn(const std::string& radius, bool kilometres) {
  return R"({"form": "SelectRingSizeDialog", "actions": [{"click": ")" +
         std::string(kilometres ? "KilometersOption" : "MilesOption") + R"("}, {"set": "FirstText", "text": ")" +
         radius + R"("}, {"click": "NextButton"}]})";
}

std::string BackTurn(const std::string& form) {
  return R"({"form": ")" + form + R"(", "actions": [{"click": "BackButton"}]})";
}

std::string CancelTurn(const std::string& form) {
  return R"({"form": ")" + form + R"(", "actions": [{"click": "CancelButton"}]})";
}

std::shared_ptr<ITovTask> NewRingTask(const Analysis& analysis, const TaskPropertySetPtr& propertySet) {
  HostDatasetPtr dataset = analysis.dataManager->DataSetByName("Test");
  TaskDescriptorPtr descriptor = dataset->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.SimpleRing");
  auto task = CreateAs<ITovTask>(kSimpleRingTaskProgId);
  Variant value(descriptor);
  task->SetParam("SSATask", value);
  value = Variant(dataset);
  task->SetParam("DataSet", value);
  value = Variant(propertySet);
  task->SetParam("PropertySet", value);
  task->Init(analysis.dataManager, analysis.application);
  return task;
}

TaskPropertySetPtr NewPropertySet() { return CreateAs<TaskPropertySet>(kTaskPropertySetProgId); }

} // namespace tov::test
