#include "host/framework/SharedAnalysis.h"

#include "host/common/Paths.h"
#include "host/framework/AnalysisDatabase.h"
#include "host/gis/GisErrors.h"
#include "host/gis/JsonErrors.h"
#include "host/gis/LayerJson.h"
#include "host/gis/MapDocumentMerge.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"
#include "platform/runtime/TextReplace.h"

#include <gdal_priv.h>
#include <gdal_utils.h>
#include <ogrsf_frmts.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {
namespace {
const char kSource[] = "SharedAnalysis";
// Stands for the working folder in what is stored: every process has its own.
const char kFolderToken[] = "/${SHARED_ANALYSIS}";
// First key of the advisory locks; the second is the schema's hash.
const char kLockKey[] = "7466";

std::function<void(const std::string&, PgConnection&)> g_failurePoint;

void FailurePoint(const std::string& point, PgConnection& db) {
  if (g_failurePoint) g_failurePoint(point, db);
}

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

std::string PercentDecoded(const std::string& text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '%' && i + 2 < text.size() && std::isxdigit(static_cast<unsigned char>(text[i + 1])) &&
        std::isxdigit(static_cast<unsigned char>(text[i + 2]))) {
      out += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
      i += 2;
    } else {
      out += text[i] == '+' ? ' ' : text[i];
    }
  }
  return out;
}

HostError BadLocation(const std::string& shown, const std::string& why) {
  return HostError(err::InvalidCall, kSource, "The shared analysis location " + shown + " cannot be used: " + why + ".");
}

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << text;
  if (!out.flush())
    throw HostError(err::PathNotFound, kSource, "The working copy file " + path.string() + " cannot be written.");
}

// The folder every working copy of this user is made in.
fs::path WorkRoot() {
  if (const char* env = std::getenv("TOVANA_SHARED_WORK"); env && *env) return env;
  std::error_code ec;
  fs::path tmp = fs::temp_directory_path(ec);
  if (ec) tmp = "/tmp";
  return tmp / ("tovana-shared-" + std::to_string(getuid()));
}

// Working copies left by processes that ended without removing theirs.
void RemoveAbandonedCopies(const fs::path& root) {
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(root, ec)) {
    const std::string name = entry.path().filename().string();
    const size_t dot = name.rfind(".w");
    if (dot == std::string::npos) continue;
    const size_t pidAt = name.rfind('.', dot - 1);
    if (pidAt == std::string::npos) continue;
    const long pid = std::strtol(name.c_str() + pidAt + 1, nullptr, 10);
    if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) {
      std::error_code ignored;
      fs::remove_all(entry.path(), ignored);
    }
  }
  // Cache entries a killed process was filling ("new.<pid>.<entry>").
  for (const auto& analysis : fs::directory_iterator(root / "cache", ec))
    for (const auto& entry : fs::directory_iterator(analysis.path(), ec)) {
      const std::string name = entry.path().filename().string();
      if (name.rfind("new.", 0) != 0) continue;
      const long pid = std::strtol(name.c_str() + 4, nullptr, 10);
      if (pid <= 0 || (kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)) {
        std::error_code ignored;
        fs::remove_all(entry.path(), ignored);
      }
    }
}

// A short text that changes whenever the layer's fields, features or
// spatial index change.
std::string LayerHash(const std::string& path, const std::string& layerName, bool geopackage) {
  const char* drivers[] = {geopackage ? "GPKG" : "ESRI Shapefile", nullptr};
  GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
  if (!ds) return "unreadable";
  OGRLayer* layer = ds->GetLayerByName(layerName.c_str());
  if (!layer) return "missing";
  uint64_t h = 1469598103934665603ULL;
  auto mix = [&h](const void* data, size_t n) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < n; ++i) h = (h ^ bytes[i]) * 1099511628211ULL;
  };
  auto mixText = [&mix](const std::string& text) { mix(text.data(), text.size() + 1); };
  OGRFeatureDefn* defn = layer->GetLayerDefn();
  for (int i = 0; i < defn->GetFieldCount(); ++i) {
    mixText(defn->GetFieldDefn(i)->GetNameRef());
    mixText(std::to_string(defn->GetFieldDefn(i)->GetType()));
  }
  layer->ResetReading();
  size_t count = 0;
  for (auto& feature : *layer) {
    ++count;
    mixText(std::to_string(feature->GetFID()));
    for (int i = 0; i < defn->GetFieldCount(); ++i)
      mixText(feature->IsFieldSetAndNotNull(i) ? feature->GetFieldAsString(i) : "\x01null");
    if (OGRGeometry* g = feature->GetGeometryRef()) {
      std::vector<unsigned char> wkb(static_cast<size_t>(g->WkbSize()));
      g->exportToWkb(wkbNDR, wkb.data(), wkbVariantIso);
      mix(wkb.data(), wkb.size());
    }
  }
  bool indexed = false;
  if (geopackage) {
    const std::string sql = "SELECT HasSpatialIndex('" + ReplaceAll(layerName, "'", "''") + "', '" +
                            ReplaceAll(layer->GetGeometryColumn(), "'", "''") + "')";
    if (OGRLayer* r = ds->ExecuteSQL(sql.c_str(), nullptr, "SQLITE")) {
      if (auto f = std::unique_ptr<OGRFeature>(r->GetNextFeature())) indexed = f->GetFieldAsInteger(0) != 0;
      ds->ReleaseResultSet(r);
    }
  } else {
    std::error_code ec;
    indexed = fs::exists(fs::path(path) / (layerName + ".qix"), ec);
  }
  std::ostringstream out;
  out << std::hex << h << "-" << std::dec << count << (indexed ? "-indexed" : "");
  return out.str();
}

