#include "host/framework/AnalysisExtension.h"

#include "host/common/Paths.h"
#include "host/framework/SqliteTextPropertySet.h"
#include "platform/framework/SettingsKeys.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Geometry.h"
#include "platform/gis/LayerFile.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <sys/stat.h>

namespace tov {
namespace {
const char kAnalysisFacet[] = "Analysis";
const char kCurrentDataset[] = "CurrentDataset";
} // namespace

AnalysisExtension::AnalysisExtension(AnalysisDatabasePtr db, std::shared_ptr<AnalysisDataManager> dataManager)
    : m_db(std::move(db)), m_dataManager(std::move(dataManager)) {
  m_properties = SqliteTextPropertySet::ForFacet(m_db, "ExtensionProperties");
  m_options = SqliteTextPropertySet::ForFacet(m_db, "ExtensionOptions");
  // The data access service asks for the current name when a caller gives
  // none; it must not keep the extension alive, so it captures the database.
  AnalysisDatabasePtr database = m_db;
  m_dataAccess = std::make_shared<GeoPackageDataAccess>(
      m_dataManager->DataSets(), [database] { return database->GetSetting(kAnalysisFacet, kCurrentDataset); });
}

std::string AnalysisExtension::CurrentDatasetName() { return m_db->GetSetting(kAnalysisFacet, kCurrentDataset); }

void AnalysisExtension::SetCurrentDatasetName(const std::string& name) {
  m_db->SetSetting(kAnalysisFacet, kCurrentDataset, name);
}

std::shared_ptr<Geometry> AnalysisExtension::CurrentStudyAreaGeometry() {
  std::string name = m_properties->GetProperty(kCurrentExtentKey);
  if (name.empty()) return nullptr;
  StudyAreaRecordPtr record = m_dataManager->GetStudyAreaCatalog()->Item(name);
  if (!record) return nullptr;
  std::string path = record->FilePath();
  struct stat st {};
  if (stat(ToNativePath(path).c_str(), &st) != 0) return nullptr; // not written yet, or deleted
  auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
  layerFile->Open(path);
  auto layer = std::dynamic_pointer_cast<FeatureLayer>(layerFile->Layer());
  if (!layer) return nullptr;
  FeatureClassPtr featureClass = layer->FeatureClass();
  if (!featureClass) return nullptr;
  FeatureCursorPtr cursor = featureClass->Search(nullptr, false);
  FeaturePtr feature = cursor ? cursor->NextFeature() : nullptr;
  return feature ? feature->ShapeCopy() : nullptr;
}

} // namespace tov
