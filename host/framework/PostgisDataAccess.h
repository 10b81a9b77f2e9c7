#pragma once
#include "host/framework/JsonDataset.h"
#include "platform/gis/FeatureClass.h"

namespace tov {

// Opens the layers of a data set whose tables are in a PostGIS database
// (its description's "postgis" connection string), for GeoPackageDataAccess.
class PostgisDataAccess {
public:
  // The table of the data set; a database that cannot be reached, a missing
  // schema or a missing table raises HostError saying which.
  static FeatureClassPtr OpenTable(JsonDataset& dataset, const std::string& table,
                                   const std::string& sourceName);
};

} // namespace tov