bool Indexed(const std::string& hash) { return hash.size() > 8 && hash.compare(hash.size() - 8, 8, "-indexed") == 0; }

// GDALVectorTranslate with an argument list; raises with GDAL's message.
void Translate(GDALDataset* target, GDALDataset* source, const std::vector<std::string>& arguments,
               const std::string& what) {
  CPLStringList args;
  for (const auto& a : arguments) args.AddString(a.c_str());
  GDALVectorTranslateOptions* options = GDALVectorTranslateOptionsNew(args.List(), nullptr);
  if (!options) throw HostError(err::InvalidCall, kSource, what + " failed: " + CPLGetLastErrorMsg());
  CPLErrorReset();
  int usageError = 0;
  GDALDatasetH sources[] = {GDALDataset::ToHandle(source)};
  GDALDatasetH result = GDALVectorTranslate(nullptr, GDALDataset::ToHandle(target), 1, sources, options, &usageError);
  GDALVectorTranslateOptionsFree(options);
  if (!result || usageError || CPLGetLastErrorType() >= CE_Failure)
    throw HostError(gisErr::DataAccess, kSource, what + " failed: " + CPLGetLastErrorMsg());
}
} // namespace

bool SharedAnalysis::IsLocation(const std::string& text) {
  const std::string lower = LowerCase(text.substr(0, 13));
  return StartsWith(lower, "postgresql://") || StartsWith(lower, "postgres://") || StartsWith(lower, "pg:");
}

SharedLocation SharedAnalysis::ParseLocation(const std::string& text) {
  SharedLocation location;
  std::string schema;
  if (StartsWith(LowerCase(text), "pg:")) {
    // keyword=value pairs, values possibly in single quotes.
    std::string kept, shown = "PG:";
    size_t i = 3;
    while (i < text.size()) {
      while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
      if (i >= text.size()) break;
      const size_t eq = text.find('=', i);
      if (eq == std::string::npos) throw BadLocation(text, "\"" + text.substr(i) + "\" is not keyword=value");
      std::string key = text.substr(i, eq - i);
      while (!key.empty() && std::isspace(static_cast<unsigned char>(key.back()))) key.pop_back();
      i = eq + 1;
      while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
      std::string raw, value;
      if (i < text.size() && text[i] == '\'') {
        const size_t start = i++;
        while (i < text.size() && text[i] != '\'') {
          if (text[i] == '\\' && i + 1 < text.size()) ++i;
          value += text[i++];
        }
        if (i >= text.size()) throw BadLocation(text, "a quoted value is not closed");
        ++i;
        raw = text.substr(start, i - start);
      } else {
        const size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
        raw = value = text.substr(start, i - start);
      }
      const std::string lowerKey = LowerCase(key);
      if (lowerKey == "schema" || lowerKey == "schemas" || lowerKey == "active_schema") {
        schema = value.substr(0, value.find(','));
        shown += (shown.size() > 3 ? " " : "") + key + "=" + raw;
        continue;
      }
      if (lowerKey == "tables" || lowerKey == "list_all_tables") continue; // GDAL's own
      kept += (kept.empty() ? "" : " ") + key + "=" + raw;
      shown += (shown.size() > 3 ? " " : "") + key + "=" + (lowerKey == "password" ? std::string("***") : raw);
    }
    location.conninfo = kept;
    location.shown = shown;
  } else {
    const size_t q = text.find('?');
    std::string base = text.substr(0, q), kept;
    if (q != std::string::npos) {
      std::stringstream query(text.substr(q + 1));
      std::string pair;
      while (std::getline(query, pair, '&')) {
        if (pair.empty()) continue;
        const size_t eq = pair.find('=');
        const std::string key = LowerCase(PercentDecoded(pair.substr(0, eq)));
        const std::string value = eq == std::string::npos ? "" : PercentDecoded(pair.substr(eq + 1));
        if (key == "schema" || key == "schemas" || key == "active_schema") schema = value.substr(0, value.find(','));
        else kept += (kept.empty() ? "" : "&") + pair;
      }
    }
    location.conninfo = base + (kept.empty() ? "" : "?" + kept);
    // user:password@ -> user:***@
    std::string shown = text;
    const size_t scheme = shown.find("://"), at = shown.find('@');
    if (scheme != std::string::npos && at != std::string::npos && at > scheme) {
      const size_t colon = shown.find(':', scheme + 3);
      if (colon != std::string::npos && colon < at) shown.replace(colon + 1, at - colon - 1, "***");
    }
    location.shown = shown;
  }
  location.schema = schema.empty() ? "public" : schema;
  if (location.schema.size() > 63) throw BadLocation(location.shown, "a schema name has at most 63 bytes");
  return location;
}

SharedAnalysis::SharedAnalysis(SharedLocation location, std::string folder)
    : m_location(std::move(location)), m_folder(std::move(folder)) {}

