#include "host/app/MapListRebuilder.h"

#include "host/app/MapListRegions.h"
#include "host/app/RegionNameText.h"
#include "methods/maplist/SelectFromListDialog.h"
#include "platform/forms/ListControl.h"
#include "platform/framework/TaskPropertySet.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

std::string MapListRebuilder::FunctionProgId() const { return kMapListFunctionProgId; }

bool MapListRebuilder::Edit(const StudyAreaRecordPtr& record, const DataManagerPtr& dataManager,
                            const HostApplicationPtr& application) {
  MapListRegions regions(dataManager, application, record->BaseDataSet());
  // The stored regions open chosen, as on a second visit of the page.
  auto stored = std::make_shared<Collection>();
  for (const std::string& name :
       regions.NamesOfIdentifiers(FeaturesListIdentifiers(record->RecordProperties()->GetProperty("FEATURESLIST"))))
    stored->Add(name);
  auto state = CreateAs<TaskPropertySet>(kTaskPropertySetProgId);
  state->SetProperty("SelectedItems", Variant(stored));

  std::shared_ptr<SelectFromListDialog> page = regions.NewListPage();
  page->ReadFromPropertySet(state);
  page->InitializeDialog();
  page->ResetParams();
  page->ShowModal();
  const bool accepted = page->m_Result == kPageNext;
  if (accepted) {
    auto to = page->CtlAs<ListControl>("ToList");
    m_regions = std::make_shared<Collection>();
    for (long i = 0; i < to->ListCount(); ++i) m_regions->Add(to->List(i));
  }
  page->Unload();
  return accepted;
}

void MapListRebuilder::PassParameters(ITovFunction& function) {
  Variant regions(m_regions);
  function.SetParam("RegionsSelectedByNames", regions);
}

void RegisterMapListRebuilder() {
  RegisterStudyAreaRebuilder(MapListRegions::kMethodName, [] { return std::make_unique<MapListRebuilder>(); });
}

} // namespace tov
