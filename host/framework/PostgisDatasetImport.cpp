#include "host/framework/PostgisDatasetImport.h"

#include "host/common/SqlText.h"
#include "host/framework/DataSearchPath.h"
#include "host/gis/GisErrors.h"
#include "host/gis/JsonErrors.h"
#include "host/gis/PostgisWorkspace.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

#include <gdal_utils.h>
#include <nlohmann/json.hpp>
#include <ogrsf_frmts.h>

#include <cctype>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>

namespace fs = std::filesystem;

namespace tov {
namespace {
const char kSource[] = "DatasetImport";


// Runs a statement that returns no rows; a refusal raises.
void Execute(GDALDataset& db, const std::string& sql, const std::string& what) {
  ResetOgrError();
  if (OGRLayer* result = db.ExecuteSQL(sql.c_str(), nullptr, nullptr)) db.ReleaseResultSet(result);
  if (CPLGetLastErrorType() >= CE_Failure) ThrowOgrError(gisErr::DataAccess, kSource, what);
}

GDALDatasetUniquePtr OpenForWriting(const std::string& connection) {
  if (!PostgisWorkspace::IsConnectionString(connection))
    throw HostError(err::InvalidCall, kSource,
                    "\"" + PostgisWorkspace::Shown(connection) +
                        "\" is not a PostgreSQL connection string; give one like \"PG:dbname=tovana host=localhost\".");
  std::string target = connection;
  if (connection.find("connect_timeout=") == std::string::npos) target += " connect_timeout=10";
  const char* pgDrivers[] = {"PostgreSQL", nullptr};
  ResetOgrError();
  GDALDataset* db = GDALDataset::Open(target.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE, pgDrivers);
  if (!db) ThrowOgrError(gisErr::DataAccess, kSource, "The database \"" + PostgisWorkspace::Shown(connection) + "\" cannot be opened");
  return GDALDatasetUniquePtr(db);
}

long CountRows(GDALDataset& db, const std::string& qualified) {
  const std::string sql = "SELECT count(*) FROM " + qualified;
  OGRLayer* result = db.ExecuteSQL(sql.c_str(), nullptr, nullptr);
  long rows = -1;
  if (result) {
    std::unique_ptr<OGRFeature> f(result->GetNextFeature());
    if (f) rows = static_cast<long>(f->GetFieldAsInteger64(0));
    db.ReleaseResultSet(result);
  }
  return rows;
}

void WriteFileAtomically(const fs::path& file, const std::string& text) {
  const fs::path temporary = file.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    if (!out.flush())
      throw HostError(err::PathNotFound, kSource, "The data set description " + file.string() + " cannot be written.");
  }
  std::error_code ec;
  fs::rename(temporary, file, ec);
  if (ec)
    throw HostError(err::PathNotFound, kSource,
                    "The data set description " + file.string() + " cannot be written: " + ec.message() + ".");
}
} // namespace

std::string PostgisDatasetImport::SchemaFor(const std::string& datasetName) {
  std::string schema;
  for (unsigned char c : datasetName) schema += std::isalnum(c) ? static_cast<char>(c) : '_';
  schema = LowerCase(schema);
  if (schema.empty() || std::isdigit(static_cast<unsigned char>(schema[0]))) schema = "ds_" + schema;
  return schema.substr(0, 63);
}

std::vector<std::pair<std::string, long>> PostgisDatasetImport::CopyTables(const std::string& nativeGeoPackage,
                                                                         std::vector<std::string> tables,
                                                                         const std::string& connection,
                                                                         const std::string& schemaName, bool ownSchema) {
  const char* gpkgDrivers[] = {"GPKG", nullptr};
  ResetOgrError();
  GDALDatasetUniquePtr src(GDALDataset::Open(nativeGeoPackage.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, gpkgDrivers));
  if (!src) ThrowOgrError(gisErr::DataAccess, kSource, "The GeoPackage " + nativeGeoPackage + " cannot be read");
  if (tables.empty())
    for (auto* layer : src->GetLayers()) tables.push_back(layer->GetName());
  for (const std::string& table : tables)
    if (!src->GetLayerByName(table.c_str()))
      throw HostError(err::InvalidCall, kSource, "The GeoPackage " + nativeGeoPackage + " has no table \"" + table + "\".");

  GDALDatasetUniquePtr db = OpenForWriting(connection);
  const std::string schema = SqlIdentifier(schemaName);
  if (ownSchema)
    Execute(*db, "DROP SCHEMA IF EXISTS " + schema + " CASCADE", "The schema \"" + schemaName + "\" cannot be replaced");
  Execute(*db, "CREATE SCHEMA IF NOT EXISTS " + schema, "The schema \"" + schemaName + "\" cannot be made");
  for (const std::string& table : tables)
    Execute(*db, "DROP TABLE IF EXISTS " + schema + "." + SqlIdentifier(table) + " CASCADE",
            "The table \"" + table + "\" cannot be replaced");

  CPLStringList args;
  for (const char* a : {"-lco", "SPATIAL_INDEX=GIST", "-lco", "FID=fid", "-preserve_fid", "-lco"}) args.AddString(a);
  args.AddString(("SCHEMA=" + schemaName).c_str());
  for (const std::string& table : tables) args.AddString(table.c_str());
  GDALVectorTranslateOptions* options = GDALVectorTranslateOptionsNew(args.List(), nullptr);
  if (!options) ThrowOgrError(gisErr::DataAccess, kSource, "The copy into the database cannot be prepared");
  GDALDatasetH sources[] = {GDALDataset::ToHandle(src.get())};
  int usageError = FALSE;
  ResetOgrError();
  CPLSetThreadLocalConfigOption("PG_USE_COPY", "YES");
  GDALDatasetH out = GDALVectorTranslate(nullptr, GDALDataset::ToHandle(db.get()), 1, sources, options, &usageError);
  CPLSetThreadLocalConfigOption("PG_USE_COPY", nullptr);
  GDALVectorTranslateOptionsFree(options);
  if (!out || usageError)
    ThrowOgrError(gisErr::DataAccess, kSource,
                  "The tables of " + nativeGeoPackage + " cannot be copied into \"" + PostgisWorkspace::Shown(connection) + "\"");
  db->FlushCache();

  std::vector<std::pair<std::string, long>> copied;
  for (const std::string& table : tables) {
    const std::string qualified = schema + "." + SqlIdentifier(table);
    Execute(*db, "ANALYZE " + qualified, "The table \"" + table + "\" cannot be analysed");
    copied.emplace_back(table, CountRows(*db, qualified));
  }
  return copied;
}

