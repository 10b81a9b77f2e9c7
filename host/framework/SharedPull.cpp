#include "host/framework/SharedAnalysis.h"

#include "host/framework/AnalysisDatabase.h"
#include "host/framework/SharedAnalysisParts.h"
#include "host/gis/DirectJson.h"
#include "host/gis/GisErrors.h"
#include "platform/runtime/HostError.h"

#include <gdal_priv.h>
#include <gdal_utils.h>
#include <ogrsf_frmts.h>

#include <fstream>
#include <set>
#include <unistd.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {

using namespace shared;

namespace {

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

SharedAnalysis::RecordRows SharedAnalysis::ReadRecordRows(const std::vector<int64_t>* ids) {
  PgConnection& db = *m_db;
  std::string only, array = "{";
  std::vector<PgConnection::Value> params;
  if (ids) {
    for (int64_t id : *ids) array += (array.size() > 1 ? "," : "") + std::to_string(id);
    params.push_back(array + "}");
    only = " WHERE record_id = ANY($1::bigint[])";
  }
  RecordRows rows;
  rows.records = db.Query("SELECT id, name, base_dataset, feature_class FROM " + Table("study_areas") +
                              (ids ? " WHERE id = ANY($1::bigint[])" : "") + " ORDER BY id",
                          params);
  rows.properties =
      db.Query("SELECT record_id, key, value FROM " + Table("record_properties") + only + " ORDER BY record_id, key", params);
  rows.files =
      db.Query("SELECT record_id, name, content FROM " + Table("record_files") + only + " ORDER BY record_id, name", params);
  params.push_back(m_location.schema);
  rows.tables = db.Query("SELECT record_id, workspace, layer, format, table_name, fid_column, geometry_column, "
                         "spatial_index, srs, to_regclass(format('%I.%I', $" + std::to_string(params.size()) +
                             "::text, table_name))::oid FROM " + Table("record_tables") + only +
                             " ORDER BY record_id, workspace, layer",
                         params);
  return rows;
}

std::map<int64_t, std::string> SharedAnalysis::DigestsOf(const RecordRows& rows) {
  std::map<int64_t, std::string> texts;
  auto add = [&texts](const PgConnection::Row& row) {
    std::string& text = texts[std::stoll(*row[0])];
    for (const auto& value : row) (text += value ? "v" + *value : std::string("n")) += '\x1f';
    text += '\x1e';
  };
  for (const auto* part : {&rows.records, &rows.properties, &rows.files, &rows.tables})
    for (const auto& r : *part) add(r);
  std::map<int64_t, std::string> digests;
  for (const auto& [id, text] : texts) digests[id] = TextDigest(text);
  return digests;
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

  State saved;
  std::map<int64_t, std::string> savedDigests;
  const bool mirror = m_mirrorLock >= 0;
  const bool reuse = mirror && ReadMirrorState(saved, savedDigests, m_savedFingerprint);
  const fs::path areas = fs::path(m_folder) / "StudyAreas";
  std::error_code ec;
  if (mirror) m_fingerprint = Fingerprint();
  FailurePoint("copying", db);
  if (reuse && !m_fingerprint.empty() && m_fingerprint == m_savedFingerprint) {
    // No one wrote since the mirror was last what the tables hold: it is
    // taken as it is, and its document parsed only if a save needs it.
    auto settings = db.Query("SELECT facet, key, value FROM " + Table("settings"));
    m_base = std::move(saved);
    for (const auto& r : settings) m_base.settings[{*r[0], *r[1]}] = ToLocal(*r[2]);
    const fs::path documentPath = fs::path(m_folder) / "document.json";
    m_hasDocument = fs::exists(documentPath, ec);
    if (m_hasDocument) m_baseDocumentText = ReadText(documentPath);
    m_pulledDigests = std::move(savedDigests);
    m_savedStateHolds = true;
    m_documentStamp = FileStamp(documentPath);
    m_pulled = true;
    return;
  }
  RecordRows rows = ReadRecordRows(nullptr);
  // Named, not bound: lambdas below use them, and C++17 does not let a
  // lambda capture a structured binding.
  const auto &records = rows.records, &properties = rows.properties, &files = rows.files, &tables = rows.tables;
  auto settings = db.Query("SELECT facet, key, value FROM " + Table("settings"));
  auto document = db.Scalar("SELECT content FROM " + Table("document") + " WHERE id = 1");
  std::map<int64_t, std::string> digests = DigestsOf(rows);
  if (mirror) {
    if (!reuse) fs::remove_all(m_folder, ec);
    for (const char* suffix : {"", "-wal", "-shm", "-journal"})
      fs::remove(fs::path(m_folder) / (std::string("analysis.sqlite") + suffix), ec);
    fs::create_directories(areas, ec);
  }

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
  else fs::remove(fs::path(m_folder) / "document.json", ec);
  // The mirror's study areas that are as they were stay; the others are
  // copied again, and those gone are removed.
  std::map<int64_t, RecordState> kept;
  std::set<std::string> present;
  for (const auto& r : records) {
    const int64_t id = std::stoll(*r[0]);
    present.insert(*r[0]);
    auto was = saved.records.find(id);
    auto digest = savedDigests.find(id);
    if (reuse && was != saved.records.end() && digest != savedDigests.end() && digest->second == digests[id] &&
        fs::is_directory(areas / *r[0], ec)) {
      kept.emplace(id, std::move(was->second));
      continue;
    }
    if (reuse) fs::remove_all(areas / *r[0], ec);
    fs::create_directories(areas / *r[0], ec);
  }
  if (reuse)
    for (const auto& entry : fs::directory_iterator(areas, ec))
      if (!present.count(entry.path().filename().string())) fs::remove_all(entry.path(), ec);
  auto isKept = [&kept](const std::string& id) { return kept.count(std::stoll(id)) != 0; };
  for (const auto& r : files)
    if (!isKept(*r[0])) WriteText(areas / *r[0] / *r[1], ToLocal(*r[2]));

  // Tables never change (a changed dataset gets a new one), so each is
  // copied out of the database once per user and machine: the cache keeps
  // what it became, and every later copy of the analysis takes the files.
  const fs::path cache = WorkRoot() / "cache" /
                         (std::to_string(std::hash<std::string>()(m_location.conninfo + "|" + m_location.schema)));
  GDALDatasetUniquePtr source;
  std::map<int64_t, std::map<std::string, std::string>> known; // record -> dataset key -> hash
  std::map<std::pair<std::string, std::string>, std::vector<const PgConnection::Row*>> groups; // (record, workspace)
  for (const auto& r : tables)
    if (!isKept(*r[0])) groups[{*r[0], *r[1]}].push_back(&r);
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
  m_base = ReadLocal(nullptr, &known, &kept);
  m_base.settings.clear();
  for (const auto& r : settings) m_base.settings[{*r[0], *r[1]}] = ToLocal(*r[2]);
  m_baseDocument = json();
  m_hasDocument = document.has_value();
  if (document) m_baseDocumentText = ToLocal(*document);
  m_pulledDigests = std::move(digests);
  m_savedStateHolds = reuse && kept.size() == records.size() && kept.size() == saved.records.size();
  m_documentStamp = FileStamp(fs::path(m_folder) / "document.json");
  m_pulled = true;
}

} // namespace tov
