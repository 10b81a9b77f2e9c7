#include "manage/TovDeleteExistingSAFunc.h"

#include "manage/DeleteConfirmSADialog.h"
#include "manage/ManageUtils.h"
#include "pages/modi18N.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/ActiveView.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/Map.h"
#include "store/Settings.h"
#include "store/StudyAreaDataset.h"

#include <vector>

namespace tov {

namespace {

StudyAreaCatalogPtr CatalogOf(const DataManagerPtr& dataManager) {
  return Must(Must(dataManager, "the data manager")->GetStudyAreaCatalog(), "the study area catalogue");
}

MapDocumentPtr DocumentOf(const HostApplicationPtr& application) {
  return Must(Must(application, "the application")->Document(), "the document");
}

// The layer saved in the study area's layer file, or no object when there is
// no such study area or its file or data is missing.
FeatureLayerPtr StudyAreaFileLayer(const StudyAreaCatalogPtr& catalog, const std::string& name) {
  StudyAreaRecordPtr record = catalog->Item(name);
  if (!record) return nullptr;
  return OpenLayerFileLayer(record->FilePath());
}

// Unloads the confirmation dialog however DeleteStudyArea ends.
struct UnloadOnExit {
  std::shared_ptr<DeleteConfirmSADialog> dialog;
  ~UnloadOnExit() {
    try {
      dialog->Unload();
    } catch (...) {
    }
  }
};

} // namespace

TovDeleteExistingSAFunc::TovDeleteExistingSAFunc() : TovSSAManageFunction(kModulePath) {}

bool TovDeleteExistingSAFunc::SetOwnParam(const std::string& key, Variant& paramValue) {
  if (key != "StudyAreaNames") return false;
  m_names = paramValue.ToObjectAs<Collection>();
  return true;
}

void TovDeleteExistingSAFunc::ReplaceByKeptName(long index) {
  m_names->Remove(index);
  if (index > m_names->Count()) m_names->Add(Variant(kKeptName));
  else m_names->Add(Variant(kKeptName), std::string(), index);
}

bool TovDeleteExistingSAFunc::DeleteStudyArea() {
  return Trap(m_errors, "DeleteStudyArea ", false, [&] {
    auto dialog = std::make_shared<DeleteConfirmSADialog>();
    UnloadOnExit unload{dialog};
    MapDocumentPtr document = DocumentOf(m_pApplication);
    TovExtensionPtr extension = Must(GetTovExtension(m_pApplication), "the analysis extension");
    TextPropertySetPtr properties = Must(extension->ExtensionProperties(), "the extension properties");
    const std::string current = properties->GetProperty(kCurrentExtentKey);
    StudyAreaCatalogPtr catalog = CatalogOf(m_pDataManager);
    Must(m_names, "the list of study area names");
    bool wasCurrent = false;
    bool removed = false;

    auto deleteOne = [&](const std::string& name) {
      wasCurrent = wasCurrent || name == current;
      removed = RemoveLayersOf(name) || removed;
      DeleteDatasetOf(name);
      catalog->Remove(name);
    };

    bool yesToAll = false;
    for (long i = 1; i <= m_names->Count(); ++i) {
      const std::string name = m_names->Item(i).ToString();
      const int16_t answer = dialog->Ask(name);
      if (answer == DeleteConfirmSADialog::kYesToAll) {
        yesToAll = true;
        break;
      }
      if (answer == DeleteConfirmSADialog::kYes) {
        deleteOne(name);
      } else if (answer == DeleteConfirmSADialog::kNo) {
        ReplaceByKeptName(i);
      } else {
        // Closed without an answer: the user wants out. This name and the
        // ones not asked yet are kept; asking again for each of them would
        // not be what the close meant.
        for (long j = i; j <= m_names->Count(); ++j) ReplaceByKeptName(j);
        break;
      }
    }
    if (yesToAll) {
      // From the start again: names deleted or kept before (now " ") find no
      // record and nothing is done for them.
      for (long j = 1; j <= m_names->Count(); ++j) deleteOne(m_names->Item(j).ToString());
    }

    if (wasCurrent) {
      properties->SetProperty(kCurrentExtentKey, kNoCurrentExtent);
      if (Must(extension->ExtensionOptions(), "the extension options")->GetProperty(kChangeGroupLayerNameKey) != "False") {
        properties->SetProperty(kGroupLayerForAnalysisKey, "");
        properties->SetProperty(kStudyAreaNameKey, "");
      }
    }
    if (removed) {
      for (long m = 0; m < document->MapCount(); ++m)
        if (ActiveViewPtr view = As<ActiveView>(document->Map(m))) view->Refresh();
      document->RefreshContentsView();
    }
    return true;
  });
}

bool TovDeleteExistingSAFunc::RemoveStudyAreaLayers(const std::string& name) {
  return Trap(m_errors, "RemoveStudyAreaLayers ", false, [&] { return RemoveLayersOf(name); });
}

bool TovDeleteExistingSAFunc::RemoveLayersOf(const std::string& name) {
  FeatureLayerPtr fileLayer = StudyAreaFileLayer(CatalogOf(m_pDataManager), name);
  if (!fileLayer) return false;
  MapDocumentPtr document = DocumentOf(m_pApplication);
  const std::string groupName = GetTextResources()->FindString("189") + name;
  bool deleted = false;
  for (long m = 0; m < document->MapCount(); ++m) {
    MapPtr map = Must(document->Map(m), "a map");
    EnumLayerPtr layers = Must(map->Layers(true), "the map's layers");
    layers->Reset();
    while (LayerPtr layer = layers->Next()) {
      FeatureLayerPtr featureLayer = As<FeatureLayer>(layer);
      if (!featureLayer || !featureLayer->FeatureClass()) continue;
      if (!ShowSameData(featureLayer->FeatureClass(), fileLayer->FeatureClass())) continue;
      map->DeleteLayer(featureLayer);
      deleted = true;
    }
  }
  // The analysis group layer made for this study area, once nothing is left
  // in it.
  for (long m = 0; m < document->MapCount(); ++m) {
    MapPtr map = Must(document->Map(m), "a map");
    EnumLayerPtr layers = Must(map->Layers(true), "the map's layers");
    layers->Reset();
    while (LayerPtr layer = layers->Next()) {
      GroupLayerPtr group = As<GroupLayer>(layer);
      if (!group || group->Name() != groupName || group->Count() != 0) continue;
      map->DeleteLayer(group);
      deleted = true;
    }
  }
  return deleted;
}

bool TovDeleteExistingSAFunc::DeleteStudyAreaDataset(const std::string& name) {
  return Trap(m_errors, "DeleteStudyAreaDataset ", false, [&] {
    DeleteDatasetOf(name);
    return false;
  });
}

void TovDeleteExistingSAFunc::DeleteDatasetOf(const std::string& name) {
  FeatureLayerPtr fileLayer = StudyAreaFileLayer(CatalogOf(m_pDataManager), name);
  if (!fileLayer) return;
  // The layer file itself is the catalogue's to remove with the record.
  DeleteDatasetAndGeodatabase(fileLayer->FeatureClass());
}

} // namespace tov
