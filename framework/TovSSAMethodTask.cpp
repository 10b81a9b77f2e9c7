#include "framework/TovSSAMethodTask.h"

#include "pages/SelectSANameDialog.h"
#include "pages/modi18N.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"
#include "store/ModuleErrors.h"
#include "store/Settings.h"

namespace tov {

namespace {
constexpr char kProgressTitle[] = "Study Area Setup";
constexpr char kProgressMessage[] = "Processing...";
constexpr char kClockAnimation[] = "Clock AVI";
} // namespace

TovSSAMethodTask::TovSSAMethodTask(const char* modulePath, const char* functionProgId,
                                   SetParamFailures setParamFailures)
    : m_errors(CreateErrorSite(modulePath)), m_functionProgId(functionProgId), m_setParamFailures(setParamFailures) {}

TovSSAMethodTask::~TovSSAMethodTask() {
  Trap(m_errors, "Class_Terminate ", [&] {
    Cleanup();
    m_pDataManager.reset();
    m_pApplication.reset();
    m_function.reset();
    m_status = 1;
    m_lastError = 0;
    m_sSAName.clear();
    m_progressRunner.reset();
  });
}

int32_t TovSSAMethodTask::LastError() {
  return Trap(m_errors, "ITovTask_LastError ", int32_t(0), [&] {
    if (m_function && m_lastError == 0) return m_function->LastError();
    return m_lastError;
  });
}

int32_t TovSSAMethodTask::Status() {
  return Trap(m_errors, "ITovTask_Status ", int32_t(0), [&] { return m_status; });
}

ObjectPtr TovSSAMethodTask::TovParamSelector() {
  return Trap(m_errors, "ITovTask_TovParamSelector ", ObjectPtr(), [&] {
    m_lastError = 0;
    return ObjectPtr();
  });
}

ITovFunctionPtr TovSSAMethodTask::TovFunction() {
  return Trap(m_errors, "ITovTask_TovFunction ", ITovFunctionPtr(), [&] {
    m_lastError = 0;
    return m_function;
  });
}

void TovSSAMethodTask::Cleanup() {
  Trap(m_errors, "ITovTask_Cleanup ", [&] {
    m_function.reset();
    m_status = 1;
    m_lastError = 0;
  });
}

void TovSSAMethodTask::Break() {
  Trap(m_errors, "ITovTask_Break ", [&] {
    m_status = 1;
    m_lastError = 0;
  });
}

bool TovSSAMethodTask::StartFunction() {
  return Trap(m_errors, "ITovTask_StartFunction ", false, [&] {
    if (!m_function) return false;
    m_progressRunner = CreateAs<ProgressRunner>(kProgressRunnerProgId);
    const std::string animation = Must(m_pDataManager, "the data manager")->MediaPath(kClockAnimation);
    const int64_t window = Must(m_pApplication, "the application")->hWnd();
    m_progressRunner->Run(m_function, kProgressTitle, kProgressMessage, animation, window);
    return true;
  });
}

int32_t TovSSAMethodTask::DoParamSelector() {
  return Trap(m_errors, "ITovTask_DoParamSelector ", int32_t(0), [&] {
    const int32_t result = RunPages();
    m_status = 1;
    m_lastError = 0;
    return result;
  });
}

bool TovSSAMethodTask::InitFunction() {
  return Trap(m_errors, "ITovTask_InitFunction ", false, [&] {
    if (FunctionInputsMissing()) {
      m_status = 1;
      m_lastError = 0;
      return true;
    }
    PassParameters();
    const bool result = m_function->Init();
    m_status = 1;
    m_lastError = 0;
    return result;
  });
}

bool TovSSAMethodTask::InitParamSelector() {
  return Trap(m_errors, "ITovTask_InitParamSelector ", false, [&] {
    m_lastError = 0;
    return true;
  });
}

bool TovSSAMethodTask::Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) {
  return Trap(m_errors, "ITovTask_Init ", false, [&] {
    m_pDataManager = dataManager;
    m_pApplication = application;
    m_function = CreateAs<ITovFunction>(m_functionProgId);
    m_status = 1;
    m_lastError = 0;
    return true;
  });
}

