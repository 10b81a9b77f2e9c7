#include "host/framework/AnalysisDatabase.h"

#include "host/framework/SqliteErrors.h"
#include "host/framework/UnicodeNames.h"

#include <sqlite3.h>

#include <utility>
#include <vector>

namespace tov {
namespace {
// Study area names are kept in NFC; names stored before that are brought
// into it, unless another record already has the normalised name (the
// record stays as it was rather than lose its name).
void NormaliseStudyAreaNames(AnalysisDatabase& db) {
  std::vector<std::pair<int64_t, std::string>> renames;
  {
    AnalysisDatabase::Statement s(db, "SELECT id, name FROM study_areas");
    while (s.Step()) {
      std::string name = s.Text(1), nfc = NfcName(name);
      if (nfc != name) renames.emplace_back(s.Int(0), nfc);
    }
  }
  for (const auto& [id, nfc] : renames) {
    AnalysisDatabase::Statement taken(db, "SELECT 1 FROM study_areas WHERE name = ?1");
    taken.Bind(1, nfc);
    if (taken.Step()) continue;
    AnalysisDatabase::Statement update(db, "UPDATE study_areas SET name = ?1 WHERE id = ?2");
    update.Bind(1, nfc).Bind(2, id);
    update.Step();
  }
}

// Each entry moves the schema from version i to i + 1, by SQL or by code;
// never edit a shipped entry, append a new one.
struct Migration {
  const char* sql;
  void (*code)(AnalysisDatabase&);
};
const Migration kMigrations[] = {
    {
    R"sql(
    CREATE TABLE study_areas(
      id INTEGER PRIMARY KEY AUTOINCREMENT,   -- AUTOINCREMENT: ids are never reused
      name TEXT NOT NULL UNIQUE,              -- exact comparison (BINARY)
      base_dataset TEXT NOT NULL DEFAULT '',
      feature_class TEXT NOT NULL DEFAULT '');
    CREATE TABLE record_properties(
      record_id INTEGER NOT NULL REFERENCES study_areas(id) ON DELETE CASCADE,
      key TEXT NOT NULL,
      value TEXT NOT NULL,
      PRIMARY KEY(record_id, key));
    CREATE TABLE settings(
      facet TEXT NOT NULL,
      key TEXT NOT NULL,
      value TEXT NOT NULL,
      PRIMARY KEY(facet, key));
    INSERT INTO settings VALUES
      ('ExtensionOptions', 'Use Group Layer For Analysis', 'True'),
      ('ExtensionOptions', 'ChangeGroupLayerName', 'True'),
      ('ExtensionProperties', 'Data Format', ''),
      ('ExtensionProperties', 'Group Layer For Analysis', '');
    )sql",
     nullptr},
    {nullptr, NormaliseStudyAreaNames},
};
static_assert(sizeof(kMigrations) / sizeof(kMigrations[0]) == AnalysisDatabase::kSchemaVersion,
              "one migration per schema version");
} // namespace

AnalysisDatabase::AnalysisDatabase(const std::string& nativePath) : m_path(nativePath) {
  int rc = sqlite3_open_v2(nativePath.c_str(), &m_db,
                           SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
    sqlite3_close(m_db);
    m_db = nullptr;
    throw SqliteError(rc, "The analysis database " + nativePath + " cannot be opened (" + message +
                              "). Check that the analysis folder exists and can be written.");
  }
  sqlite3_extended_result_codes(m_db, 1);
  // Another process may hold the write lock for a moment; wait instead of failing.
  sqlite3_busy_timeout(m_db, 30000);
  try {
    Execute("PRAGMA foreign_keys = ON");
    // journal_mode needs a lock the busy handler does not wait for: retry.
    for (int attempt = 0;; ++attempt) {
      int r = sqlite3_exec(m_db, "PRAGMA journal_mode = WAL", nullptr, nullptr, nullptr);
      if (r == SQLITE_OK) break;
      if ((r & 0xFF) != SQLITE_BUSY || attempt > 300) Fail(r, "switching the analysis database to WAL mode");
      sqlite3_sleep(20);
    }
    Execute("PRAGMA synchronous = NORMAL");
    Migrate();
  } catch (...) {
    sqlite3_close(m_db);
    m_db = nullptr;
    throw;
  }
}

