#include "host/join/MapListRebuilder.h"

#include "host/join/RegionNameText.h"
#include "methods/maplist/TovSSAMapListTask.h"
#include "pages/WizardPage.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

std::string MapListRebuilder::FunctionProgId() const { return kMapListFunctionProgId; }

bool MapListRebuilder::Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
                            const HostApplicationPtr& application) {
  m_method = std::make_unique<MapListRegions>(dataManager, application, record->BaseDataSet());
  // The stored regions open chosen, as on a second visit of the page.
  auto stored = std::make_shared<Collection>();
  for (const std::string& name : m_method->NamesOfIdentifiers(
           FeaturesListIdentifiers(record->RecordProperties()->GetProperty("FEATURESLIST"))))
    stored->Add(name);
  auto state = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
  state->SetProperty("SelectedItems", Variant(stored));

  TovSSAMapListTask& task = m_method->Task();
  Variant value(state);
  task.SetParam("PropertySet", value);
  if (task.RunPagesKeepingName() != kPagesAccepted) return false;
  m_regions = task.RegionsSelectedByNames();
  m_selection = task.SelectionSet();
  return true;
}

void MapListRebuilder::PassParameters(ITovFunction& function) {
  Variant regions(m_regions), selection(m_selection);
  function.SetParam("RegionsSelectedByNames", regions);
  function.SetParam("SelectionSet", selection);
}

void RegisterMapListRebuilder() {
  RegisterStudyAreaRebuilder(MapListRegions::kMethodName, [] { return std::make_unique<MapListRebuilder>(); });
}

} // namespace tov
