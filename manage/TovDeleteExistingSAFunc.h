#pragma once
#include "manage/TovSSAManageFunction.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/gis/MapDocument.h"
#include "platform/runtime/Collection.h"
#include "platform/runtime/ProgIds.h"

#include <string>

namespace tov {

// Deletes a list of saved study areas, asking for each one: their map layers
// and analysis group layers, their datasets and their catalogue records.
// Parameters: "Application", "DataManager", "StudyAreaNames" (a collection of
// texts; a name the user keeps is replaced by " " in it).
class TovDeleteExistingSAFunc : public TovSSAManageFunction {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovDeleteExistingSAFunc";
  // What a refused name becomes in the list.
  static constexpr char kKeptName[] = " ";

  TovDeleteExistingSAFunc();

  bool DeleteStudyArea();
  // True when a layer of the study area, or its emptied analysis group
  // layer, was removed from a map.
  bool RemoveStudyAreaLayers(const std::string& name);
  // The result of DeleteDataset on the study area's dataset (False).
  bool DeleteStudyAreaDataset(const std::string& name);

  const CollectionPtr& StudyAreaNames() const { return m_names; }

protected:
  bool Work() override { return DeleteStudyArea(); }
  bool SetOwnParam(const std::string& key, Variant& paramValue) override;
  bool OwnParametersComplete() override { return m_names != nullptr; }

private:
  // The bodies of the public operations; failures pass to the caller, so a
  // failure stops DeleteStudyArea before the record goes.
  bool RemoveLayersOf(const std::string& name);
  void DeleteDatasetOf(const std::string& name);
  void ReplaceByKeptName(long index);

  CollectionPtr m_names;
};

} // namespace tov