bool TovSSAMethodTask::SetParam(const std::string& paramName, Variant& paramValue) {
  if (m_setParamFailures == SetParamFailures::Report)
    return Trap(m_errors, "ITovFunction_SetParam ", false, [&] { return SetKnownParam(paramName, paramValue); });
  return SetKnownParam(paramName, paramValue);
}

bool TovSSAMethodTask::SetKnownParam(const std::string& paramName, Variant& paramValue) {
  const std::string key = LowerCase(paramName);
  if (key == "ssatask") {
    m_pSSATask = paramValue.ToObjectAs<TaskDescriptor>();
    return true;
  }
  if (key == "dataset") {
    m_pDataSet = paramValue.ToObjectAs<HostDataset>();
    return true;
  }
  if (key == "propertyset") {
    pPropertySet = paramValue.ToObjectAs<TaskPropertySet>();
    return true;
  }
  return SetOwnParam(key, paramValue);
}

bool TovSSAMethodTask::SetOwnParam(const std::string&, Variant&) { return false; }

bool TovSSAMethodTask::FunctionInputsMissing() { return !m_function || !m_pSSATask || !m_pDataSet; }

void TovSSAMethodTask::PassParameters() {
  PassObject("Application", m_pApplication);
  PassObject("DataSet", m_pDataSet);
  PassObject("SSATask", m_pSSATask);
  PassObject("DataManager", m_pDataManager);
  PassValue("StudyAreaName", m_sSAName);
}

void TovSSAMethodTask::PassValue(const char* key, const Variant& value) {
  Variant copy = value;
  m_function->SetParam(key, copy);
}

int32_t TovSSAMethodTask::ShowPageOnce(const std::shared_ptr<WizardPage>& page) {
  page->ResetParams();
  RestoreFormPosition(page, m_pApplication, pPropertySet, false);
  page->ShowModal();
  SaveFormPosition(page, pPropertySet);
  const int32_t result = page->m_Result;
  page->WriteToPropertySet(pPropertySet);
  return result;
}

int32_t TovSSAMethodTask::RunPage(const std::shared_ptr<WizardPage>& page, const NextStep& next, PageEnd end) {
  page->ReadFromPropertySet(pPropertySet);
  page->InitializeDialog();
  int32_t result = kPageCancel;
  for (;;) {
    result = ShowPageOnce(page);
    if (result != kPageNext) break;
    result = next ? next() : kPagesAccepted;
    if (result != kPageBack) break;
  }
  if (end == PageEnd::Unload) page->Unload();
  return result;
}

int32_t TovSSAMethodTask::RunPagesKeepingName() {
  m_keepsName = true;
  const int32_t result = RunPages();
  m_keepsName = false;
  return result;
}

int32_t TovSSAMethodTask::ShowNamePageUnlessKept() { return m_keepsName ? kPagesAccepted : ShowSelectSANameDialog(); }

int32_t TovSSAMethodTask::ShowSelectSANameDialog() {
  auto page = std::make_shared<SelectSANameDialog>();
  return RunPage(page, [&] {
    const std::string name = page->StudyAreaName();
    StudyAreaCatalogPtr catalog =
        Must(Must(m_pDataManager, "the data manager")->GetStudyAreaCatalog(), "the study area catalogue");
    if (catalog->Exists(name)) {
      ResourceFinderPtr texts = GetTextResources();
      MsgBox(name + texts->FindString("175") + "\r\n" + texts->FindString("176"), vbExclamation,
             texts->FindString("187"));
      return kPageBack;
    }
    m_sSAName = name;
    return kPagesAccepted;
  });
}

} // namespace tov
