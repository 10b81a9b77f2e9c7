#pragma once
#include "platform/framework/DataManager.h"

#include "host/framework/JsonDataset.h"

#include <vector>

namespace tov {

// The data manager of an open analysis: the installed data sets and the
// analysis's study area catalogue.
class AnalysisDataManager : public DataManager {
public:
  AnalysisDataManager(std::vector<JsonDatasetPtr> datasets, StudyAreaCatalogPtr catalog)
      : m_datasets(std::move(datasets)), m_catalog(std::move(catalog)) {}

  long DataSetCount() override { return static_cast<long>(m_datasets.size()); }
  HostDatasetPtr DataSet(long index) override;
  std::string DataSetName(long index) override { return DataSet(index)->Name(); }
  HostDatasetPtr DataSetByName(const std::string& name) override;
  StudyAreaCatalogPtr GetStudyAreaCatalog() override { return m_catalog; }
  std::string MediaPath(const std::string& name) override;

  const std::vector<JsonDatasetPtr>& DataSets() const { return m_datasets; }

private:
  std::vector<JsonDatasetPtr> m_datasets;
  StudyAreaCatalogPtr m_catalog;
};

} // namespace tov