SharedAnalysis::~SharedAnalysis() {
  // The error log is the team's: its lines go to the schema's log table,
  // those of a failed command too (nothing else of it is published).
  try {
    std::ifstream log(fs::path(m_folder) / "log.txt");
    std::string line;
    while (m_db && std::getline(log, line))
      if (!line.empty()) m_db->Execute("INSERT INTO " + Table("log") + "(line) VALUES($1)", {line});
  } catch (...) {
    // The server is gone; the lines go with the working copy.
  }
  std::error_code ec;
  if (!m_folder.empty()) fs::remove_all(m_folder, ec);
}

void SharedAnalysis::SetFailurePoint(std::function<void(const std::string&, PgConnection&)> hook) {
  g_failurePoint = std::move(hook);
}

std::string SharedAnalysis::Table(const std::string& name) const {
  return PgConnection::QuoteIdentifier(m_location.schema) + "." + PgConnection::QuoteIdentifier(name);
}

// The folder appears natively ("/tmp/..."), as a platform path ("\\tmp\\...")
// and as that inside JSON text (each backslash doubled).
std::string SharedAnalysis::ToShared(const std::string& text) const {
  const std::string platform = ToPlatformPath(m_folder), platformToken = "\\${SHARED_ANALYSIS}";
  std::string out = ReplaceAll(text, ReplaceAll(platform, "\\", "\\\\"), ReplaceAll(platformToken, "\\", "\\\\"));
  out = ReplaceAll(out, platform, platformToken);
  return ReplaceAll(out, m_folder, kFolderToken);
}

std::string SharedAnalysis::ToLocal(const std::string& text) const {
  const std::string platform = ToPlatformPath(m_folder), platformToken = "\\${SHARED_ANALYSIS}";
  std::string out = ReplaceAll(text, ReplaceAll(platformToken, "\\", "\\\\"), ReplaceAll(platform, "\\", "\\\\"));
  out = ReplaceAll(out, platformToken, platform);
  return ReplaceAll(out, kFolderToken, m_folder);
}

std::shared_ptr<SharedAnalysis> SharedAnalysis::Open(const std::string& text, bool createMissing) {
  SharedLocation location = ParseLocation(text);
  const fs::path root = WorkRoot();
  std::error_code ec;
  fs::create_directories(root, ec);
  fs::permissions(root, fs::perms::owner_all, ec);
  RemoveAbandonedCopies(root);
  static std::atomic<int> counter{0};
  std::string safe;
  for (char c : location.schema) safe += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
  const fs::path folder = root / (safe + "." + std::to_string(getpid()) + ".w" + std::to_string(++counter));
  fs::remove_all(folder, ec);
  if (!fs::create_directories(folder / "StudyAreas", ec))
    throw HostError(err::PathNotFound, kSource,
                    "The working folder " + folder.string() + " of the shared analysis cannot be made: " + ec.message() +
                        ". Set TOVANA_SHARED_WORK to a folder that can be written.");
  std::shared_ptr<SharedAnalysis> shared(new SharedAnalysis(location, folder.string()));
  shared->m_db = std::make_unique<PgConnection>(location.conninfo, location.shown);
  shared->PrepareSchema(createMissing);
  shared->Pull();
  return shared;
}

void SharedAnalysis::PrepareSchema(bool createMissing) {
  PgConnection& db = *m_db;
  const std::string& schema = m_location.schema;
  const bool schemaExists = db.Scalar("SELECT 1 FROM pg_namespace WHERE nspname = $1", {schema}).has_value();
  if (!schemaExists && !createMissing) {
    const std::string user = db.Scalar("SELECT current_user").value_or("the user");
    throw HostError(err::PathNotFound, kSource,
                    "The shared analysis " + m_location.shown + " does not exist: the database has no schema \"" +
                        schema + "\". The first \"tovana --analysis ... setup\" on it creates it (the user needs the "
                        "CREATE permission on the database), or the database's owner can make it with: CREATE SCHEMA " +
                        PgConnection::QuoteIdentifier(schema) + " AUTHORIZATION " + PgConnection::QuoteIdentifier(user) +
                        ";");
  }
  if (db.Scalar("SELECT to_regclass($1)", {Table("settings")}).has_value()) return;
  if (!createMissing)
    throw HostError(err::PathNotFound, kSource,
                    "The schema \"" + schema + "\" of " + m_location.shown +
                        " holds no analysis yet. The first \"tovana --analysis ... setup\" on it makes one.");
  PgTransaction transaction(db);
  db.Execute(std::string("SELECT pg_advisory_xact_lock(") + kLockKey + ", hashtext($1))", {schema}, "waiting for other users");
  const std::string s = PgConnection::QuoteIdentifier(schema);
  // CREATE SCHEMA needs the CREATE permission on the database even when
  // the schema exists: only asked for when it does not.
  db.Execute(std::string(schemaExists ? "" : "CREATE SCHEMA IF NOT EXISTS " + s + ";") +
             "CREATE TABLE IF NOT EXISTS " + s + ".study_areas(id bigint PRIMARY KEY, name text NOT NULL UNIQUE,"
             " base_dataset text NOT NULL DEFAULT '', feature_class text NOT NULL DEFAULT '');"
             "CREATE SEQUENCE IF NOT EXISTS " + s + ".study_area_ids;"
             "CREATE SEQUENCE IF NOT EXISTS " + s + ".table_ids;"
             "CREATE TABLE IF NOT EXISTS " + s + ".record_properties(record_id bigint NOT NULL REFERENCES " + s +
             ".study_areas(id) ON DELETE CASCADE, key text NOT NULL, value text NOT NULL, PRIMARY KEY(record_id, key));"
             "CREATE TABLE IF NOT EXISTS " + s + ".record_files(record_id bigint NOT NULL REFERENCES " + s +
             ".study_areas(id) ON DELETE CASCADE, name text NOT NULL, content text NOT NULL, PRIMARY KEY(record_id, name));"
             "CREATE TABLE IF NOT EXISTS " + s + ".record_tables(record_id bigint NOT NULL REFERENCES " + s +
             ".study_areas(id) ON DELETE CASCADE, workspace text NOT NULL, layer text NOT NULL, format text NOT NULL,"
             " table_name text NOT NULL UNIQUE, fid_column text NOT NULL DEFAULT '', geometry_column text NOT NULL"
             " DEFAULT '', spatial_index boolean NOT NULL DEFAULT false, srs text NOT NULL DEFAULT '',"
             " PRIMARY KEY(record_id, workspace, layer));"
             "CREATE TABLE IF NOT EXISTS " + s + ".settings(facet text NOT NULL, key text NOT NULL, value text NOT NULL,"
             " PRIMARY KEY(facet, key));"
             "CREATE TABLE IF NOT EXISTS " + s + ".document(id integer PRIMARY KEY CHECK (id = 1), content text NOT NULL);"
             "CREATE TABLE IF NOT EXISTS " + s + ".log(at timestamptz NOT NULL DEFAULT now(), user_name text NOT NULL"
             " DEFAULT current_user, line text NOT NULL);",
             {}, "creating the analysis's tables");
  transaction.Commit();
}

