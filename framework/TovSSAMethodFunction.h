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
// Last error of a function that cannot reach the data it builds from.
constexpr int32_t kErrorNoMainLayer = 33;

// Whether a function accepts the parameter "FromPropertyPage".
enum class PropertyPageKey { Unknown, Known };

// What every creation method's function shares: its fields, the eight
// operations and the parameter check.
//
// Start reports a missing application and otherwise runs Prepare under its
// trap; DoStep runs Step under its trap. By default Step stores the geometry
// that Prepare built (one step), so a method that builds its polygon in
// Start only overrides Prepare; a method that builds step by step overrides
// Step as well. Store hands a polygon to the study area store, to
// CreateStudyAreaPP instead of CreateStudyArea when the function was started
// from the study area property sheet. Methods with more parameters add them
// in SetOwnParam and ParametersComplete.
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
  explicit TovSSAMethodFunction(const char* modulePath, PropertyPageKey fromPropertyPage = PropertyPageKey::Unknown);

  // Start's work once the application is known to be there; a failure
  // raises and is reported under "ITovFunction_Start ".
  virtual void Prepare() {}
  // One step of DoStep; true while more steps remain. A failure raises and
  // is reported under "ITovFunction_DoStep ".
  virtual bool Step();
  // A key (exact) beyond those every creation function knows; true when the
  // method knows it.
  virtual bool SetOwnParam(const std::string& key, Variant& paramValue);
  // The five shared parameters are checked by Init; a method adds its own.
  virtual bool ParametersComplete();

  // Stores polygon as the study area named m_sSAName with the features list;
  // on success the store releases the polygon. True when stored.
  bool Store(GeometryPtr& polygon, const std::string& featuresList);
  // The "FromPropertyPage" parameter as a Boolean (False when not given).
  bool FromPropertyPage() const;

  ErrorSite m_errors;
  HostApplicationPtr m_pApplication;
  DataManagerPtr m_pDataManager;
  std::string m_sSAName;
  int32_t m_lastError = 0;
  int32_t m_status = 1;
  GeometryPtr m_geometry;
  TaskDescriptorPtr m_pSSATask;
  HostDatasetPtr m_pDataSet;
  // Kept as given: only its use converts it.
  Variant m_fromPropertyPage;

private:
  PropertyPageKey m_propertyPageKey;
};

} // namespace tov
