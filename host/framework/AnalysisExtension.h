#pragma once
#include "platform/framework/TovExtension.h"

#include "host/framework/AnalysisDatabase.h"
#include "host/framework/AnalysisDataManager.h"
#include "host/framework/GeoPackageDataAccess.h"

namespace tov {

// "TovKernel.TovExtension" of an open analysis: its settings live in
// analysis.sqlite, next to the catalogue.
class AnalysisExtension : public TovExtension {
public:
  AnalysisExtension(AnalysisDatabasePtr db, std::shared_ptr<AnalysisDataManager> dataManager);

  TextPropertySetPtr ExtensionProperties() override { return m_properties; }
  TextPropertySetPtr ExtensionOptions() override { return m_options; }
  std::shared_ptr<Geometry> CurrentStudyAreaGeometry() override;
  std::string CurrentDatasetName() override;
  DataAccessServicePtr GetDataAccessService() override { return m_dataAccess; }
  DataManagerPtr GetDataManager() override { return m_dataManager; }

  // Host side: which data set the analysis works on (persisted).
  void SetCurrentDatasetName(const std::string& name);
  std::shared_ptr<GeoPackageDataAccess> DataAccess() const { return m_dataAccess; }

private:
  AnalysisDatabasePtr m_db;
  std::shared_ptr<AnalysisDataManager> m_dataManager;
  std::shared_ptr<GeoPackageDataAccess> m_dataAccess;
  TextPropertySetPtr m_properties;
  TextPropertySetPtr m_options;
};

} // namespace tov