int64_t SharedAnalysis::NextStudyAreaId() {
  return std::stoll(
      m_db->Scalar("SELECT nextval($1::regclass)", {Table("study_area_ids")}, "numbering a new study area").value_or("0"));
}

void SharedAnalysis::Pull() {
  PgConnection& db = *m_db;
  // Writers wait while a copy is taken, so it is of one moment.
  db.Execute(std::string("SELECT pg_advisory_lock_shared(") + kLockKey + ", hashtext($1))", {m_location.schema},
             "waiting for other users");
  struct Unlock {
    PgConnection& db;
    const std::string& schema;
    ~Unlock() {
      try {
        db.Execute(std::string("SELECT pg_advisory_unlock_shared(") + kLockKey + ", hashtext($1))", {schema});
      } catch (...) {
      }
    }
  } unlock{db, m_location.schema};

  auto records = db.Query("SELECT id, name, base_dataset, feature_class FROM " + Table("study_areas") + " ORDER BY id");
  FailurePoint("copying", db);
  auto properties = db.Query("SELECT record_id, key, value FROM " + Table("record_properties"));
  auto settings = db.Query("SELECT facet, key, value FROM " + Table("settings"));
  auto document = db.Scalar("SELECT content FROM " + Table("document") + " WHERE id = 1");
  auto files = db.Query("SELECT record_id, name, content FROM " + Table("record_files"));
  auto tables = db.Query("SELECT record_id, workspace, layer, format, table_name, fid_column, geometry_column, "
                         "spatial_index, srs, to_regclass(format('%I.%I', $1::text, table_name))::oid FROM " +
                         Table("record_tables") + " ORDER BY record_id, workspace, layer",
                         {m_location.schema});

  {
    AnalysisDatabase local(m_folder + "/analysis.sqlite");
    local.Write([&] {
      // Over the new database's defaults: a default the schema lacks is
      // then published with the next change.
      for (const auto& r : settings) {
        AnalysisDatabase::Statement s(local, "INSERT OR REPLACE INTO settings(facet, key, value) VALUES(?1, ?2, ?3)");
        s.Bind(1, *r[0]).Bind(2, *r[1]).Bind(3, ToLocal(*r[2]));
        s.Step();
      }
      for (const auto& r : records) {
        AnalysisDatabase::Statement s(local,
                                      "INSERT INTO study_areas(id, name, base_dataset, feature_class) VALUES(?1, ?2, ?3, ?4)");
        s.Bind(1, static_cast<int64_t>(std::stoll(*r[0]))).Bind(2, *r[1]).Bind(3, *r[2]).Bind(4, ToLocal(*r[3]));
        s.Step();
      }
      for (const auto& r : properties) {
        AnalysisDatabase::Statement s(local, "INSERT INTO record_properties(record_id, key, value) VALUES(?1, ?2, ?3)");
        s.Bind(1, static_cast<int64_t>(std::stoll(*r[0]))).Bind(2, *r[1]).Bind(3, ToLocal(*r[2]));
        s.Step();
      }
    });
  }
  if (document) WriteText(fs::path(m_folder) / "document.json", ToLocal(*document));
  const fs::path areas = fs::path(m_folder) / "StudyAreas";
  std::error_code ec;
  for (const auto& r : records) fs::create_directories(areas / *r[0], ec);
  for (const auto& r : files) WriteText(areas / *r[0] / *r[1], ToLocal(*r[2]));

  // Tables never change (a changed dataset gets a new one), so each is
  // copied out of the database once per user and machine: the cache keeps
  // what it became, and every later copy of the analysis takes the files.
  const fs::path cache = WorkRoot() / "cache" /
                         (std::to_string(std::hash<std::string>()(m_location.conninfo + "|" + m_location.schema)));
  GDALDatasetUniquePtr source;
  std::map<int64_t, std::map<std::string, std::string>> known; // record -> dataset key -> hash
  std::map<std::pair<std::string, std::string>, std::vector<const PgConnection::Row*>> groups; // (record, workspace)
  for (const auto& r : tables) groups[{*r[0], *r[1]}].push_back(&r);
  for (const auto& [place, rows] : groups) {
    const std::string& workspace = place.second;
    const bool geopackage = *(*rows.front())[3] == "geopackage";
    std::string key = geopackage ? "gpkg:" + workspace : "shp:";
    // The table's own id too: a schema dropped and made again reuses names.
    for (const auto* r : rows) key += "|" + *(*r)[2] + "=" + *(*r)[4] + "@" + (*r)[9].value_or("");
    const fs::path entry = cache / std::to_string(std::hash<std::string>()(key));
    if (!fs::exists(entry / "hashes", ec)) {
      const fs::path made = cache / ("new." + std::to_string(getpid()) + "." + entry.filename().string());
      fs::remove_all(made, ec);
      fs::create_directories(made, ec);
      if (!source) {
        CPLStringList openOptions;
        openOptions.SetNameValue("ACTIVE_SCHEMA", m_location.schema.c_str());
        const char* drivers[] = {"PostgreSQL", nullptr};
        const std::string gdal = db.GdalConnectionString();
        source.reset(GDALDataset::Open(gdal.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers, openOptions.List()));
        if (!source)
          throw HostError(gisErr::DataAccess, kSource,
                          "The study area tables of " + m_location.shown + " cannot be read: " + CPLGetLastErrorMsg());
      }
      const std::string target = geopackage ? (made / workspace).string() : made.string();
      std::string hashes;
      {
        GDALDatasetUniquePtr out;
        if (GDALDriver* driver = GetGDALDriverManager()->GetDriverByName(geopackage ? "GPKG" : "ESRI Shapefile"))
          out.reset(driver->Create(target.c_str(), 0, 0, 0, GDT_Unknown, nullptr));
        if (!out)
          throw HostError(gisErr::DataAccess, kSource, "The working copy " + target + " cannot be made: " + CPLGetLastErrorMsg());
        for (const auto* row : rows) {
          const auto& r = *row;
          std::vector<std::string> args = {"-nln", *r[2], "-preserve_fid"};
          const std::string index = std::string("SPATIAL_INDEX=") + (*r[7] == "t" ? "YES" : "NO");
          if (geopackage)
            args.insert(args.end(), {"-lco", "FID=" + r[5].value_or("fid"), "-lco", "GEOMETRY_NAME=" + r[6].value_or("geom"),
                                     "-lco", index});
          else
            args.insert(args.end(), {"-lco", index});
          if (r[8] && !r[8]->empty()) args.insert(args.end(), {"-a_srs", *r[8]});
          args.push_back(*r[4]);
          Translate(out.get(), source.get(), args, "Copying the study area table " + *r[4] + " of " + m_location.shown);
        }
      }
      for (const auto* r : rows)
        hashes += (geopackage ? workspace : std::string()) + "|" + *(*r)[2] + "\t" +
                  LayerHash(target, *(*r)[2], geopackage) + "\n";
      WriteText(made / "hashes", hashes);
      fs::rename(made, entry, ec);
      if (ec) fs::remove_all(made, ec); // another process filled it meanwhile
    }
    const fs::path folder = areas / place.first;
    for (const auto& file : fs::directory_iterator(entry, ec))
      if (file.path().filename() != "hashes") fs::copy_file(file.path(), folder / file.path().filename(),
                                                            fs::copy_options::overwrite_existing, ec);
    std::ifstream lines(entry / "hashes");
    std::string line;
    while (std::getline(lines, line))
      if (const size_t tab = line.find('\t'); tab != std::string::npos)
        known[std::stoll(place.first)][line.substr(0, tab)] = line.substr(tab + 1);
  }
  m_base = ReadLocal(nullptr, &known);
  m_base.settings.clear();
  for (const auto& r : settings) m_base.settings[{*r[0], *r[1]}] = ToLocal(*r[2]);
  m_baseDocument = document ? json::parse(ToLocal(*document)) : json();
}

