#include "manage/TovSSAManageFunction.h"

#include "manage/ManageUtils.h"
#include "store/ModuleErrors.h"

namespace tov {

namespace {
// Last error of a function whose parameters are incomplete or whose work failed.
constexpr int32_t kErrorFailed = 47;
} // namespace

TovSSAManageFunction::TovSSAManageFunction(const char* modulePath) : m_errors(CreateErrorSite(modulePath)) {}

TovSSAManageFunction::~TovSSAManageFunction() {
  Trap(m_errors, "Class_Terminate ", [&] {
    Cleanup();
    m_pApplication.reset();
    m_pDataManager.reset();
  });
}

bool TovSSAManageFunction::Start() {
  return Trap(m_errors, "ITovFunction_Start ", false, [&] {
    if (!m_pApplication) {
      // Nothing is pending: the report says only where it happened.
      ReportFailure(m_errors, "ITovFunction_Start ", HostError());
      return false;
    }
    const bool done = Work();
    m_status = 1;
    if (!done) m_lastError = kErrorFailed;
    return done;
  });
}

bool TovSSAManageFunction::DoStep() {
  return Trap(m_errors, "ITovFunction_DoStep ", false, [&] { return false; });
}

int32_t TovSSAManageFunction::LastError() {
  return Trap(m_errors, "ITovFunction_LastError ", int32_t(0), [&] { return m_lastError; });
}

int32_t TovSSAManageFunction::Status() {
  return Trap(m_errors, "ITovFunction_Status ", int32_t(0), [&] { return m_status; });
}

void TovSSAManageFunction::Cleanup() {
  Trap(m_errors, "ITovFunction_Cleanup ", [&] {
    m_lastError = 0;
    m_status = 1;
  });
}

bool TovSSAManageFunction::Init() {
  return Trap(m_errors, "ITovFunction_Init ", false, [&] {
    const bool complete = m_pApplication && m_status == 1 && m_pDataManager && OwnParametersComplete();
    m_lastError = complete ? 0 : kErrorFailed;
    return complete;
  });
}

bool TovSSAManageFunction::SetResultParam(const std::string&, Variant&) { return true; }

bool TovSSAManageFunction::SetParam(const std::string& paramName, Variant& paramValue) {
  return Trap(m_errors, "ITovFunction_SetParam ", false, [&] {
    if (paramName == "Application")
      m_pApplication = paramValue.ToObjectAs<HostApplication>();
    else if (paramName == "DataManager")
      m_pDataManager = paramValue.ToObjectAs<DataManager>();
    else if (!SetOwnParam(paramName, paramValue))
      ReportFailure(m_errors, "ITovFunction_SetParam ", HostError());
    return true;
  });
}

bool TovSSAManageFunction::DeleteDataset(const FeatureClassPtr& dataset) {
  return Trap(m_errors, "DeleteDataset ", false, [&] {
    DeleteDatasetAndGeodatabase(dataset);
    return false;
  });
}

} // namespace tov
