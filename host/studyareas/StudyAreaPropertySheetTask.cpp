#include "host/studyareas/StudyAreaPropertySheetTask.h"

#include "host/framework/MethodDescriptor.h"
#include "host/studyareas/StudyAreaProperties.h"
#include "host/studyareas/StudyAreaPropertiesDialog.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/ErrorHandler.h"
#include "platform/framework/TovExtension.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

namespace tov {

namespace {

constexpr int32_t kMissingParameter = 47;

ErrorReporterPtr NewErrorHandler() {
  try {
    return CreateAs<ErrorReporter>(kErrorHandlerProgId);
  } catch (...) {
    return nullptr; // reports then go nowhere; the task itself still works
  }
}

} // namespace

StudyAreaPropertySheetTask::StudyAreaPropertySheetTask() : m_errors{NewErrorHandler(), kModulePath} {}

StudyAreaPropertySheetTask::~StudyAreaPropertySheetTask() { Cleanup(); }

int32_t StudyAreaPropertySheetTask::LastError() {
  if (m_function && m_lastError == 0) return m_function->LastError();
  return m_lastError;
}

int32_t StudyAreaPropertySheetTask::Status() { return 1; }

ObjectPtr StudyAreaPropertySheetTask::TovParamSelector() { return nullptr; }

ITovFunctionPtr StudyAreaPropertySheetTask::TovFunction() { return m_function; }

void StudyAreaPropertySheetTask::Cleanup() {
  m_function.reset();
  m_progressRunner.reset();
  m_lastError = 0;
}

void StudyAreaPropertySheetTask::Break() {}

bool StudyAreaPropertySheetTask::Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) {
  m_dataManager = dataManager;
  m_application = application;
  m_lastError = dataManager && application ? 0 : kMissingParameter;
  return m_lastError == 0;
}

bool StudyAreaPropertySheetTask::InitParamSelector() { return true; }

bool StudyAreaPropertySheetTask::SetParam(const std::string& paramName, Variant& paramValue) {
  if (LowerCase(paramName) != "studyarea") return false;
  m_record = paramValue.ToObjectAs<StudyAreaRecord>();
  return m_record != nullptr;
}

int32_t StudyAreaPropertySheetTask::DoParamSelector() {
  return Trap(m_errors, "ITovTask_DoParamSelector ", int32_t(-1), [&]() -> int32_t {
    Must(m_record, "the study area record");
    auto extension = As<TovExtension>(Must(m_application, "the application")->FindExtension(kTovExtensionProgId));
    const std::string name = m_record->Name();
    auto page = std::make_shared<StudyAreaPropertiesDialog>();
    int32_t result = -1;
    for (;;) {
      StudyAreaProperties properties = DescribeStudyArea(Must(extension, "the analysis extension"), name);
      std::unique_ptr<StudyAreaRebuilder> rebuilder =
          properties.hasShape ? CreateStudyAreaRebuilder(properties.method) : nullptr;
      page->Show(name, FormatStudyAreaProperties(properties), rebuilder ? rebuilder->Caption() : "");
      page->ShowModal();
      if (page->m_Result != StudyAreaPropertiesDialog::kRebuild) {
        result = page->m_Result == StudyAreaPropertiesDialog::kOk ? 0 : -1;
        break;
      }
      // A rebuild the user cancels shows the properties again.
      if (rebuilder->Edit(m_record, m_dataManager, m_application)) {
        m_rebuilder = std::move(rebuilder);
        result = 0;
        break;
      }
    }
    page->Unload();
    return result;
  });
}

bool StudyAreaPropertySheetTask::InitFunction() {
  return Trap(m_errors, "ITovTask_InitFunction ", false, [&] {
    if (!m_rebuilder) return true; // nothing was changed: no function to run
    m_function = CreateAs<ITovFunction>(m_rebuilder->FunctionProgId());
    HostDatasetPtr dataset = m_dataManager->DataSetByName(m_record->BaseDataSet());
    TaskDescriptorPtr descriptor = FindMethodDescriptor(dataset, m_record->RecordProperties()->GetProperty("TYPE"));
    auto pass = [&](const char* key, Variant value) { m_function->SetParam(key, value); };
    pass("Application", Variant(m_application));
    pass("DataManager", Variant(m_dataManager));
    pass("StudyAreaName", Variant(m_record->Name()));
    pass("DataSet", Variant(dataset));
    pass("SSATask", Variant(descriptor));
    pass("FromPropertyPage", Variant(true));
    m_rebuilder->PassParameters(*m_function);
    return m_function->Init();
  });
}

bool StudyAreaPropertySheetTask::StartFunction() {
  return Trap(m_errors, "ITovTask_StartFunction ", false, [&] {
    if (!m_function) return false;
    m_progressRunner = CreateAs<ProgressRunner>(kProgressRunnerProgId);
    m_progressRunner->Run(m_function, "Study Area Properties", "Processing...",
                          m_dataManager->MediaPath("Clock AVI"), m_application->hWnd());
    return true;
  });
}

} // namespace tov
