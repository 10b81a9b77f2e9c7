#pragma once
#include "host/join/MapListRegions.h"
#include "host/studyareas/StudyAreaRebuilder.h"
#include "platform/gis/SelectionSet.h"
#include "platform/runtime/Collection.h"

#include <memory>

namespace tov {

// A study area of regions picked by name given another set on the property
// sheet: the method's own pages (the list page with the stored regions
// chosen, and its map page when the user switches), and the method's
// function storing the union of the new set in place.
class MapListRebuilder : public StudyAreaRebuilder {
public:
  std::string Caption() const override { return "Change the regions..."; }
  std::string FunctionProgId() const override;
  // Back and Cancel both leave the study area as it is.
  bool Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
            const HostApplicationPtr& application) override;
  void PassParameters(ITovFunction& function) override;

  // The names chosen when the list page was accepted (none when the map
  // page was).
  const CollectionPtr& Regions() const { return m_regions; }
  // The map page's selection when it was accepted (none otherwise).
  const SelectionSetPtr& Selection() const { return m_selection; }

private:
  // Holds the method's task: an accepted map page's selection lives in its map.
  std::unique_ptr<MapListRegions> m_method;
  CollectionPtr m_regions;
  SelectionSetPtr m_selection;
};

// Registers it for the map list method's study areas.
void RegisterMapListRebuilder();

} // namespace tov