SharedAnalysis::State SharedAnalysis::ReadLocal(const State* reference,
                                                const std::map<int64_t, std::map<std::string, std::string>>* known) {
  State state;
  AnalysisDatabase local(m_folder + "/analysis.sqlite");
  {
    AnalysisDatabase::Statement s(local, "SELECT id, name, base_dataset, feature_class FROM study_areas");
    while (s.Step()) {
      RecordState& r = state.records[s.Int(0)];
      r.name = s.Text(1);
      r.baseDataset = s.Text(2);
      r.featureClass = s.Text(3);
    }
  }
  {
    AnalysisDatabase::Statement s(local, "SELECT record_id, key, value FROM record_properties");
    while (s.Step()) state.records[s.Int(0)].properties[s.Text(1)] = s.Text(2);
  }
  {
    AnalysisDatabase::Statement s(local, "SELECT facet, key, value FROM settings");
    while (s.Step()) state.settings[{s.Text(0), s.Text(1)}] = s.Text(2);
  }
  const fs::path areas = fs::path(m_folder) / "StudyAreas";
  for (auto& item : state.records) {
    // Named, not bound: a lambda below needs them, and C++17 does not let a
    // lambda capture a structured binding.
    const auto id = item.first;
    auto& record = item.second;
    const fs::path folder = areas / std::to_string(id);
    std::error_code ec;
    std::vector<fs::path> entries;
    for (const auto& entry : fs::directory_iterator(folder, ec)) entries.push_back(entry.path());
    std::sort(entries.begin(), entries.end());
    // A dataset whose files are as they were keeps the hash it had.
    auto stamp = [&entries](const std::string& prefix, bool stemOnly) {
      std::string text;
      for (const auto& path : entries) {
        const std::string name = path.filename().string();
        if (stemOnly ? path.stem().string() != prefix || LowerCase(path.extension().string()) == ".lyr"
                     : name.rfind(prefix, 0) != 0)
          continue;
        std::error_code ignored;
        const auto size = fs::file_size(path, ignored);
        const auto time = fs::last_write_time(path, ignored).time_since_epoch().count();
        text += name + ":" + std::to_string(size) + ":" + std::to_string(time) + ";";
      }
      return text;
    };
    auto hashOf = [&](const std::string& key, const std::string& stampText, const std::function<std::string()>& compute) {
      record.stamps[key] = stampText;
      if (known) {
        auto r = known->find(id);
        if (r != known->end())
          if (auto k = r->second.find(key); k != r->second.end()) return k->second;
      }
      if (reference) {
        auto r = reference->records.find(id);
        if (r != reference->records.end()) {
          auto s = r->second.stamps.find(key);
          auto h = r->second.datasets.find(key);
          if (s != r->second.stamps.end() && h != r->second.datasets.end() && s->second == stampText) return h->second;
        }
      }
      return compute();
    };
    for (const auto& path : entries) {
      const std::string ext = LowerCase(path.extension().string());
      const std::string name = path.filename().string();
      if (ext == ".lyr") {
        record.files[name] = ReadText(path);
      } else if (ext == ".shp") {
        const std::string layer = path.stem().string();
        const std::string key = "|" + layer;
        record.datasets[key] = hashOf(key, stamp(layer, true), [&] { return LayerHash(folder.string(), layer, false); });
      } else if (ext == ".gpkg") {
        const char* drivers[] = {"GPKG", nullptr};
        GDALDatasetUniquePtr ds(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
        if (!ds) continue;
        const std::string stampText = stamp(name, false);
        for (auto* layer : ds->GetLayers()) {
          const std::string layerName = layer->GetName(), key = name + "|" + layerName;
          record.datasets[key] = hashOf(key, stampText, [&] { return LayerHash(path.string(), layerName, true); });
        }
      }
    }
  }
  return state;
}

void SharedAnalysis::StoreLayer(int64_t id, const std::string& workspace, const std::string& layerName,
                                bool geopackage, const std::string& table, bool index, std::string& fidColumn,
                                std::string& geometryColumn, std::string& srs) {
  PgConnection& db = *m_db;
  const fs::path folder = fs::path(m_folder) / "StudyAreas" / std::to_string(id);
  const std::string path = geopackage ? (folder / workspace).string() : folder.string();
  const char* drivers[] = {geopackage ? "GPKG" : "ESRI Shapefile", nullptr};
  GDALDatasetUniquePtr source(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY, drivers));
  OGRLayer* layer = source ? source->GetLayerByName(layerName.c_str()) : nullptr;
  if (!layer) throw HostError(gisErr::DataAccess, kSource, "The study area dataset " + path + " cannot be read to store it.");
  fidColumn = layer->GetFIDColumn();
  geometryColumn = layer->GetGeometryColumn();

  std::string srid = "0";
  srs.clear();
  if (const OGRSpatialReference* sr = layer->GetSpatialRef()) {
    char* wkt = nullptr;
    const char* options[] = {"FORMAT=WKT2_2019", nullptr};
    if (sr->exportToWkt(&wkt, options) == OGRERR_NONE && wkt) srs = wkt;
    CPLFree(wkt);
    OGRSpatialReference copy(*sr);
    copy.AutoIdentifyEPSG();
    const char* authority = copy.GetAuthorityName(nullptr);
    const char* code = copy.GetAuthorityCode(nullptr);
    if (authority && code && EQUAL(authority, "EPSG"))
      srid = db.Scalar("SELECT srid FROM spatial_ref_sys WHERE auth_name = 'EPSG' AND auth_srid = $1", {std::string(code)})
                 .value_or("0");
  }
  // Shapefiles mix single and multi-part shapes under one type.
  const OGRwkbGeometryType flat = wkbFlatten(layer->GetGeomType());
  std::string type = "GEOMETRY";
  bool multi = false;
  if (flat == wkbPolygon || flat == wkbMultiPolygon) type = "MULTIPOLYGON", multi = true;
  else if (flat == wkbLineString || flat == wkbMultiLineString) type = "MULTILINESTRING", multi = true;
  else if (flat == wkbPoint) type = "POINT";
  else if (flat == wkbMultiPoint) type = "MULTIPOINT";

  OGRFeatureDefn* defn = layer->GetLayerDefn();
  std::string columns = "fid bigint PRIMARY KEY, shape geometry(" + type + ", " + srid + ")";
  std::string names = "fid, shape", values = "$1, " + std::string(multi ? "ST_Multi(" : "(") +
                                             "ST_GeomFromWKB(decode($2, 'hex'), " + srid + "))";
  for (int i = 0; i < defn->GetFieldCount(); ++i) {
    OGRFieldDefn* f = defn->GetFieldDefn(i);
    std::string sqlType;
    switch (f->GetType()) {
    case OFTInteger: sqlType = "integer"; break;
    case OFTInteger64: sqlType = "bigint"; break;
    case OFTReal: sqlType = "double precision"; break;
    case OFTDate: sqlType = "date"; break;
    case OFTDateTime: sqlType = "timestamp"; break;
    default: sqlType = f->GetWidth() > 0 ? "varchar(" + std::to_string(f->GetWidth()) + ")" : "text"; break;
    }
    const std::string name = PgConnection::QuoteIdentifier(f->GetNameRef());
    columns += ", " + name + " " + sqlType;
    names += ", " + name;
    values += ", $" + std::to_string(i + 3);
  }
  db.Execute("CREATE TABLE " + Table(table) + "(" + columns + ")", {}, "making a study area's table");
  const std::string insert = "INSERT INTO " + Table(table) + "(" + names + ") VALUES(" + values + ")";
  layer->ResetReading();
  for (auto& feature : *layer) {
    std::vector<PgConnection::Value> params = {std::to_string(feature->GetFID()), PgConnection::Value()};
    if (OGRGeometry* g = feature->GetGeometryRef()) {
      std::vector<unsigned char> wkb(static_cast<size_t>(g->WkbSize()));
      g->exportToWkb(wkbNDR, wkb.data(), wkbVariantIso);
      static const char hex[] = "0123456789abcdef";
      std::string text;
      text.reserve(wkb.size() * 2);
      for (unsigned char b : wkb) {
        text += hex[b >> 4];
        text += hex[b & 15];
      }
      params[1] = text;
    }
    for (int i = 0; i < defn->GetFieldCount(); ++i)
      params.push_back(feature->IsFieldSetAndNotNull(i) ? PgConnection::Value(feature->GetFieldAsString(i))
                                                        : PgConnection::Value());
    db.Execute(insert, params, "storing a study area's shape");
  }
  if (index) db.Execute("CREATE INDEX ON " + Table(table) + " USING GIST (shape)", {}, "indexing a study area's table");
}

