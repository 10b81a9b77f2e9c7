#include "host/gis/PostgisWorkspace.h"

#include "host/common/SqlText.h"
#include "host/gis/GisErrors.h"

#include <ogrsf_frmts.h>

#include <map>
#include <regex>

namespace tov {

namespace {
const char kSource[] = "orvaCore.Workspace";

std::map<std::string, std::weak_ptr<PostgisWorkspace>>& OpenConnections() {
  static std::map<std::string, std::weak_ptr<PostgisWorkspace>> open;
  return open;
}

// The value of one "key=value" option of a connection string ("" if none).
std::string Option(const std::string& connection, const std::string& key) {
  const std::regex re("(^|[\\s:])" + key + "=('([^']*)'|(\\S*))");
  std::smatch m;
  if (!std::regex_search(connection, m, re)) return std::string();
  return m[3].matched ? m[3].str() : m[4].str();
}

std::vector<std::string> SplitCommas(const std::string& text) {
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= text.size()) {
    size_t comma = text.find(',', start);
    if (comma == std::string::npos) comma = text.size();
    if (comma > start) parts.push_back(text.substr(start, comma - start));
    start = comma + 1;
  }
  return parts;
}
} // namespace

bool PostgisWorkspace::IsConnectionString(const std::string& text) {
  return text.size() > 3 && (text.compare(0, 3, "PG:") == 0 || text.compare(0, 3, "pg:") == 0);
}

std::vector<std::string> PostgisWorkspace::NamedSchemas(const std::string& connection) {
  std::vector<std::string> schemas = SplitCommas(Option(connection, "schemas"));
  const std::string active = Option(connection, "active_schema");
  if (!active.empty()) schemas.push_back(active);
  return schemas;
}

std::string PostgisWorkspace::Shown(const std::string& connection) {
  return std::regex_replace(connection, std::regex("password=('[^']*'|\\S*)"), "password=...");
}

std::shared_ptr<PostgisWorkspace> PostgisWorkspace::Open(const std::string& connection) {
  if (!IsConnectionString(connection))
    throw HostError(err::InvalidCall, kSource,
                    "\"" + Shown(connection) + "\" is not a PostgreSQL connection string (\"PG:dbname=... host=...\")");
  auto& open = OpenConnections();
  if (auto it = open.find(connection); it != open.end())
    if (auto ws = it->second.lock()) return ws;

  // A server that never answers must not hang the program.
  std::string target = connection;
  if (Option(connection, "connect_timeout").empty()) target += " connect_timeout=10";
  const char* drivers[] = {"PostgreSQL", nullptr};
  ResetOgrError();
  GDALDataset* ds = GDALDataset::Open(target.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers);
  if (!ds)
    ThrowOgrError(gisErr::DataAccess, kSource, "The database \"" + Shown(connection) + "\" cannot be opened");
  auto ws = std::make_shared<PostgisWorkspace>(connection, ds);
  // Conditions typed by users reach the server as they are: this session
  // can read, never change, what is there.
  ResetOgrError();
  if (OGRLayer* r = ds->ExecuteSQL("SET SESSION CHARACTERISTICS AS TRANSACTION READ ONLY", nullptr, nullptr))
    ds->ReleaseResultSet(r);
  if (CPLGetLastErrorType() >= CE_Failure)
    ThrowOgrError(gisErr::DataAccess, kSource, "The database \"" + Shown(connection) + "\" cannot be read safely");
  for (const std::string& schema : NamedSchemas(connection))
    if (!ws->QueryText("SELECT nspname FROM pg_namespace WHERE nspname = " + SqlLiteral(schema)))
      throw HostError(gisErr::DatasetNotFound, kSource,
                      "The schema \"" + schema + "\" does not exist in the database \"" + Shown(connection) + "\"");
  open[connection] = ws;
  return ws;
}

PostgisWorkspace::PostgisWorkspace(std::string connection, GDALDataset* dataset)
    : HostWorkspace(WorkspaceKind::GeoPackage, std::move(connection), dataset) {}

FeatureClassPtr PostgisWorkspace::CreateFeatureClass(const std::string& name, const FieldsPtr&, const std::string&,
                                                     const std::string&, long, const std::string&,
                                                     const std::string&) {
  throw HostError(err::InvalidCall, kSource,
                  "The feature class \"" + name + "\" cannot be made in \"" + Shown(Connection()) +
                      "\": a data set's database is only read here");
}

void PostgisWorkspace::Delete() {
  throw HostError(err::InvalidCall, kSource,
                  "The database \"" + Shown(Connection()) + "\" is a data set's and is not deleted here");
}

std::string PostgisWorkspace::QualifiedTable(const std::string& layerName) const {
  const size_t dot = layerName.find('.');
  if (dot != std::string::npos && Dataset()->GetLayerByName(layerName.c_str()))
    if (QueryText("SELECT nspname FROM pg_namespace WHERE nspname = " + SqlLiteral(layerName.substr(0, dot))))
      return SqlIdentifier(layerName.substr(0, dot)) + "." + SqlIdentifier(layerName.substr(dot + 1));
  const std::vector<std::string> schemas = NamedSchemas(Connection());
  return SqlIdentifier(schemas.empty() ? std::string("public") : schemas.front()) + "." + SqlIdentifier(layerName);
}

std::optional<std::string> PostgisWorkspace::QueryText(const std::string& sql) const {
  GDALDataset* ds = Dataset();
  ResetOgrError();
  OGRLayer* result = ds->ExecuteSQL(sql.c_str(), nullptr, nullptr);
  if (!result) {
    if (CPLGetLastErrorType() >= CE_Failure)
      ThrowOgrError(gisErr::DataAccess, kSource, "The database \"" + Shown(Connection()) + "\" refused a query");
    return std::nullopt;
  }
  std::optional<std::string> value;
  std::unique_ptr<OGRFeature> f(result->GetNextFeature());
  if (f && f->GetFieldCount() > 0 && f->IsFieldSetAndNotNull(0)) value = f->GetFieldAsString(0);
  ds->ReleaseResultSet(result);
  return value;
}

} // namespace tov
