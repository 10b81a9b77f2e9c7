#include "manage/TovOpenExistingSAFunc.h"

#include "manage/ManageUtils.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/QueryFilter.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"
#include "store/GroupLayers.h"
#include "store/Settings.h"
#include "store/StudyAreaDataset.h"

namespace tov {

namespace {
constexpr double kCurrentOutlineWidth = 4.0;
constexpr double kOtherOutlineWidth = 2.0;
constexpr double kZoomRatio = 1.2;
} // namespace

TovOpenExistingSAFunc::TovOpenExistingSAFunc() : TovSSAManageFunction(kModulePath) {}

bool TovOpenExistingSAFunc::SetOwnParam(const std::string& key, Variant& paramValue) {
  if (key != "StudyAreaName") return false;
  m_sSAName = paramValue.ToString();
  return true;
}

bool TovOpenExistingSAFunc::OpenStudyArea() {
  return Trap(m_errors, "OpenStudyArea ", false, [&] {
    StudyAreaCatalogPtr catalog =
        Must(Must(m_pDataManager, "the data manager")->GetStudyAreaCatalog(), "the study area catalogue");
    StudyAreaRecordPtr record = catalog->Item(m_sSAName);
    if (!record) return false;
    MapDocumentPtr document = Must(Must(m_pApplication, "the application")->Document(), "the document");
    const std::string path = record->FilePath();
    FeatureLayerPtr layer = OpenLayerFileLayer(path);
    if (!layer) {
      ShowUnableToLocate(path);
      return false;
    }

    // The study area is never shown twice.
    RemoveLayersOfSameData(layer, m_pApplication);

    TovExtensionPtr extension = Must(GetTovExtension(m_pApplication), "the analysis extension");
    TextPropertySetPtr properties = Must(extension->ExtensionProperties(), "the extension properties");
    TextPropertySetPtr options = Must(extension->ExtensionOptions(), "the extension options");
    properties->SetProperty(kCurrentExtentKey, m_sSAName);
    if (options->GetProperty(kChangeGroupLayerNameKey) != "False") {
      properties->SetProperty(kGroupLayerForAnalysisKey, kAnalysesCreatedFor + m_sSAName);
      properties->SetProperty(kStudyAreaNameKey, m_sSAName);
    }

    MapPtr focusMap = Must(document->FocusMap(), "the focus map");
    if (options->GetProperty(kUseGroupLayerForAnalysisKey) == "True") {
      std::string groupName = properties->GetProperty(kGroupLayerForAnalysisKey);
      if (groupName.empty()) groupName = kMyAnalysesGroupName;
      GroupLayerPtr group = GetGroupLayerByName(focusMap, groupName);
      if (!group) {
        group = CreateAs<GroupLayer>(kGroupLayerProgId);
        group->SetName(groupName);
        group->SetVisible(true);
        focusMap->AddLayer(group);
      }
      group->Add(layer);
      MoveLastLayerToTop(group);
    } else {
      focusMap->AddLayer(layer);
    }

    // Outline widths: only layers that really show a study area's data count,
    // not every layer that happens to bear a study area's name.
    const std::string current = properties->GetProperty(kCurrentExtentKey);
    for (long m = 0; m < document->MapCount(); ++m) {
      EnumLayerPtr layers = Must(Must(document->Map(m), "a map")->Layers(true), "the map's layers");
      layers->Reset();
      while (LayerPtr each = layers->Next()) {
        FeatureLayerPtr featureLayer = As<FeatureLayer>(each);
        if (!featureLayer || !catalog->Exists(featureLayer->Name())) continue;
        StudyAreaRecordPtr owner = Must(catalog->Item(featureLayer->Name()), "the study area record");
        if (!IsLayerOfLayerFile(featureLayer, owner->FilePath())) continue;
        SetOutlineWidth(featureLayer, featureLayer->Name() == current ? kCurrentOutlineWidth : kOtherOutlineWidth);
      }
    }

    if (FeatureClassPtr featureClass = layer->FeatureClass()) {
      auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
      FeatureCursorPtr cursor = Must(featureClass->Search(filter, false), "a search cursor");
      // A study area's dataset holds one feature; an emptied one is shown
      // where the map already is (see docs/departures.md).
      if (FeaturePtr first = cursor->NextFeature()) {
        EnvelopePtr envelope = Must(Must(first->Shape(), "the study area's shape")->Envelope(), "an envelope");
        envelope->Expand(kZoomRatio, kZoomRatio, true);
        ActiveViewPtr view = Must(As<ActiveView>(focusMap), "the focus map's view");
        view->SetExtent(envelope);
        view->Refresh();
        document->RefreshContentsView();
      }
    }
    return true;
  });
}

long TovOpenExistingSAFunc::RemoveLayersOfSameData(const FeatureLayerPtr& layer, const HostApplicationPtr& application) {
  return Trap(m_errors, "RemoveLayersOfSameData ", 0L, [&] {
    MapPtr focusMap = Must(Must(Must(application, "the application")->Document(), "the document")->FocusMap(), "the focus map");
    FeatureClassPtr data = Must(layer, "the study area layer")->FeatureClass();
    long removed = 0;
    EnumLayerPtr layers = Must(focusMap->Layers(true), "the map's layers");
    layers->Reset();
    while (LayerPtr each = layers->Next()) {
      FeatureLayerPtr featureLayer = As<FeatureLayer>(each);
      if (!featureLayer || !featureLayer->FeatureClass()) continue;
      if (!ShowSameData(featureLayer->FeatureClass(), data)) continue;
      focusMap->DeleteLayer(featureLayer);
      ++removed;
    }
    return removed;
  });
}

bool TovOpenExistingSAFunc::IsLayerOfLayerFile(const FeatureLayerPtr& layer, const std::string& path) {
  return Trap(m_errors, "IsLayerOfLayerFile ", false, [&] {
    FeatureLayerPtr saved = OpenLayerFileLayer(path);
    return layer && saved && ShowSameData(layer->FeatureClass(), saved->FeatureClass());
  });
}

} // namespace tov