void SharedAnalysis::Publish() {
  PgConnection& db = *m_db;
  State mine = ReadLocal(&m_base, nullptr);
  const fs::path documentPath = fs::path(m_folder) / "document.json";
  json mineDocument = LayerJson::ReadFile(documentPath.string(), kSource);

  // Changed datasets go into new tables (in the transaction below, which
  // also drops the tables they replace).
  struct Upload {
    int64_t id;
    std::string workspace, layer, format, table, fidColumn, geometryColumn;
    bool index;
    std::string srs;
  };
  std::vector<Upload> uploads;
  for (const auto& [id, record] : mine.records) {
    auto base = m_base.records.find(id);
    for (const auto& [key, hash] : record.datasets) {
      if (base != m_base.records.end()) {
        auto old = base->second.datasets.find(key);
        if (old != base->second.datasets.end() && old->second == hash) continue;
      }
      const size_t bar = key.find('|');
      Upload u{id, key.substr(0, bar), key.substr(bar + 1), bar == 0 ? "shapefile" : "geopackage", "", "", "", Indexed(hash), ""};
      uploads.push_back(u);
    }
  }
  try {
    PgTransaction transaction(db);
    db.Execute(std::string("SELECT pg_advisory_xact_lock(") + kLockKey + ", hashtext($1))", {m_location.schema},
               "waiting for other users");
    FailurePoint("locked", db);
    std::vector<std::string> drops;
    auto tablesOf = [&](int64_t id, const std::string* workspace, const std::string* layer) {
      std::string sql = "SELECT table_name FROM " + Table("record_tables") + " WHERE record_id = $1";
      std::vector<PgConnection::Value> params = {std::to_string(id)};
      if (workspace) {
        sql += " AND workspace = $2 AND layer = $3";
        params.push_back(*workspace);
        params.push_back(*layer);
      }
      for (const auto& r : db.Query(sql, params)) drops.push_back(*r[0]);
    };
    auto conflict = [&](const std::string& text) {
      throw HostError(err::DuplicateKey, kSource,
                      text + " Nothing of this command was saved to " + m_location.shown + "; look again and retry.");
    };
    const std::string id$ = "$1";
    for (const auto& [id, record] : m_base.records) {
      if (mine.records.count(id)) continue;
      tablesOf(id, nullptr, nullptr);
      db.Execute("DELETE FROM " + Table("study_areas") + " WHERE id = " + id$, {std::to_string(id)}, "deleting a study area");
    }
    for (const auto& [id, record] : mine.records) {
      const std::string key = std::to_string(id);
      auto baseIt = m_base.records.find(id);
      const RecordState* base = baseIt == m_base.records.end() ? nullptr : &baseIt->second;
      try {
        if (!base) {
          db.Execute("INSERT INTO " + Table("study_areas") + "(id, name, base_dataset, feature_class) VALUES($1, $2, $3, $4)",
                     {key, record.name, record.baseDataset, ToShared(record.featureClass)}, "storing a study area");
        } else if (base->name != record.name || base->baseDataset != record.baseDataset ||
                   base->featureClass != record.featureClass) {
          if (db.Query("UPDATE " + Table("study_areas") + " SET name = $2, base_dataset = $3, feature_class = $4 "
                       "WHERE id = $1 RETURNING id",
                       {key, record.name, record.baseDataset, ToShared(record.featureClass)}, "changing a study area")
                  .empty())
            conflict("The study area \"" + base->name + "\" was deleted by another user meanwhile.");
        }
        for (const auto& [k, v] : record.properties) {
          if (base) {
            auto old = base->properties.find(k);
            if (old != base->properties.end() && old->second == v) continue;
          }
          db.Execute("INSERT INTO " + Table("record_properties") + "(record_id, key, value) VALUES($1, $2, $3) "
                     "ON CONFLICT(record_id, key) DO UPDATE SET value = excluded.value",
                     {key, k, ToShared(v)}, "storing a study area's properties");
        }
        if (base)
          for (const auto& [k, v] : base->properties)
            if (!record.properties.count(k))
              db.Execute("DELETE FROM " + Table("record_properties") + " WHERE record_id = $1 AND key = $2", {key, k});
        for (const auto& [name, content] : record.files) {
          if (base) {
            auto old = base->files.find(name);
            if (old != base->files.end() && old->second == content) continue;
          }
          db.Execute("INSERT INTO " + Table("record_files") + "(record_id, name, content) VALUES($1, $2, $3) "
                     "ON CONFLICT(record_id, name) DO UPDATE SET content = excluded.content",
                     {key, name, ToShared(content)}, "storing a study area's layer file");
        }
        if (base)
          for (const auto& [name, content] : base->files)
            if (!record.files.count(name))
              db.Execute("DELETE FROM " + Table("record_files") + " WHERE record_id = $1 AND name = $2", {key, name});
        if (base)
          for (const auto& [k, hash] : base->datasets)
            if (!record.datasets.count(k)) {
              const size_t bar = k.find('|');
              const std::string workspace = k.substr(0, bar), layer = k.substr(bar + 1);
              tablesOf(id, &workspace, &layer);
              db.Execute("DELETE FROM " + Table("record_tables") + " WHERE record_id = $1 AND workspace = $2 AND layer = $3",
                         {key, workspace, layer});
            }
      } catch (const HostError& e) {
        if (db.LastState() == "23505")
          conflict("Another user stored a study area named \"" + record.name + "\" meanwhile.");
        if (db.LastState() == "23503")
          conflict("The study area \"" + record.name + "\" was deleted by another user meanwhile.");
        throw;
      }
    }
    for (Upload& u : uploads) {
      u.table = "study_area_" + std::to_string(u.id) + "_" +
                db.Scalar("SELECT nextval($1::regclass)", {Table("table_ids")}, "naming a study area table").value_or("0");
      StoreLayer(u.id, u.workspace, u.layer, u.format == "geopackage", u.table, u.index, u.fidColumn, u.geometryColumn,
                 u.srs);
      tablesOf(u.id, &u.workspace, &u.layer);
      db.Execute("DELETE FROM " + Table("record_tables") + " WHERE record_id = $1 AND workspace = $2 AND layer = $3",
                 {std::to_string(u.id), u.workspace, u.layer});
      db.Execute("INSERT INTO " + Table("record_tables") +
                     "(record_id, workspace, layer, format, table_name, fid_column, geometry_column, spatial_index, srs) "
                     "VALUES($1, $2, $3, $4, $5, $6, $7, $8, $9)",
                 {std::to_string(u.id), u.workspace, u.layer, u.format, u.table, u.fidColumn, u.geometryColumn,
                  std::string(u.index ? "true" : "false"), u.srs},
                 "storing a study area's table");
    }
    for (const auto& [key, value] : mine.settings) {
      auto old = m_base.settings.find(key);
      if (old != m_base.settings.end() && old->second == value) continue;
      db.Execute("INSERT INTO " + Table("settings") + "(facet, key, value) VALUES($1, $2, $3) "
                 "ON CONFLICT(facet, key) DO UPDATE SET value = excluded.value",
                 {key.first, key.second, ToShared(value)}, "storing the analysis's settings");
    }
    for (const auto& [key, value] : m_base.settings)
      if (!mine.settings.count(key))
        db.Execute("DELETE FROM " + Table("settings") + " WHERE facet = $1 AND key = $2", {key.first, key.second});

    FailurePoint("document", db);
    auto theirs = db.Scalar("SELECT content FROM " + Table("document") + " WHERE id = 1 FOR UPDATE", {},
                            "reading the map document");
    json merged = mineDocument;
    if (theirs) {
      json theirsJson = json::parse(ToLocal(*theirs), nullptr, false);
      if (theirsJson.is_discarded() || !theirsJson.is_object())
        throw HostError(gisErr::DocumentFormat, kSource,
                        "The map document stored in " + m_location.shown + " cannot be read, so it is not overwritten.");
      merged = MapDocumentMerge::Merge(m_baseDocument, mineDocument, theirsJson);
    }
    db.Execute("INSERT INTO " + Table("document") + "(id, content) VALUES(1, $1) "
               "ON CONFLICT(id) DO UPDATE SET content = excluded.content",
               {ToShared(merged.dump(2))}, "storing the map document");
    for (const auto& table : drops) db.Execute("DROP TABLE IF EXISTS " + Table(table), {}, "dropping a replaced table");
    FailurePoint("commit", db);
    transaction.Commit();
    if (merged != mineDocument) LayerJson::WriteFileAtomically(documentPath.string(), merged.dump(2), kSource);
    m_base = std::move(mine);
    m_baseDocument = std::move(merged);
  } catch (...) {
    ThrowJsonError(std::current_exception(), [&](const std::string& reason) {
      return HostError(err::InvalidCall, kSource, "The shared analysis " + m_location.shown + " could not be saved: " + reason + ".");
    });
  }
}

} // namespace tov
