#pragma once
#include "host/studyareas/StudyAreaRebuilder.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/ProgressRunner.h"
#include "platform/runtime/Trap.h"

#include <memory>

namespace tov {

// "TovSSAPropertySheet.TovSSAPSTask": the host's property sheet of one study
// area, driven as a task. SetParam "StudyArea" gives the catalogue record.
// DoParamSelector shows the properties; OK and Cancel change nothing (0 and
// -1). When the study area's method has a rebuilder and the user rebuilds,
// DoParamSelector returns 0 and InitFunction/StartFunction run the method's
// function with "FromPropertyPage" True, which stores the new shape in place.
class StudyAreaPropertySheetTask : public ITovTask {
public:
  static constexpr char kModulePath[] = "TovSSAPropertySheet\\TovSSAPSTask";
  StudyAreaPropertySheetTask();
  ~StudyAreaPropertySheetTask() override;

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
  bool Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) override;
  bool SetParam(const std::string& paramName, Variant& paramValue) override;

private:
  ErrorSite m_errors;
  int32_t m_lastError = 0;
  DataManagerPtr m_dataManager;
  HostApplicationPtr m_application;
  StudyAreaRecordPtr m_record;
  std::unique_ptr<StudyAreaRebuilder> m_rebuilder; // kept when the user chose to rebuild
  ITovFunctionPtr m_function;
  ProgressRunnerPtr m_progressRunner;
};

} // namespace tov
