#include "methods/maplist/TovSSAMapListTask.h"

#include "methods/maplist/SelectFromListDialog.h"
#include "methods/maplist/SelectFromMapDialog.h"
#include "pages/modi18N.h"
#include "platform/forms/ListControl.h"
#include "platform/forms/MsgBox.h"
#include "platform/framework/DataAccessService.h"
#include "platform/framework/TaskLayer.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/runtime/ProgIds.h"
#include "platform/gis/Map.h"
#include "store/MapQueries.h"
#include "store/Settings.h"

namespace tov {

namespace {
constexpr char kMainLayerKey[] = "MainLayer";
constexpr char kListFieldKey[] = "ListField";
constexpr char kListDialogLabelKey[] = "ListDialogLabel";
} // namespace

TovSSAMapListTask::TovSSAMapListTask()
    : TovSSAMethodTask(kModulePath, kMapListFunctionProgId, SetParamFailures::Report) {}

bool TovSSAMapListTask::Init(const DataManagerPtr& dataManager, const HostApplicationPtr& application) {
  if (!TovSSAMethodTask::Init(dataManager, application)) return false;
  return Trap(m_errors, "ITovTask_Init ", false, [&] {
    ReadConfiguration();
    return true;
  });
}

void TovSSAMapListTask::ReadConfiguration() {
  TaskDescriptorPtr descriptor = Must(m_pSSATask, "the method's task descriptor");
  const std::string mainLayer = Must(descriptor->GetPropertyList(), "the method's settings")->GetValue(kMainLayerKey);
  const std::string what = "the main layer \"" + mainLayer + "\" of the data set";
  m_mainLayer = Must(Must(m_pDataSet, "the data set")->LayerByName(mainLayer), what.c_str());
  m_sMainLayerName = m_mainLayer->MapLayerName();
  const std::string layerWhat = "the method's layer \"" + mainLayer + "\"";
  m_sListFieldName = Must(descriptor->LayerByName(mainLayer), layerWhat.c_str())->GetValue(kListFieldKey);
}

bool TovSSAMapListTask::SetOwnParam(const std::string& lowerKey, Variant& paramValue) {
  if (lowerKey != "frommaporlist") return false;
  m_fromMapOrList = paramValue.ToBool();
  return true;
}

int32_t TovSSAMapListTask::RunPages() {
  const int32_t result = m_fromMapOrList ? ShowSelectFromMapDialog() : ShowSelectFromListDialog();
  // The function gets the input of the page the sequence ended on.
  if (m_fromMapOrList) m_regionsSelectedByNames.reset();
  else m_selectionSet.reset();
  return result;
}

int32_t TovSSAMapListTask::ShowSelectFromListDialog() {
  // A failure ends the run as Cancel would: nothing half-chosen goes on
  // (see docs/departures.md).
  return Trap(m_errors, "ShowSelectFromListDialog ", kPageCancel, [&] {
    auto page = std::make_shared<SelectFromListDialog>();
    PropertyListPtr settings =
        Must(Must(m_pSSATask, "the method's task descriptor")->GetPropertyList(), "the method's settings");
    page->SetLabelCaption(settings->GetValue(kListDialogLabelKey));
    if (page->CtlAs<ListControl>("FromList")->ListCount() == 0 && page->CtlAs<ListControl>("ToList")->ListCount() == 0)
      InsertRegionNames(*page);

    const int32_t result = RunPage(
        page,
        [&] {
          SelectFeaturesByRegionNames(*page);
          const int32_t named = ShowNamePageUnlessKept();
          m_fromMapOrList = false;
          return named;
        },
        PageEnd::KeepLoaded);
    if (!page->m_bChangeViews) {
      page->Unload();
      return result;
    }
    SelectFeaturesByRegionNames(*page);
    return ShowSelectFromMapDialog();
  });
}

int32_t TovSSAMapListTask::ShowSelectFromMapDialog() {
  return Trap(m_errors, "ShowSelectFromMapDialog ", kPageCancel, [&] {
    // Kept until the task goes: the selection handed on lives in its map.
    m_mapPage = std::make_shared<SelectFromMapDialog>();
    m_mapPage->m_pApplication = m_pApplication;
    m_mapPage->m_pDataManager = m_pDataManager;
    m_mapPage->m_pDataSet = m_pDataSet;
    m_mapPage->m_pSSATask = m_pSSATask;
    m_mapPage->m_sMainLayerName = m_sMainLayerName;
    m_mapPage->m_sListFieldName = m_sListFieldName;
    const int32_t result = RunPage(
        m_mapPage,
        [&] {
          const int32_t named = ShowNamePageUnlessKept();
          m_fromMapOrList = true;
          return named;
        },
        PageEnd::KeepLoaded);
    MapPtr map = m_mapPage->PageMap();
    FeatureLayerPtr layer = GetLayerByNameFromMap(m_sMainLayerName, map);
    if (!m_mapPage->m_ChangeViews) {
      m_selectionSet = layer ? layer->SelectionSet() : nullptr;
      m_mapPage->WriteToPropertySet(pPropertySet);
      return result;
    }
    m_selectionSet = layer && map->SelectionCount() > 0 ? layer->SelectionSet() : nullptr;
    return ShowSelectFromListDialog();
  });
}

void TovSSAMapListTask::InsertRegionNames(SelectFromListDialog& page) {
  Trap(m_errors, "InsertRegionNames ", [&] {
    TovExtensionPtr extension = Must(GetTovExtension(m_pApplication), "the analysis extension");
    DataAccessServicePtr dataAccess = Must(extension->GetDataAccessService(), "the data access service");
    const std::string sourceName = Must(m_mainLayer, "the main layer of the data set")->SourceName();
    FeatureCursorPtr cursor = dataAccess->SearchLayer(sourceName, true, "Shape, " + m_sListFieldName, "",
                                                      Must(m_pDataSet, "the data set")->Name());
    ResourceFinderPtr texts = GetTextResources();
    if (!cursor) {
      MsgBox(texts->FindString("177") + sourceName + texts->FindString("178"), vbCritical);
      return;
    }
    const long field = cursor->FindField(m_sListFieldName);
    if (field == -1) {
      MsgBox(texts->FindString("179") + m_sListFieldName + texts->FindString("180"), vbCritical);
      return;
    }
    page.m_pRegionsColl = std::make_shared<Collection>();
    // A name met twice raises: the names read so far stay.
    while (FeaturePtr feature = cursor->NextFeature()) {
      const std::string name = feature->Value(field).ToString();
      page.m_pRegionsColl->Add(name, name);
    }
  });
}

void TovSSAMapListTask::SelectFeaturesByRegionNames(SelectFromListDialog& page) {
  Trap(m_errors, "SelectFeaturesByRegionNames ", [&] {
    auto to = page.CtlAs<ListControl>("ToList");
    auto names = std::make_shared<Collection>();
    for (long i = 0; i < to->ListCount(); ++i) names->Add(to->List(i));
    m_regionsSelectedByNames = names;
  });
}

bool TovSSAMapListTask::FunctionInputsMissing() { return !m_function; }

void TovSSAMapListTask::PassParameters() {
  PassObject("Application", m_pApplication);
  PassObject("DataManager", m_pDataManager);
  PassValue("StudyAreaName", m_sSAName);
  PassObject("RegionsSelectedByNames", m_regionsSelectedByNames);
  PassObject("SelectionSet", m_selectionSet);
  PassObject("DataSet", m_pDataSet);
  PassObject("SSATask", m_pSSATask);
  PassValue("FromPropertyPage", false);
}

} // namespace tov
