#include "framework/TovSSAMethodFunction.h"

#include "store/ModuleErrors.h"
#include "store/StudyAreaCreation.h"

namespace tov {

namespace {
constexpr char kFromPropertyPage[] = "FromPropertyPage";
} // namespace

TovSSAMethodFunction::TovSSAMethodFunction(const char* modulePath, PropertyPageKey fromPropertyPage)
    : m_errors(CreateErrorSite(modulePath)), m_propertyPageKey(fromPropertyPage) {}

TovSSAMethodFunction::~TovSSAMethodFunction() {
  Trap(m_errors, "Class_Terminate ", [&] {
    Cleanup();
    m_pApplication.reset();
    m_pDataManager.reset();
    m_pDataSet.reset();
    m_pSSATask.reset();
    m_geometry.reset();
    m_sSAName.clear();
  });
}

bool TovSSAMethodFunction::Start() {
  return Trap(m_errors, "ITovFunction_Start ", false, [&] {
    Must(m_pApplication, "the application");
    Prepare();
    return true;
  });
}

bool TovSSAMethodFunction::DoStep() {
  return Trap(m_errors, "ITovFunction_DoStep ", false, [&] { return Step(); });
}

bool TovSSAMethodFunction::Step() {
  if (m_geometry) Store(m_geometry, std::string());
  return false;
}

bool TovSSAMethodFunction::Store(GeometryPtr& polygon, const std::string& featuresList) {
  std::string features = featuresList;
  if (FromPropertyPage())
    return CreateStudyAreaPP(polygon, m_pDataManager, m_pApplication, m_sSAName, m_pDataSet, m_pSSATask, features);
  return CreateStudyArea(polygon, m_pDataManager, m_pApplication, m_sSAName, m_pDataSet, m_pSSATask, features);
}

bool TovSSAMethodFunction::FromPropertyPage() const { return m_fromPropertyPage.ToBool(); }

int32_t TovSSAMethodFunction::LastError() {
  return Trap(m_errors, "ITovFunction_LastError ", int32_t(0), [&] { return m_lastError; });
}

int32_t TovSSAMethodFunction::Status() {
  return Trap(m_errors, "ITovFunction_Status ", int32_t(0), [&] { return m_status; });
}

void TovSSAMethodFunction::Cleanup() {
  Trap(m_errors, "ITovFunction_Cleanup ", [&] {
    m_lastError = 0;
    m_status = 1;
  });
}

bool TovSSAMethodFunction::ParametersComplete() {
  return m_pApplication && m_status == 1 && m_pDataManager && m_pDataSet && m_pSSATask && !m_sSAName.empty();
}

bool TovSSAMethodFunction::Init() {
  return Trap(m_errors, "ITovFunction_Init ", false, [&] {
    const bool complete = ParametersComplete();
    m_lastError = complete ? 0 : kErrorMissingParameter;
    return complete;
  });
}

bool TovSSAMethodFunction::SetResultParam(const std::string&, Variant&) { return true; }

bool TovSSAMethodFunction::SetParam(const std::string& paramName, Variant& paramValue) {
  return Trap(m_errors, "ITovFunction_SetParam ", false, [&] {
    if (paramName == "Application")
      m_pApplication = paramValue.ToObjectAs<HostApplication>();
    else if (paramName == "DataManager")
      m_pDataManager = paramValue.ToObjectAs<DataManager>();
    else if (paramName == "StudyAreaName")
      m_sSAName = paramValue.ToString();
    else if (paramName == "SSATask")
      m_pSSATask = paramValue.ToObjectAs<TaskDescriptor>();
    else if (paramName == "DataSet")
      m_pDataSet = paramValue.ToObjectAs<HostDataset>();
    else if (paramName == kFromPropertyPage && m_propertyPageKey == PropertyPageKey::Known)
      m_fromPropertyPage = paramValue;
    else if (!SetOwnParam(paramName, paramValue))
      // An unknown key is reported with whatever error is pending (none).
      ReportFailure(m_errors, "ITovFunction_SetParam ", HostError());
    return true;
  });
}

bool TovSSAMethodFunction::SetOwnParam(const std::string&, Variant&) { return false; }

} // namespace tov
