#pragma once
#include "framework/TovSSAMethodTask.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/gis/SelectionSet.h"
#include "platform/runtime/Collection.h"

#include <memory>
#include <string>

namespace tov {

class SelectFromListDialog;
class SelectFromMapDialog;

// The study area is the union of whole regions of a reference layer (the
// descriptor's "MainLayer") that the user picks by name on the list page or
// on the map page, switching between them at will; the name page follows.
// Back on the name page returns to the page the user came from.
class TovSSAMapListTask : public TovSSAMethodTask {
public:
  static constexpr char kModulePath[] = "TovSetupStudyArea\\TovSSAMapListTask";
  TovSSAMapListTask();

  // Stores both, creates the function, then reads the configuration: the
  // "MainLayer" setting, that data set layer and its map layer name, and the
  // "ListField" setting of the task layer of that name.
  bool Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) override;

  // The list page, then the name page: 0 accepted, 2 Back on the list page,
  // -1 cancelled.
  int32_t ShowSelectFromListDialog();
  // The map page, then the name page; the list page when the user switches
  // to it (the map's selection, if any, goes with it).
  int32_t ShowSelectFromMapDialog();
  // Fills the page's region collection with the list field's values of
  // every feature of the reference layer, each keyed by itself. A layer
  // that cannot be searched or lacks the field is told in a message box and
  // leaves the page without regions.
  void InsertRegionNames(SelectFromListDialog& page);
  // The page's ToList, first to last, becomes RegionsSelectedByNames.
  void SelectFeaturesByRegionNames(SelectFromListDialog& page);

  const CollectionPtr& RegionsSelectedByNames() const { return m_regionsSelectedByNames; }
  const SelectionSetPtr& SelectionSet() const { return m_selectionSet; }
  bool FromMapOrList() const { return m_fromMapOrList; }
  const std::string& MainLayerName() const { return m_sMainLayerName; }
  const std::string& ListFieldName() const { return m_sListFieldName; }

protected:
  // The first page the main task asked for; afterwards only the input of
  // the page the sequence ended on survives.
  int32_t RunPages() override;
  bool FunctionInputsMissing() override;
  void PassParameters() override;
  // "frommaporlist": the map page first.
  bool SetOwnParam(const std::string& lowerKey, Variant& paramValue) override;

private:
  void ReadConfiguration();

  CollectionPtr m_regionsSelectedByNames;
  SelectionSetPtr m_selectionSet;
  bool m_fromMapOrList = false;
  std::string m_sMainLayerName; // the reference layer's name in a map
  std::string m_sListFieldName;
  DataSetLayerPtr m_mainLayer;
  std::shared_ptr<SelectFromMapDialog> m_mapPage;
};

} // namespace tov
