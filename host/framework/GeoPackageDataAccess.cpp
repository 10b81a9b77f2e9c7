#include "host/framework/GeoPackageDataAccess.h"

#include "host/common/Paths.h"
#include "host/framework/PostgisDataAccess.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/QueryFilter.h"
#include "platform/gis/Workspace.h"
#include "platform/gis/WorkspaceFactory.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <sys/stat.h>

namespace tov {
namespace {
const char kSource[] = "DataAccessService";
}

void GeoPackageDataAccess::AddDataset(const JsonDatasetPtr& dataset) {
  m_workspaces.erase(dataset->GeoPackagePath());
  m_workspaces.erase("PG " + dataset->PostgisConnection());
  for (JsonDatasetPtr& ds : m_datasets)
    if (ds->Name() == dataset->Name()) {
      ds = dataset;
      return;
    }
  m_datasets.push_back(dataset);
}

JsonDatasetPtr GeoPackageDataAccess::FindDataset(const std::string& nameOrPath) const {
  std::string wanted = nameOrPath.empty() && m_currentName ? m_currentName() : nameOrPath;
  for (const auto& ds : m_datasets)
    if (ds->Name() == wanted || ds->DataSetPath() == wanted) return ds;
  return nullptr;
}

std::shared_ptr<FeatureClass> GeoPackageDataAccess::OpenOrFail(const std::string& sourceName,
                                                               const std::string& dataSet) {
  JsonDatasetPtr ds = FindDataset(dataSet);
  if (!ds) throw HostError(err::InvalidCall, kSource, "There is no data set named \"" + dataSet + "\".");
  auto layer = ds->FindSource(sourceName);
  std::string table = layer ? layer->SourceName() : sourceName;
  if (!ds->PostgisConnection().empty()) {
    FeatureClassPtr featureClass = PostgisDataAccess::OpenTable(*ds, table, sourceName);
    // One connection for the service's life, as one open file per GeoPackage.
    m_workspaces["PG " + ds->PostgisConnection()] = featureClass->Workspace();
    return featureClass;
  }
  const std::string& gpkg = ds->GeoPackagePath();
  struct stat st {};
  if (gpkg.empty() || stat(gpkg.c_str(), &st) != 0)
    throw HostError(err::FileNotFound, kSource,
                    "The data of the data set \"" + ds->Name() + "\" is missing (" +
                        (gpkg.empty() ? std::string("no GeoPackage is named") : gpkg) +
                        "). Build the sample data with \"make data\".");
  auto& cached = m_workspaces[gpkg];
  auto workspace = std::dynamic_pointer_cast<Workspace>(cached);
  if (!workspace) {
    auto factory = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId);
    workspace = factory->OpenFromFile(ToPlatformPath(gpkg));
    cached = workspace;
  }
  if (!workspace->FeatureClassExists(table))
    throw HostError(err::InvalidCall, kSource,
                    "The data set \"" + ds->Name() + "\" has no layer \"" + sourceName + "\".");
  return workspace->OpenFeatureClass(table);
}

std::shared_ptr<FeatureClass> GeoPackageDataAccess::OpenFeatureClass(const std::string& sourceName,
                                                                     const std::string& dataSet) {
  // Callers test for "no object" and say so themselves.
  try {
    return OpenOrFail(sourceName, dataSet);
  } catch (const HostError&) {
    return nullptr;
  }
}

std::shared_ptr<FeatureCursor> GeoPackageDataAccess::SearchLayer(const std::string& sourceName, bool recycling,
                                                                 const std::string& subFields,
                                                                 const std::string& whereClause,
                                                                 const std::string& dataSet) {
  auto featureClass = OpenFeatureClass(sourceName, dataSet);
  if (!featureClass) return nullptr;
  try {
    auto filter = CreateAs<QueryFilter>(kQueryFilterProgId);
    filter->SetWhereClause(whereClause);
    filter->SetSubFields(subFields);
    return featureClass->Search(filter, recycling);
  } catch (const HostError&) {
    return nullptr; // a refused query is "no cursor" to the caller
  }
}

} // namespace tov
