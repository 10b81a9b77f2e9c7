#pragma once
#include "platform/framework/DataAccessService.h"

#include "host/framework/JsonDataset.h"

#include <functional>
#include <map>
#include <vector>

namespace tov {

// Opens the layers of the host's data sets from their GeoPackages, or from
// their PostGIS databases (PostgisDataAccess) for those that name one. The
// source name may be a GeoPackage table or a data set layer name; the data
// set may be given by name or DataSetPath ("" = the current one).
class GeoPackageDataAccess : public DataAccessService {
public:
  GeoPackageDataAccess(std::vector<JsonDatasetPtr> datasets, std::function<std::string()> currentName)
      : m_datasets(std::move(datasets)), m_currentName(std::move(currentName)) {}

  std::shared_ptr<FeatureClass> OpenFeatureClass(const std::string& sourceName, const std::string& dataSet) override;
  std::shared_ptr<FeatureCursor> SearchLayer(const std::string& sourceName, bool recycling,
                                             const std::string& subFields, const std::string& whereClause,
                                             const std::string& dataSet) override;

  JsonDatasetPtr FindDataset(const std::string& nameOrPath) const;
  // A data set installed while the analysis is open (one of the same name is
  // replaced, its open workspace forgotten).
  void AddDataset(const JsonDatasetPtr& dataset);
  // Like OpenFeatureClass, but a missing data set, GeoPackage or table
  // raises HostError saying which (for the host's own use).
  std::shared_ptr<FeatureClass> OpenOrFail(const std::string& sourceName, const std::string& dataSet);

private:
  std::vector<JsonDatasetPtr> m_datasets;
  std::function<std::string()> m_currentName;
  std::map<std::string, ObjectPtr> m_workspaces; // by GeoPackage path or connection
};

} // namespace tov
