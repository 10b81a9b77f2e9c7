#include "SetupTest.h"

#include "pages/modi18N.h"
#include "platform/forms/Form.h"
#include "platform/forms/ListControl.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TextPropertySet.h"
#include "store/ModuleErrors.h"
#include "store/StudyAreaCreation.h"

namespace tov::test {

namespace {

std::vector<std::string> Entries(ListControl& list) {
  std::vector<std::string> entries;
  for (long i = 0; i < list.ListCount(); ++i) entries.push_back(list.List(i));
  return entries;
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

} // namespace

void SetupRecorder::ShowModal(Form& form) {
  if (form.Name() == "CreateSAMainDialog") {
    ChooserShowing showing;
    auto methods = form.CtlAs<ListControl>("SATasksList");
    showing.methods = Entries(*methods);
    if (methods->ListIndex() >= 0) showing.method = methods->List(methods->ListIndex());
    auto names = form.CtlAs<ListControl>("SANameCombo");
    showing.names = Entries(*names);
    showing.name = names->Text();
    showing.openEnabled = form.Ctl("OpenSAOption")->Enabled();
    showing.namesEnabled = names->Enabled();
    showing.manageEnabled = form.Ctl("ManageSAButton")->Enabled();
    showing.createSet = form.Ctl("CreateSAOption")->Value() == 1;
    showing.openSet = form.Ctl("OpenSAOption")->Value() == 1;
    showing.left = form.Left();
    showing.top = form.Top();
    choosers.push_back(showing);
  } else if (form.Name() == "SelectSANameDialog") {
    namePageTexts.push_back(form.Ctl("StudyAreaNameText")->Text());
  }
  ScriptedPresenter::ShowModal(form);
}

std::shared_ptr<SetupRecorder> UseSetupScript(const std::string& turns) {
  auto presenter = std::make_shared<SetupRecorder>();
  presenter->LoadScript("[" + turns + "]");
  SetPresenter(presenter);
  return presenter;
}

std::string ChooseMethodTurn(const std::string& caption, const std::string& more) {
  return R"({"form": "CreateSAMainDialog", "actions": [{"select": "SATasksList", "item": )" + Quoted(caption) +
         "}, " + more + (more.empty() ? "" : ", ") + R"({"click": "NextButton"}]})";
}

std::string OpenTurn(const std::string& name) {
  return R"({"form": "CreateSAMainDialog", "actions": [{"click": "OpenSAOption"}, {"select": "SANameCombo", "item": )" +
         Quoted(name) + R"(}, {"click": "NextButton"}]})";
}

std::string NameBackTurn(const std::string& name) {
  return R"({"form": "SelectSANameDialog", "actions": [{"set": "StudyAreaNameText", "text": )" + Quoted(name) +
         R"(}, {"click": "BackButton"}]})";
}

bool ProbeTask::SetParam(const std::string& paramName, Variant& paramValue) {
  m_log->keys.push_back(paramName);
  if (paramName == "SSATask") m_log->descriptor = paramValue.ToObjectAs<TaskDescriptor>();
  if (paramName == "PropertySet") m_log->propertySet = paramValue.ToObjectAs<TaskPropertySet>();
  if (paramName == "FromMapOrList") m_log->fromMapOrList = paramValue;
  return true;
}

bool ProbeTask::Init(const DataManagerPtr&, const HostApplicationPtr&) {
  m_log->calls.push_back("Init");
  return m_log->initResult;
}

int32_t ProbeTask::DoParamSelector() {
  m_log->calls.push_back("DoParamSelector");
  m_log->propertiesAtPages.clear();
  if (m_log->propertySet)
    for (const char* key : {"SAName", "FormLeft", "FormTop", "FormWidth", "FormHeight"})
      if (m_log->propertySet->HasProperty(key))
        m_log->propertiesAtPages[key] = m_log->propertySet->GetProperty(key).ToString();
  return m_log->pagesResult;
}

bool ProbeTask::InitFunction() {
  m_log->calls.push_back("InitFunction");
  return true;
}

bool ProbeTask::StartFunction() {
  m_log->calls.push_back("StartFunction");
  return true;
}

ProbeScope::ProbeScope(const std::string& progId)
    : m_override(progId, [this] { return std::static_pointer_cast<Object>(std::make_shared<ProbeTask>(&log)); }) {}

SetupTest::SetupTest()
    : WorldTest([] {
        TestWorldOptions options;
        options.extraMethods = MethodJson(kSelectedShapesMethod, GetTextResources()->FindString("112")) + ", " +
                               MethodJson(kMapListMethod, kMapListCaption) + ", " +
                               MethodJson(kUseWholeMethod, kWholeCaption) + ", " +
                               MethodJson("SetupStudyArea.Unknown", kUnknownCaption);
        return options;
      }()) {}

void SetupTest::SetUp() {
  OpenAnalysis();
  // The store's handler is made on first use: make it the host's now, not a
  // recorder a test installs later.
  ModuleErrorSite(kTovSSAUtilsModule);
}

MainRun SetupTest::RunMain() {
  MainRun run;
  run.task = std::dynamic_pointer_cast<TovSetupStudyAreaMain>(CreateObject(kSetupStudyAreaMainProgId));
  run.init = run.task->Init(analysis->dataManager, analysis->application);
  if (run.init && run.task->InitParamSelector()) {
    run.pages = run.task->DoParamSelector();
    if (run.pages == 0) {
      run.initFunction = run.task->InitFunction();
      run.startFunction = run.task->StartFunction();
    }
  }
  run.status = run.task->Status();
  run.lastError = run.task->LastError();
  return run;
}

} // namespace tov::test
