#include "host/app/MapListRegions.h"

#include "methods/maplist/SelectFromListDialog.h"
#include "methods/maplist/TovSSAMapListTask.h"
#include "platform/forms/ListControl.h"
#include "platform/framework/DataAccessService.h"
#include "platform/framework/DataSetLayer.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"
#include "store/Settings.h"

#include <algorithm>
#include <map>
#include <numeric>

namespace tov {

namespace {
constexpr char kSource[] = "Regions";

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), size_t{0});
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

} // namespace

MapListRegions::MapListRegions(const DataManagerPtr& dataManager, const HostApplicationPtr& application,
                               const std::string& datasetName)
    : m_application(application) {
  m_dataset = Must(dataManager, "the data manager")->DataSetByName(datasetName);
  TaskDescriptorPtr setup = m_dataset ? m_dataset->TaskByName("SetupStudyArea") : nullptr;
  m_descriptor = setup ? setup->ChildByName(kMethodName) : nullptr;
  if (!m_descriptor)
    throw HostError(err::InvalidCall, kSource,
                    "The data set \"" + datasetName + "\" offers no regions picked by name (" + kMethodName + ").");
  m_task = std::dynamic_pointer_cast<TovSSAMapListTask>(CreateObject(kMapListTaskProgId));
  if (!m_task) throw HostError(err::InvalidCall, kSource, "The map list method is not installed.");
  Variant value(m_descriptor);
  m_task->SetParam("SSATask", value);
  value = Variant(m_dataset);
  m_task->SetParam("DataSet", value);
  if (!m_task->Init(dataManager, application))
    throw HostError(err::InvalidCall, kSource,
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
                    "The main layer \"" + layer->Name() + "\" lacks the field " + (idIndex < 0 ? idField : listField) + ".");
  std::map<std::string, std::string> nameById;
  while (FeaturePtr feature = cursor->NextFeature())
    nameById.emplace(feature->Value(idIndex).ToString(), feature->Value(nameIndex).ToString());
  std::vector<std::string> names;
  for (const std::string& id : identifiers)
    if (auto it = nameById.find(id); it != nameById.end()) names.push_back(it->second);
  return names;
}

std::vector<std::string> FeaturesListIdentifiers(const std::string& featuresList) {
  std::vector<std::string> identifiers;
  if (featuresList.size() < 2 || featuresList.front() != '\'' || featuresList.back() != '\'') return identifiers;
  const std::string inner = featuresList.substr(1, featuresList.size() - 2);
  const std::string separator = "','";
  size_t start = 0;
  for (;;) {
    const size_t at = inner.find(separator, start);
    identifiers.push_back(inner.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) break;
    start = at + separator.size();
  }
  return identifiers;
}

std::vector<std::string> ClosestNames(const std::vector<std::string>& names, const std::string& wanted, size_t count) {
  const std::string folded = LowerCase(wanted);
  std::vector<std::pair<size_t, size_t>> ranked; // distance, position
  ranked.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) ranked.emplace_back(EditDistance(LowerCase(names[i]), folded), i);
  const size_t n = std::min(count, ranked.size());
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<long>(n), ranked.end());
  std::vector<std::string> closest;
  for (size_t i = 0; i < n; ++i) closest.push_back(names[ranked[i].second]);
  return closest;
}

} // namespace tov
