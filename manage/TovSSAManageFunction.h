#pragma once
#include "platform/framework/DataManager.h"
#include "platform/framework/ITovFunction.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/Trap.h"

#include <cstdint>
#include <string>

namespace tov {

// What the open and delete functions share: the application and data
// manager parameters, the eight operations and DeleteDataset. A function does
// its whole work in Start (Work); DoStep has nothing left to do.
class TovSSAManageFunction : public ITovFunction {
public:
  ~TovSSAManageFunction() override;

  // Without an application: reported with no error pending, False. Otherwise
  // the work's result; a failed work leaves last error 47.
  bool Start() override;
  bool DoStep() override;
  int32_t LastError() override;
  int32_t Status() override;
  void Cleanup() override;
  // False (last error 47) unless the application, the data manager and the
  // function's own parameters are there.
  bool Init() override;
  bool SetResultParam(const std::string& name, Variant& value) override;
  // "Application", "DataManager" and the function's own keys, compared
  // exactly; any other key is reported. Always True.
  bool SetParam(const std::string& paramName, Variant& paramValue) override;

  // Deletes the dataset, and the personal geodatabase that held it. Always
  // False, as callers have always seen it.
  bool DeleteDataset(const FeatureClassPtr& dataset);

protected:
  explicit TovSSAManageFunction(const char* modulePath);

  virtual bool Work() = 0;
  // A key beyond "Application" and "DataManager"; true when known.
  virtual bool SetOwnParam(const std::string& key, Variant& paramValue) = 0;
  virtual bool OwnParametersComplete() = 0;

  ErrorSite m_errors;
  HostApplicationPtr m_pApplication;
  DataManagerPtr m_pDataManager;
  int32_t m_lastError = 0;
  int32_t m_status = 1;
};

} // namespace tov
