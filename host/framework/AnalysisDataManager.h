#pragma once
#include "platform/framework/DataManager.h"

#include "host/framework/JsonDataset.h"

#include <string>
#include <vector>

namespace tov {

// The data manager of an open analysis: the installed data sets, the
// analysis's study area catalogue and its scratch folders.
class AnalysisDataManager : public DataManager {
public:
  // Scratch layers go into folders under scratchFolder (native; "" keeps
  // them in the system's temporary folder).
  AnalysisDataManager(std::vector<JsonDatasetPtr> datasets, StudyAreaCatalogPtr catalog,
                      std::string scratchFolder = std::string())
      : m_datasets(std::move(datasets)), m_catalog(std::move(catalog)), m_scratchFolder(std::move(scratchFolder)) {}
  // Removes the scratch folders it made.
  ~AnalysisDataManager() override;
  AnalysisDataManager(const AnalysisDataManager&) = delete;
  AnalysisDataManager& operator=(const AnalysisDataManager&) = delete;

  long DataSetCount() override { return static_cast<long>(m_datasets.size()); }
  HostDatasetPtr DataSet(long index) override;
  std::string DataSetName(long index) override { return DataSet(index)->Name(); }
  HostDatasetPtr DataSetByName(const std::string& name) override;
  StudyAreaCatalogPtr GetStudyAreaCatalog() override { return m_catalog; }
  std::string MediaPath(const std::string& name) override;
  // <scratch folder>/<process id>-<n>/DrawnArea; folders left behind by a
  // process that is gone are removed first.
  std::string ScratchLayerPath() override;

  const std::vector<JsonDatasetPtr>& DataSets() const { return m_datasets; }
  // A data set installed while the analysis is open; one of the same name
  // is replaced.
  void AddDataSet(const JsonDatasetPtr& dataset);

private:
  std::vector<JsonDatasetPtr> m_datasets;
  StudyAreaCatalogPtr m_catalog;
  std::string m_scratchFolder;
  std::vector<std::string> m_scratchMade; // native
  bool m_staleRemoved = false;
};

} // namespace tov
