#pragma once
#include "host/geocoder/Gazetteer.h"
#include "platform/framework/DataManager.h"
#include "platform/framework/ITovTask.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/gis/HostApplication.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/Trap.h"

#include <string>

namespace tov {

// "TovGeocoder.TovSinglePointGeocoder": finds one site from what the user
// types (a ZIP code, a place, an address) in the gazetteer of the data set,
// driven as a task:
//   Init(dataManager, application)  True when a gazetteer could be read (the
//                                   current data set's, else the first one's);
//   SetParam (keys in any case)     "DatasetName" (that data set's gazetteer),
//                                   "PropertySet" and "ResultCollection" (kept
//                                   by reference; an empty one gets a new
//                                   object), "AllowSitesOutOfSA",
//                                   "DialogMainLabelCaption";
//   DoParamSelector                 shows "GeocoderDialog": 1 Next, 2 Back,
//                                   -1 Cancel or close box.
// Next puts "Status" ("Succeeded", "Invalid": only the ZIP or place of an
// address was found, or "Failed") and "Point" (WGS 84, no object when
// failed) into the result collection. The text typed is kept in the property
// set under "GeocoderAddress".
class TovSinglePointGeocoder : public ITovTask {
public:
  static constexpr char kModulePath[] = "TovGeocoder\\TovSinglePointGeocoder";
  static constexpr char kAddressKey[] = "GeocoderAddress";

  TovSinglePointGeocoder();
  ~TovSinglePointGeocoder() override;

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

  // The gazetteer in use (no object before a successful Init).
  const GazetteerPtr& GazetteerInUse() const { return m_gazetteer; }

private:
  // The gazetteer of a data set of the data manager, or no object when it
  // has none or it cannot be read (the reason goes to the error handler).
  GazetteerPtr GazetteerOf(const std::string& datasetName);

  ErrorSite m_errors;
  int32_t m_lastError = 0;
  DataManagerPtr m_dataManager;
  HostApplicationPtr m_application;
  GazetteerPtr m_gazetteer;
  TaskPropertySetPtr m_propertySet;
  CollectionPtr m_results;
  std::string m_caption;
  // Sites outside the study area are always allowed: the geocoder knows no
  // study area; the flag is kept for the caller's sake.
  bool m_allowOutside = true;
};

} // namespace tov
