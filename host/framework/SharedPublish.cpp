#include "host/framework/SharedAnalysis.h"

#include "host/framework/SharedAnalysisParts.h"
#include "host/gis/DirectJson.h"
#include "host/gis/GisErrors.h"
#include "host/gis/JsonErrors.h"
#include "host/gis/LayerJson.h"
#include "host/gis/MapDocumentMerge.h"
#include "platform/runtime/HostError.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace fs = std::filesystem;
using nlohmann::json;

namespace tov {

using namespace shared;

namespace {

const std::map<std::string, std::string> kNoRows;

// What a write of mine changes in one table of base: put is called with
// each row that base lacks or holds with another value, drop with the key
// of each row that mine lacks.
template <class Rows, class Put, class Drop>
void ForChangedRows(const Rows& base, const Rows& mine, const Put& put, const Drop& drop) {
  for (const auto& [key, value] : mine) {
    auto old = base.find(key);
    if (old == base.end() || old->second != value) put(key, value);
  }
  for (const auto& [key, value] : base)
    if (!mine.count(key)) drop(key);
}

} // namespace

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

void SharedAnalysis::Publish(const std::string* savedDocument) {
  PgConnection& db = *m_db;
  State mine = ReadLocal(&m_base, nullptr);
  const fs::path documentPath = fs::path(m_folder) / "document.json";
  // The text a save wrote is the one a parse and a write would give again:
  // it is parsed only for a merge with others' changes.
  std::string mineText = LayerJson::ReadText(documentPath.string(), kSource);
  const bool asSaved = savedDocument && *savedDocument == mineText;
  json mineDocument;
  if (!asSaved) mineDocument = LayerJson::ParseText(mineText, documentPath.string(), kSource);

  // Changed datasets go into new tables (in the transaction below, which
  // also drops the tables they replace).
  struct Upload {
    int64_t id;
    std::string workspace, layer, format, table, fidColumn, geometryColumn;
    bool index;
    std::string srs;
  };
  std::vector<Upload> uploads;
  for (const auto& item : mine.records) {
    const int64_t id = item.first;
    auto base = m_base.records.find(id);
    ForChangedRows(
        base == m_base.records.end() ? kNoRows : base->second.datasets, item.second.datasets,
        [&](const std::string& key, const std::string& hash) {
          const size_t bar = key.find('|');
          uploads.push_back(Upload{id, key.substr(0, bar), key.substr(bar + 1), bar == 0 ? "shapefile" : "geopackage",
                                   "", "", "", Indexed(hash), ""});
        },
        [](const std::string&) {});
  }
  try {
    PgTransaction transaction(db);
    db.Execute(std::string("SELECT pg_advisory_xact_lock(") + kLockKey + ", hashtext($1))", {m_location.schema},
               "waiting for other users");
    FailurePoint("locked", db);
    // Only when no one else wrote since the pull is the copy, once this is
    // written, all the tables hold.
    const bool aloneSincePull = !m_fingerprint.empty() && Fingerprint() == m_fingerprint;
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
    for (const auto& item : mine.records) {
      // Named, not bound: the lambdas below capture them.
      const int64_t id = item.first;
      const RecordState& record = item.second;
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
        ForChangedRows(
            base ? base->properties : kNoRows, record.properties,
            [&](const std::string& k, const std::string& v) {
              db.Execute("INSERT INTO " + Table("record_properties") + "(record_id, key, value) VALUES($1, $2, $3) "
                         "ON CONFLICT(record_id, key) DO UPDATE SET value = excluded.value",
                         {key, k, ToShared(v)}, "storing a study area's properties");
            },
            [&](const std::string& k) {
              db.Execute("DELETE FROM " + Table("record_properties") + " WHERE record_id = $1 AND key = $2", {key, k});
            });
        ForChangedRows(
            base ? base->files : kNoRows, record.files,
            [&](const std::string& name, const std::string&) {
              const std::string content = ReadText(fs::path(m_folder) / "StudyAreas" / key / name);
              db.Execute("INSERT INTO " + Table("record_files") + "(record_id, name, content) VALUES($1, $2, $3) "
                         "ON CONFLICT(record_id, name) DO UPDATE SET content = excluded.content",
                         {key, name, ToShared(content)}, "storing a study area's layer file");
            },
            [&](const std::string& name) {
              db.Execute("DELETE FROM " + Table("record_files") + " WHERE record_id = $1 AND name = $2", {key, name});
            });
        // Changed datasets are uploaded below; the ones gone are dropped.
        ForChangedRows(
            base ? base->datasets : kNoRows, record.datasets, [](const std::string&, const std::string&) {},
            [&](const std::string& k) {
              const size_t bar = k.find('|');
              const std::string workspace = k.substr(0, bar), layer = k.substr(bar + 1);
              tablesOf(id, &workspace, &layer);
              db.Execute("DELETE FROM " + Table("record_tables") + " WHERE record_id = $1 AND workspace = $2 AND layer = $3",
                         {key, workspace, layer});
            });
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
    using SettingKey = std::pair<std::string, std::string>;
    ForChangedRows(
        m_base.settings, mine.settings,
        [&](const SettingKey& key, const std::string& value) {
          db.Execute("INSERT INTO " + Table("settings") + "(facet, key, value) VALUES($1, $2, $3) "
                     "ON CONFLICT(facet, key) DO UPDATE SET value = excluded.value",
                     {key.first, key.second, ToShared(value)}, "storing the analysis's settings");
        },
        [&](const SettingKey& key) {
          db.Execute("DELETE FROM " + Table("settings") + " WHERE facet = $1 AND key = $2", {key.first, key.second});
        });

    FailurePoint("document", db);
    // No one else saved a document since the pull: this one is the merge.
    std::optional<std::string> theirs;
    if (!aloneSincePull)
      theirs = db.Scalar("SELECT content FROM " + Table("document") + " WHERE id = 1 FOR UPDATE", {},
                         "reading the map document");
    json merged;
    if (theirs) {
      json theirsJson = ParseJsonOrDiscarded(ToLocal(*theirs));
      if (theirsJson.is_discarded() || !theirsJson.is_object())
        throw HostError(gisErr::DocumentFormat, kSource,
                        "The map document stored in " + m_location.shown + " cannot be read, so it is not overwritten.");
      if (asSaved) mineDocument = LayerJson::ParseText(mineText, documentPath.string(), kSource);
      merged = MapDocumentMerge::Merge(BaseDocument(), mineDocument, theirsJson);
    }
    const bool mergedIsMine = !theirs || merged == mineDocument;
    const std::string mergedText = !mergedIsMine ? LayerJson::Text(merged) : asSaved ? mineText : LayerJson::Text(mineDocument);
    db.Execute("INSERT INTO " + Table("document") + "(id, content) VALUES(1, $1) "
               "ON CONFLICT(id) DO UPDATE SET content = excluded.content",
               {ToShared(mergedText)}, "storing the map document");
    for (const auto& table : drops) db.Execute("DROP TABLE IF EXISTS " + Table(table), {}, "dropping a replaced table");
    // Windows open on the analysis show the change once it is committed.
    db.Execute("SELECT pg_notify($1, $2)", {std::string(kChangesChannel), m_location.schema}, "telling other users");
    // Taken inside the transaction: with the schema locked, what it is at the commit.
    const std::string fingerprint = aloneSincePull ? Fingerprint() : std::string();
    std::map<int64_t, std::string> published;
    if (aloneSincePull) {
      std::vector<int64_t> changed;
      for (const auto& [id, record] : mine.records)
        if (auto base = m_base.records.find(id); base == m_base.records.end() || !SameContent(base->second, record))
          changed.push_back(id);
      if (!changed.empty()) published = DigestsOf(ReadRecordRows(&changed));
    }
    FailurePoint("commit", db);
    transaction.Commit();
    if (!mergedIsMine) LayerJson::WriteFileAtomically(documentPath.string(), mergedText, kSource);
    // What this process changed is no longer what was pulled: the next
    // pull into the mirror copies those study areas again, unless no one
    // else wrote meanwhile and what they now are in the database is known.
    for (const auto& [id, record] : m_base.records)
      if (auto now = mine.records.find(id); now == mine.records.end() || !SameContent(record, now->second))
        m_pulledDigests.erase(id);
    for (auto& [id, digest] : published) m_pulledDigests[id] = std::move(digest);
    m_base = std::move(mine);
    m_savedStateHolds = false;
    m_documentStamp = FileStamp(documentPath);
    // Kept as the text stored, parsed only if a later save has to merge.
    m_baseDocument = json();
    m_baseDocumentText = mergedText;
    m_hasDocument = true;
    m_fingerprint = fingerprint;
  } catch (...) {
    ThrowJsonError(std::current_exception(), [&](const std::string& reason) {
      return HostError(err::InvalidCall, kSource, "The shared analysis " + m_location.shown + " could not be saved: " + reason + ".");
    });
  }
}

} // namespace tov
