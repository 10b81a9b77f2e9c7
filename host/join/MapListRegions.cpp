#include "host/join/MapListRegions.h"

#include "host/join/MethodTaskStart.h"

#include "host/framework/MethodDescriptor.h"
#include "methods/maplist/SelectFromListDialog.h"
#include "methods/maplist/TovSSAMapListTask.h"
#include "platform/forms/ListControl.h"
#include "platform/framework/DataAccessService.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/framework/TaskLayer.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/Settings.h"

#include <map>

namespace tov {

namespace {
constexpr char kSource[] = "Regions";
} // namespace

MapListRegions::MapListRegions(const DataManagerPtr& dataManager, const HostApplicationPtr& application,
                               const std::string& datasetName)
    : m_application(application) {
  m_dataset = Must(dataManager, "the data manager")->DataSetByName(datasetName);
  m_descriptor = FindMethodDescriptor(m_dataset, kMethodName);
  if (!m_descriptor)
    throw HostError(err::InvalidCall, kSource,
                    "The data set \"" + datasetName + "\" offers no regions picked by name (" + kMethodName + ").");
  m_task = StartMethodTask<TovSSAMapListTask>(
      kMapListTaskProgId, m_descriptor, m_dataset, dataManager, application, kSource,
      "The map list method is not installed.",
      "The settings of the method \"" + std::string(kMethodName) + "\" of the data set \"" + datasetName +
          "\" cannot be used (see the error log).");
}

MapListRegions::~MapListRegions() = default;

std::shared_ptr<SelectFromListDialog> MapListRegions::NewListPage() {
  auto page = std::make_shared<SelectFromListDialog>();
  page->SetLabelCaption(m_descriptor->GetPropertyList()->GetValue("ListDialogLabel"));
  m_task->InsertRegionNames(*page);
  return page;
}

std::vector<std::string> MapListRegions::Offered(const std::string& search) {
  std::shared_ptr<SelectFromListDialog> page = NewListPage();
  page->Ctl("SearchTextBox")->SetText(search);
  page->ResetParams();
  auto from = page->CtlAs<ListControl>("FromList");
  std::vector<std::string> names;
  names.reserve(static_cast<size_t>(from->ListCount()));
  for (long i = 0; i < from->ListCount(); ++i) names.push_back(from->List(i));
  page->Unload();
  return names;
}

std::vector<std::string> MapListRegions::NamesOfIdentifiers(const std::vector<std::string>& identifiers) {
  const std::string idField = m_descriptor->GetPropertyList()->GetValue("MainLayerIDFieldName");
  const std::string listField = m_task->ListFieldName();
  DataSetLayerPtr layer = m_dataset->LayerByName(m_descriptor->GetPropertyList()->GetValue("MainLayer"));
  TovExtensionPtr extension = Must(GetTovExtension(m_application), "the analysis extension");
  FeatureCursorPtr cursor = Must(extension->GetDataAccessService(), "the data access service")
                                ->SearchLayer(Must(layer, "the main layer")->SourceName(), true,
                                              listField + "," + idField, "", m_dataset->Name());
  if (!cursor) throw HostError(err::InvalidCall, kSource, "The main layer \"" + layer->Name() + "\" cannot be read.");
  const long nameIndex = cursor->FindField(listField), idIndex = cursor->FindField(idField);
  if (nameIndex < 0 || idIndex < 0)
    throw HostError(err::InvalidCall, kSource,
                    "The main layer \"" + layer->Name() + "\" lacks the field " +
                        (idIndex < 0 ? idField : listField) + ".");
  std::map<std::string, std::string> nameById;
  while (FeaturePtr feature = cursor->NextFeature())
    nameById.emplace(feature->Value(idIndex).ToString(), feature->Value(nameIndex).ToString());
  std::vector<std::string> names;
  for (const std::string& id : identifiers)
    if (auto it = nameById.find(id); it != nameById.end()) names.push_back(it->second);
  return names;
}

} // namespace tov
