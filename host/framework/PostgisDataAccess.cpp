#include "host/framework/PostgisDataAccess.h"

#include "host/gis/PostgisWorkspace.h"
#include "platform/runtime/HostError.h"

namespace tov {
namespace {
const char kSource[] = "DataAccessService";
}

FeatureClassPtr PostgisDataAccess::OpenTable(JsonDataset& dataset, const std::string& table,
                                             const std::string& sourceName) {
  const std::string& connection = dataset.PostgisConnection();
  PostgisWorkspacePtr workspace;
  try {
    workspace = PostgisWorkspace::Open(connection);
  } catch (const HostError& e) {
    throw HostError(e.Number(), kSource,
                    "The data of the data set \"" + dataset.Name() + "\" cannot be read: " + e.Description() +
                        ". Check its \"postgis\" connection string in " + dataset.Folder() + "/dataset.json.");
  }
  if (!workspace->FeatureClassExists(table)) {
    const auto schemas = PostgisWorkspace::NamedSchemas(connection);
    throw HostError(err::InvalidCall, kSource,
                    "The data set \"" + dataset.Name() + "\" has no layer \"" + sourceName + "\": there is no table \"" +
                        table + "\" in " + (schemas.empty() ? std::string("the database") : "the schema \"" + schemas.front() + "\"") +
                        " of \"" + PostgisWorkspace::Shown(connection) + "\".");
  }
  return workspace->OpenFeatureClass(table);
}

} // namespace tov
