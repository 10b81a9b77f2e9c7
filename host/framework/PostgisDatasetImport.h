#pragma once
#include <string>
#include <vector>

namespace tov {

// Loads a GeoPackage data set into a PostGIS database and describes the
// copy: each layer a table with a spatial index, in the schema the
// connection string names ("schemas=") or else one named after the data
// set, and a data set "<NAME>-postgis" in <dataRoot>/<NAME>-postgis whose
// description is the original's with "postgis" instead of "geopackage".
// Importing again replaces the tables and the description.
class PostgisDatasetImport {
public:
  struct Result {
    std::string datasetName; // the new data set
    std::string folder;      // native folder of its dataset.json
    std::string connection;  // its "postgis" connection string
    std::string schema;
    std::vector<std::pair<std::string, long>> tables; // name, rows
  };

  // Raises HostError (a clear message) when the data set, its GeoPackage or
  // the database cannot be used; nothing of a failed import is described.
  static Result Run(const std::string& nativeDataRoot, const std::string& datasetName, const std::string& connection);

  // Copies tables of a GeoPackage (all when `tables` is empty) into the
  // schema of the database, each with a spatial index, replacing tables of
  // the same names; with ownSchema the schema is made afresh. Returns the
  // rows of each table copied.
  static std::vector<std::pair<std::string, long>> CopyTables(const std::string& nativeGeoPackage,
                                                             std::vector<std::string> tables,
                                                             const std::string& connection, const std::string& schema,
                                                             bool ownSchema);
  // Drops a schema and everything in it (a missing one is no error).
  static void DropSchema(const std::string& connection, const std::string& schema);

  // A schema name made from a data set name: lower case letters, digits and
  // underscores, not starting with a digit.
  static std::string SchemaFor(const std::string& datasetName);
};

} // namespace tov
