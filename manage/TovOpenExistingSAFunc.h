#pragma once
#include "manage/TovSSAManageFunction.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/runtime/ProgIds.h"

#include <string>

namespace tov {

// Puts a saved study area back on the focus map and makes it the current
// one. Parameters: "Application", "DataManager", "StudyAreaName".
class TovOpenExistingSAFunc : public TovSSAManageFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovOpenExistingSAFunc";
  TovOpenExistingSAFunc();

  // False without a message when the catalogue has no such study area; with
  // the "unable to locate" message when its layer file or data is missing.
  bool OpenStudyArea();
  // Removes from the focus map, at any depth, every feature layer that shows
  // the layer's data; returns how many.
  long RemoveLayersOfSameData(const FeatureLayerPtr& layer, const HostApplicationPtr& application);
  // True when the layer shows the data of the layer saved at path.
  bool IsLayerOfLayerFile(const FeatureLayerPtr& layer, const std::string& path);

  const std::string& StudyAreaName() const { return m_sSAName; }

protected:
  bool Work() override { return OpenStudyArea(); }
  bool SetOwnParam(const std::string& key, Variant& paramValue) override;
  bool OwnParametersComplete() override { return !m_sSAName.empty(); }

private:
  std::string m_sSAName;
};

} // namespace tov
