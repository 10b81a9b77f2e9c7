#pragma once
#include "platform/framework/DataManager.h"
#include "platform/framework/HostDataset.h"
#include "platform/framework/ITovFunction.h"
#include "platform/framework/TaskDescriptor.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/Trap.h"

#include <cstdint>
#include <string>

namespace tov {

// Last error of a function whose parameters are incomplete.
constexpr int32_t kErrorMissingParameter = 47;

// What every creation method's function shares: its fields, the eight
// operations and the parameter check. A method builds its polygon in
// BuildGeometry (under Start's trap) and may store it differently in
// StoreStudyArea; methods with more parameters add them in SetOwnParam and
// ParametersComplete.
class TovSSAMethodFunction : public ITovFunction {
public:
  ~TovSSAMethodFunction() override;

  bool Start() override;
  bool DoStep() override;
  int32_t LastError() override;
  int32_t Status() override;
  void Cleanup() override;
  bool Init() override;
  bool SetResultParam(const std::string& name, Variant& value) override;
  bool SetParam(const std::string& paramName, Variant& paramValue) override;

  const GeometryPtr& Geometry() const { return m_geometry; }

protected:
  explicit TovSSAMethodFunction(const char* modulePath);

  // Builds the study area polygon; a failure raises HostError.
  virtual GeometryPtr BuildGeometry() = 0;
  // The one step: CreateStudyArea with the geometry. Returns False.
  virtual bool StoreStudyArea();
  // A key (exact) beyond the five every creation function knows; true when
  // the method knows it.
  virtual bool SetOwnParam(const std::string& key, Variant& paramValue);
  // The five shared parameters are checked by Init; a method adds its own.
  virtual bool ParametersComplete();

  ErrorSite m_errors;
  HostApplicationPtr m_pApplication;
  DataManagerPtr m_pDataManager;
  std::string m_sSAName;
  int32_t m_lastError = 0;
  int32_t m_status = 1;
  GeometryPtr m_geometry;
  TaskDescriptorPtr m_pSSATask;
  HostDatasetPtr m_pDataSet;
};

} // namespace tov
