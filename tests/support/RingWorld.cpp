#include "RingWorld.h"
#include "Recorders.h"

namespace tov::test {

namespace {

class FakeGeocoder : public StubTask {
public:
  explicit FakeGeocoder(GeocoderScope* scope) : m_scope(scope) { ++m_scope->created; }
  bool StartFunction() override { return false; }
  bool InitFunction() override { return false; }
  bool Init(const std::shared_ptr<DataManager>&, const std::shared_ptr<HostApplication>&) override {
    ++m_scope->inits;
    return m_scope->initResult;
  }
  bool SetParam(const std::string& paramName, Variant& paramValue) override {
    m_scope->keys.push_back(paramName);
    m_scope->values[paramName] = paramValue;
    if (paramName == "ResultCollection") m_results = paramValue.ToObjectAs<Collection>();
    return true;
  }
  int32_t DoParamSelector() override {
    ++m_scope->shows;
    if (m_scope->answers.empty()) return -1;
    GeocoderScope::Answer answer = m_scope->answers.front();
    m_scope->answers.pop_front();
    m_results->Add(answer.status, "Status");
    m_results->Add(answer.point, "Point");
    return answer.result;
  }

private:
  GeocoderScope* m_scope;
  CollectionPtr m_results;
};

} // namespace

GeocoderScope::GeocoderScope()
    : m_geocoder(kGeocoderProgId, [this] { return std::static_pointer_cast<Object>(std::make_shared<FakeGeocoder>(this)); }) {}

void RingPresenter::ShowModal(Form& form) {
  Snapshot snapshot;
  for (const ControlPtr& control : form.Controls()) {
    snapshot.enabled[control->Name()] = control->Enabled();
    if (control->Kind() == ControlKind::TextBox) snapshot.texts[control->Name()] = control->Text();
    if (control->Kind() == ControlKind::OptionButton) snapshot.values[control->Name()] = control->Value();
  }
  forms.push_back(form.Name());
  of[form.Name()].push_back(snapshot);
  ScriptedPresenter::ShowModal(form);
}

std::shared_ptr<RingPresenter> UseRingScript(const std::string& turns) {
  return InstallScript<RingPresenter>("[" + turns + "]");
}

TestWorldOptions RingWorldOptions() {
  TestWorldOptions options;
  options.extraMethods = MethodJson(kSimpleRingMethod, "A ring around a site");
  return options;
}

std::shared_ptr<ITovTask> NewRingTask(const Analysis& analysis, const TaskPropertySetPtr& propertySet) {
  return NewMethodTask(analysis, kSimpleRingTaskProgId, kSimpleRingMethod, propertySet);
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
} // namespace tov::test
