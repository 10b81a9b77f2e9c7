#pragma once
#include "platform/runtime/ProgIds.h"
#include "platform/framework/DataAccessService.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// The analysis extension of the host application: its persisted settings,
// the current study area and data set, and data access.
class TovExtension : public virtual Object {
public:
  // "CurrentExtent", "Group Layer For Analysis", "Study Area Name", "Data Format"
  // (their keys in SettingsKeys.h).
  virtual TextPropertySetPtr ExtensionProperties() = 0;
  // "Use Group Layer For Analysis", "ChangeGroupLayerName".
  virtual TextPropertySetPtr ExtensionOptions() = 0;
  // The polygon of the study area named by "CurrentExtent", read through its
  // layer file, or no object.
  virtual std::shared_ptr<Geometry> CurrentStudyAreaGeometry() = 0;
  virtual std::string CurrentDatasetName() = 0;
  virtual DataAccessServicePtr GetDataAccessService() = 0;
  virtual DataManagerPtr GetDataManager() = 0;
};

using TovExtensionPtr = std::shared_ptr<TovExtension>;

} // namespace tov
