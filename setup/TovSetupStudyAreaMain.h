#pragma once
#include "platform/framework/DataManager.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/Trap.h"

#include <cstdint>
#include <string>

namespace tov {

// The task the host starts for Study Area Setup. Its page is the method
// chooser: a creation method's task is created by ProgID, driven through its
// own pages, and from then on gets the host's calls; a saved study area is
// opened at once, and the host then runs nothing more.
class TovSetupStudyAreaMain : public ITovTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSetupStudyAreaMain";

  TovSetupStudyAreaMain();
  ~TovSetupStudyAreaMain() override;

  int32_t LastError() override;
  int32_t Status() override;
  ObjectPtr TovParamSelector() override;
  ITovFunctionPtr TovFunction() override;
  void Cleanup() override;
  void Break() override;
  bool StartFunction() override;
  int32_t DoParamSelector() override;
  bool InitFunction() override;
  bool InitParamSelector() override;
  // Finds the active data set; without one the user is told and the result
  // is False.
  bool Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) override;
  // The main task takes no parameters: always False.
  bool SetParam(const std::string& paramName, Variant& paramValue) override;

  // The chooser and what follows it: 0 when a method's pages were accepted
  // (also after a reported failure), 2 back, -1 cancelled or a study area
  // opened.
  int32_t ShowCreateSAMainDialog();

  // The wizard state handed to the method task.
  const TaskPropertySetPtr& PropertySet() const { return pPropertySet; }
  // The chosen method's task; no object before one was chosen.
  const ITovTaskPtr& MethodTask() const { return m_methodTask; }

private:
  ErrorSite m_errors;
  int32_t m_status = 1;
  int32_t m_lastError = 0;
  ITovTaskPtr m_methodTask;
  DataManagerPtr m_pDataManager;
  HostApplicationPtr m_pApplication;
  HostDatasetPtr m_pDataSet;
  TaskDescriptorPtr m_pSSATask;
  std::string m_lastMethodName;
  TaskPropertySetPtr pPropertySet;
};

} // namespace tov