void PostgisDatasetImport::DropSchema(const std::string& connection, const std::string& schema) {
  GDALDatasetUniquePtr db = OpenForWriting(connection);
  Execute(*db, "DROP SCHEMA IF EXISTS " + SqlIdentifier(schema) + " CASCADE", "The schema \"" + schema + "\" cannot be dropped");
}

PostgisDatasetImport::Result PostgisDatasetImport::Run(const std::string& nativeDataRoot, const std::string& datasetName,
                                                       const std::string& connection) {
  if (!PostgisWorkspace::IsConnectionString(connection))
    throw HostError(err::InvalidCall, kSource,
                    "\"" + PostgisWorkspace::Shown(connection) +
                        "\" is not a PostgreSQL connection string; give one like \"PG:dbname=tovana host=localhost\".");
  JsonDatasetPtr source;
  // The data set may come from anywhere on the search path; its copy is
  // described in nativeDataRoot.
  for (const JsonDatasetPtr& ds : LoadDatasets(nativeDataRoot))
    if (ds->Name() == datasetName) source = ds;
  if (!source)
    throw HostError(err::InvalidCall, kSource,
                    "There is no data set named \"" + datasetName + "\". " + DescribeSearch(DataSearchPath(nativeDataRoot)));
  if (!source->PostgisConnection().empty())
    throw HostError(err::InvalidCall, kSource,
                    "The data set \"" + datasetName + "\" is already in a database; import the data set it was made from.");
  std::error_code ec;
  if (source->GeoPackagePath().empty() || !fs::is_regular_file(source->GeoPackagePath(), ec))
    throw HostError(err::FileNotFound, kSource,
                    "The data of the data set \"" + datasetName + "\" is missing (" + source->GeoPackagePath() +
                        "). For the sample, run \"tovana datasets install-sample\".");

  Result result;
  result.datasetName = datasetName + "-postgis";
  result.folder = nativeDataRoot + "/" + result.datasetName;
  const std::vector<std::string> named = PostgisWorkspace::NamedSchemas(connection);
  result.schema = named.empty() ? SchemaFor(datasetName) : named.front();
  result.connection = named.empty() ? connection + " schemas=" + result.schema : connection;

  std::vector<std::string> tables;
  for (const auto& layer : source->Layers())
    if (std::find(tables.begin(), tables.end(), layer->SourceName()) == tables.end()) tables.push_back(layer->SourceName());
  result.tables = CopyTables(source->GeoPackagePath(), tables, connection, result.schema, named.empty());

  using ordered = nlohmann::ordered_json;
  ordered description;
  try {
    std::ifstream in(source->Folder() + "/dataset.json");
    in >> description;
  } catch (...) {
    ThrowJsonError(std::current_exception(), [&](const std::string& reason) {
      return HostError(err::InvalidCall, kSource, "The description of \"" + datasetName + "\" cannot be read again: " + reason);
    });
  }
  ordered copy;
  for (auto it = description.begin(); it != description.end(); ++it) {
    if (it.key() == "geopackage") continue;
    copy[it.key()] = it.key() == "name" ? ordered(result.datasetName) : it.value();
    if (it.key() == "name") copy["postgis"] = result.connection;
  }
  fs::create_directories(result.folder, ec);
  if (ec)
    throw HostError(err::PathNotFound, kSource, "The folder " + result.folder + " cannot be made: " + ec.message() + ".");
  // The geocoder's gazetteer and the sources' credits go with the data.
  for (const char* file : {"gazetteer.csv", "ATTRIBUTION.md"}) {
    const fs::path from = fs::path(source->Folder()) / file;
    if (fs::is_regular_file(from, ec)) fs::copy_file(from, fs::path(result.folder) / file, fs::copy_options::overwrite_existing, ec);
  }
  WriteFileAtomically(fs::path(result.folder) / "dataset.json", copy.dump(2) + "\n");
  return result;
}

} // namespace tov
