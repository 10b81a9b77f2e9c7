#include "setup/TovSetupStudyAreaMain.h"

#include "pages/modi18N.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/MethodTaskLookup.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "setup/CreateSAMainDialog.h"
#include "store/ModuleErrors.h"
#include "store/Settings.h"

#include <optional>

namespace tov {

namespace {

constexpr int32_t kErrorNoMethodTask = 47;
constexpr char kShowChooser[] = "ShowCreateSAMainDialog ";

template <class T>
void PassObject(ITovTask& task, const char* key, std::shared_ptr<T>& object) {
  Variant value(object);
  task.SetParam(key, value);
  object = value.ToObjectAs<T>();
}

template <class T>
void PassObject(ITovFunction& function, const char* key, std::shared_ptr<T>& object) {
  Variant value(object);
  function.SetParam(key, value);
  object = value.ToObjectAs<T>();
}

} // namespace

TovSetupStudyAreaMain::TovSetupStudyAreaMain() : m_errors(CreateErrorSite(kModulePath)) {}

TovSetupStudyAreaMain::~TovSetupStudyAreaMain() {
  Trap(m_errors, "Class_Terminate ", [&] {
    Cleanup();
    m_pDataManager.reset();
    m_pApplication.reset();
    m_methodTask.reset();
    m_status = 1;
    m_lastError = 0;
  });
}

int32_t TovSetupStudyAreaMain::LastError() {
  return Trap(m_errors, "ITovTask_LastError ", int32_t(0), [&] {
    if (m_lastError == 0 && m_methodTask) return m_methodTask->LastError();
    return m_lastError;
  });
}

int32_t TovSetupStudyAreaMain::Status() {
  return Trap(m_errors, "ITovTask_Status ", int32_t(0), [&] {
    return m_methodTask ? m_methodTask->Status() : m_status;
  });
}

ObjectPtr TovSetupStudyAreaMain::TovParamSelector() {
  return Trap(m_errors, "ITovTask_TovParamSelector ", ObjectPtr(), [&] {
    m_lastError = 0;
    return ObjectPtr();
  });
}

ITovFunctionPtr TovSetupStudyAreaMain::TovFunction() {
  return Trap(m_errors, "ITovTask_TovFunction ", ITovFunctionPtr(), [&] {
    m_lastError = 0;
    return m_methodTask ? m_methodTask->TovFunction() : ITovFunctionPtr();
  });
}

void TovSetupStudyAreaMain::Cleanup() {
  Trap(m_errors, "ITovTask_Cleanup ", [&] {
    m_lastError = 0;
    if (m_methodTask) m_methodTask->Cleanup();
  });
}

void TovSetupStudyAreaMain::Break() {
  Trap(m_errors, "ITovTask_Break ", [&] {
    m_lastError = 0;
    if (m_methodTask) m_methodTask->Break();
  });
}

bool TovSetupStudyAreaMain::StartFunction() {
  return Trap(m_errors, "ITovTask_StartFunction ", false, [&] {
    m_status = 1;
    if (!m_methodTask) {
      m_lastError = kErrorNoMethodTask;
      return false;
    }
    const bool result = m_methodTask->StartFunction();
    m_lastError = 0;
    return result;
  });
}

int32_t TovSetupStudyAreaMain::DoParamSelector() {
  return Trap(m_errors, "ITovTask_DoParamSelector ", int32_t(0), [&] {
    m_lastError = 0;
    return ShowCreateSAMainDialog();
  });
}

bool TovSetupStudyAreaMain::InitFunction() {
  return Trap(m_errors, "ITovTask_InitFunction ", false, [&] {
    m_lastError = 0;
    return m_methodTask ? m_methodTask->InitFunction() : false;
  });
}

bool TovSetupStudyAreaMain::InitParamSelector() {
  return Trap(m_errors, "ITovTask_InitParamSelector ", false, [&] {
    m_lastError = 0;
    return true;
  });
}

bool TovSetupStudyAreaMain::Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) {
  return Trap(m_errors, "ITovTask_Init ", false, [&] {
    m_pDataManager = dataManager;
    m_pApplication = application;
    pPropertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
    const std::string current =
        Must(GetTovExtension(application), "the analysis extension")->CurrentDatasetName();
    DataManagerPtr dataSets = Must(m_pDataManager, "the data manager");
    m_pDataSet.reset();
    for (long i = 0; i < dataSets->DataSetCount(); ++i) {
      HostDatasetPtr each = Must(dataSets->DataSet(i), "a data set");
      if (each->Name() == current) {
        m_pDataSet = each;
        break;
      }
    }
    if (!m_pDataSet) {
      MsgBox(GetTextResources()->FindString("174"), vbCritical);
      throw HostError{}; // the message said it; there is no pending error
    }
    m_lastError = 0;
    return true;
  });
}

