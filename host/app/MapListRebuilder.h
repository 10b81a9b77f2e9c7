#pragma once
#include "host/studyareas/StudyAreaRebuilder.h"
#include "platform/runtime/Collection.h"

namespace tov {

// A study area of regions picked by name given another set on the property
// sheet: the method's own list page opens with the stored regions chosen,
// and the method's function stores the union of the new set in place.
class MapListRebuilder : public StudyAreaRebuilder {
public:
  std::string Caption() const override { return "Change the regions..."; }
  std::string FunctionProgId() const override;
  bool Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
            const HostApplicationPtr& application) override;
  void PassParameters(ITovFunction& function) override;

  // The names chosen when the list page was accepted.
  const CollectionPtr& Regions() const { return m_regions; }

private:
  CollectionPtr m_regions;
};

// Registers it for the map list method's study areas.
void RegisterMapListRebuilder();

} // namespace tov