AnalysisDatabase::~AnalysisDatabase() {
  if (m_db) sqlite3_close(m_db);
}

void AnalysisDatabase::Fail(int code, const std::string& what) {
  throw SqliteError(code, "The analysis database " + m_path + " failed while " + what + ": " +
                              (m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code)) + ".");
}

void AnalysisDatabase::Execute(const char* sql) {
  char* message = nullptr;
  int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    throw SqliteError(rc, "The analysis database " + m_path + " refused a change: " + text + ".");
  }
}

int AnalysisDatabase::SchemaVersion() {
  Statement s(*this, "PRAGMA user_version");
  return s.Step() ? static_cast<int>(s.Int(0)) : 0;
}

void AnalysisDatabase::Migrate() {
  Write([&] {
    int version = SchemaVersion();
    if (version > kSchemaVersion)
      throw SqliteError(SQLITE_ERROR, "The analysis database " + m_path + " was written by a newer version (schema " +
                                          std::to_string(version) + "). Use that version to open it.");
    for (int v = version; v < kSchemaVersion; ++v) {
      if (kMigrations[v].sql) Execute(kMigrations[v].sql);
      if (kMigrations[v].code) kMigrations[v].code(*this);
    }
    if (version != kSchemaVersion)
      Execute(("PRAGMA user_version = " + std::to_string(kSchemaVersion)).c_str());
  });
}

void AnalysisDatabase::Write(const std::function<void()>& body) {
  Execute("BEGIN IMMEDIATE");
  try {
    body();
  } catch (...) {
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    Fail(rc, "saving a change");
  }
}

int64_t AnalysisDatabase::LastInsertId() { return sqlite3_last_insert_rowid(m_db); }

std::string AnalysisDatabase::GetSetting(const std::string& facet, const std::string& key, bool* found) {
  Statement s(*this, "SELECT value FROM settings WHERE facet = ?1 AND key = ?2");
  s.Bind(1, facet).Bind(2, key);
  bool has = s.Step();
  if (found) *found = has;
  return has ? s.Text(0) : std::string();
}

void AnalysisDatabase::SetSetting(const std::string& facet, const std::string& key, const std::string& value) {
  Write([&] {
    Statement s(*this, "INSERT INTO settings(facet, key, value) VALUES(?1, ?2, ?3) "
                       "ON CONFLICT(facet, key) DO UPDATE SET value = excluded.value");
    s.Bind(1, facet).Bind(2, key).Bind(3, value);
    s.Step();
  });
}

AnalysisDatabase::Statement::Statement(AnalysisDatabase& db, const char* sql) : m_db(db) {
  int rc = sqlite3_prepare_v2(db.m_db, sql, -1, &m_stmt, nullptr);
  if (rc != SQLITE_OK) db.Fail(rc, "preparing a query");
}

AnalysisDatabase::Statement::~Statement() { sqlite3_finalize(m_stmt); }

AnalysisDatabase::Statement& AnalysisDatabase::Statement::Bind(int index, const std::string& text) {
  int rc = sqlite3_bind_text(m_stmt, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  if (rc != SQLITE_OK) m_db.Fail(rc, "binding a value");
  return *this;
}

AnalysisDatabase::Statement& AnalysisDatabase::Statement::Bind(int index, int64_t value) {
  int rc = sqlite3_bind_int64(m_stmt, index, value);
  if (rc != SQLITE_OK) m_db.Fail(rc, "binding a value");
  return *this;
}

bool AnalysisDatabase::Statement::Step() {
  int rc = sqlite3_step(m_stmt);
  if (rc == SQLITE_ROW) return true;
  if (rc == SQLITE_DONE) return false;
  m_db.Fail(rc, "reading or writing");
}

std::string AnalysisDatabase::Statement::Text(int column) {
  const unsigned char* t = sqlite3_column_text(m_stmt, column);
  int n = sqlite3_column_bytes(m_stmt, column);
  return t ? std::string(reinterpret_cast<const char*>(t), static_cast<size_t>(n)) : std::string();
}

int64_t AnalysisDatabase::Statement::Int(int column) { return sqlite3_column_int64(m_stmt, column); }

} // namespace tov
