#pragma once
#include "host/gis/HostWorkspace.h"

#include <optional>
#include <string>
#include <vector>

namespace tov {

// The tables of a PostgreSQL database with PostGIS, opened read-only through
// GDAL's PostgreSQL driver from a connection string in GDAL's own syntax
// ("PG:dbname=... host=... schemas=..."). Conditions, field lists and
// unions go to the server; a data set's layers are never copied whole.
// One object per connection string while anything uses it.
class PostgisWorkspace : public HostWorkspace {
public:
  // Connects; a server that cannot be reached or a schema the string names
  // that does not exist raises HostError with the server's reason.
  static std::shared_ptr<PostgisWorkspace> Open(const std::string& connection);
  // Whether a text is a connection string for this workspace ("PG:...").
  static bool IsConnectionString(const std::string& text);
  // The schemas named by "schemas=" or "active_schema=" (in that order).
  static std::vector<std::string> NamedSchemas(const std::string& connection);
  // The connection string as messages show it (no password).
  static std::string Shown(const std::string& connection);

  PostgisWorkspace(std::string connection, GDALDataset* dataset);

  std::string PathName() const override { return Connection(); }
  FeatureClassPtr CreateFeatureClass(const std::string& name, const FieldsPtr& fields, const std::string& clsid,
                                     const std::string& extClsid, long featureType,
                                     const std::string& shapeFieldName, const std::string& configKeyword) override;
  void Delete() override;

  const std::string& Connection() const { return NativePath(); }
  // The schema-qualified, quoted name of a table as the driver lists it
  // ("schema.table", or "table" in the first schema the string names).
  std::string QualifiedTable(const std::string& layerName) const;
  // Runs a statement and returns the first column of its first row, if any.
  std::optional<std::string> QueryText(const std::string& sql) const;
};

using PostgisWorkspacePtr = std::shared_ptr<PostgisWorkspace>;

} // namespace tov