bool TovSetupStudyAreaMain::SetParam(const std::string&, Variant&) { return false; }

int32_t TovSetupStudyAreaMain::ShowCreateSAMainDialog() {
  return Trap(m_errors, kShowChooser, int32_t(0), [&] {
    auto chooser = std::make_shared<CreateSAMainDialog>();
    chooser->m_Way = CreateSAMainDialog::kWayCreate;
    chooser->m_pApplication = m_pApplication;
    chooser->m_pDataManager = m_pDataManager;
    chooser->m_pDataSet = m_pDataSet;
    chooser->InitializeDialog();

    int32_t result = 0;
    for (;;) {
      chooser->ResetParams();
      const bool haveSaved =
          Must(Must(m_pDataManager, "the data manager")->GetStudyAreaCatalog(), "the study area catalogue")
              ->Count() >= 1;
      chooser->Ctl("OpenSAOption")->SetEnabled(haveSaved);
      chooser->Ctl("ManageSAButton")->SetEnabled(haveSaved);
      RestoreFormPosition(chooser, m_pApplication, pPropertySet, true);
      chooser->ShowModal();
      SaveFormPosition(chooser, pPropertySet);

      result = chooser->m_Result;
      m_pSSATask = chooser->m_pSSATask;
      if (m_pSSATask) {
        const std::string name = m_pSSATask->Name();
        if (name != m_lastMethodName && !m_lastMethodName.empty()) {
          // Another method: its pages start afresh, the chooser stays where it was.
          pPropertySet = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
          SaveFormPosition(chooser, pPropertySet);
        }
        m_lastMethodName = name;
      }
      if (result != kPageNext) break;

      if (chooser->m_Way == CreateSAMainDialog::kWayCreate) {
        // Each method folder registers its record; names are compared exactly.
        const std::optional<MethodRecord> method = FindMethod(Must(m_pSSATask, "the chosen method")->Name());
        if (!method) {
          result = kPageCancel;
          break;
        }
        // Held here until its pages are done: a task that fails on the way
        // is never the one the host's later calls reach (see docs/departures.md).
        ITovTaskPtr task = CreateAs<ITovTask>(method->taskProgId);
        PassObject(*task, "SSATask", m_pSSATask);
        PassObject(*task, "DataSet", m_pDataSet);
        PassObject(*task, "PropertySet", pPropertySet);
        if (method->picksOnMapOrList) {
          Variant fromMap(chooser->m_bFromMap);
          task->SetParam("FromMapOrList", fromMap);
        }
        if (!task->Init(m_pDataManager, m_pApplication) || !task->InitParamSelector()) {
          chooser->Unload();
          m_methodTask.reset();
          // The task reported its own failure; this report has no pending error.
          ReportFailure(m_errors, kShowChooser, HostError{});
          result = kPageCancel;
          break;
        }
        const int32_t pages = task->DoParamSelector();
        if (pages == kPageBack) {
          // Back from the method's first page: the chooser again, as it was.
          m_methodTask.reset();
          continue;
        }
        m_methodTask = task;
        result = pages;
        break;
      }

      if (chooser->m_Way == CreateSAMainDialog::kWayOpen) {
        auto open = CreateAs<ITovFunction>(kOpenExistingSAFuncProgId);
        PassObject(*open, "Application", m_pApplication);
        PassObject(*open, "DataManager", m_pDataManager);
        Variant name(chooser->m_sSAName);
        open->SetParam("StudyAreaName", name);
        if (!open->Init()) throw HostError{};
        open->Start();
        while (open->DoStep()) {
        }
        // Opened: the host has no function to run.
        result = kPageCancel;
        break;
      }
      // No way chosen: nothing to do.
      result = kPageCancel;
      break;
    }

    chooser->Unload();
    if (result != kPagesAccepted) m_methodTask.reset();
    return result;
  });
}

} // namespace tov
