#include "host/framework/AnalysisDatabase.h"

#include "host/framework/SqliteErrors.h"
#include "host/framework/UnicodeNames.h"

#include <sqlite3.h>

#include <cerrno>
#include <unistd.h>
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

namespace {
std::string FolderOf(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? std::string(".") : slash == 0 ? std::string("/") : path.substr(0, slash);
}

// A database that exists in a folder (or on a disk) this process cannot
// write: opened read-only, and as immutable, since without write access
// SQLite cannot make the files WAL mode reads through.
bool CannotWrite(const std::string& path) {
  if (access(path.c_str(), F_OK) != 0) return false;
  return access(path.c_str(), W_OK) != 0 || access(FolderOf(path).c_str(), W_OK) != 0;
}

std::string UriOf(const std::string& path) {
  std::string uri = "file:";
  for (char c : path) {
    if (c == '%' || c == '?' || c == '#') {
      static const char hex[] = "0123456789ABCDEF";
      uri += '%';
      uri += hex[(static_cast<unsigned char>(c) >> 4) & 0xF];
      uri += hex[static_cast<unsigned char>(c) & 0xF];
    } else {
      uri += c;
    }
  }
  return uri + "?immutable=1";
}
} // namespace

AnalysisDatabase::AnalysisDatabase(const std::string& nativePath) : m_path(nativePath) {
  if (CannotWrite(nativePath)) {
    Open(true);
    m_readOnlyReason = "the analysis is read-only";
    return;
  }
  try {
    Open(false);
  } catch (const HostError& e) {
    // A full disk leaves no room for the files WAL mode reads through; what
    // is stored can still be read.
    if (e.Description().find("the disk is full") == std::string::npos) throw;
    Open(true);
    m_readOnlyReason = "the disk is full";
  }
}

void AnalysisDatabase::Open(bool readOnly) {
  m_readOnly = readOnly;
  int rc = readOnly ? sqlite3_open_v2(UriOf(m_path).c_str(), &m_db,
                                      SQLITE_OPEN_READONLY | SQLITE_OPEN_URI | SQLITE_OPEN_FULLMUTEX, nullptr)
                    : sqlite3_open_v2(m_path.c_str(), &m_db,
                                      SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX, nullptr);
  if (rc != SQLITE_OK) {
    std::string message = m_db ? sqlite3_errmsg(m_db) : "out of memory";
    sqlite3_close(m_db);
    m_db = nullptr;
    throw SqliteError(rc, "The analysis database " + m_path + " cannot be opened (" + message +
                              "). Check that the analysis folder exists and can be written.");
  }
  sqlite3_extended_result_codes(m_db, 1);
  // Another process may hold the write lock for a moment; wait instead of failing.
  sqlite3_busy_timeout(m_db, 30000);
  try {
    Execute("PRAGMA foreign_keys = ON");
    if (readOnly) {
      const int version = SchemaVersion();
      if (version != kSchemaVersion)
        throw SqliteError(SQLITE_READONLY, "The analysis database " + m_path + " cannot be written and " +
                                               (version > kSchemaVersion ? "was written by a newer version"
                                                                         : "needs upgrading, which means writing it") +
                                               ".");
      return;
    }
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
    Close();
    throw;
  }
}

AnalysisDatabase::~AnalysisDatabase() { Close(); }

void AnalysisDatabase::Close() {
  {
    std::lock_guard<std::mutex> lock(m_idleMutex);
    for (auto& [sql, stmt] : m_idle) sqlite3_finalize(stmt);
    m_idle.clear();
  }
  if (m_db) sqlite3_close(m_db);
  m_db = nullptr;
}

sqlite3_stmt* AnalysisDatabase::TakeStatement(const std::string& sql) {
  std::lock_guard<std::mutex> lock(m_idleMutex);
  auto it = m_idle.find(sql);
  if (it == m_idle.end()) return nullptr;
  sqlite3_stmt* stmt = it->second;
  m_idle.erase(it);
  return stmt;
}

void AnalysisDatabase::ReturnStatement(const std::string& sql, sqlite3_stmt* stmt) {
  // Reset ends the statement's read, so a kept statement holds no lock.
  sqlite3_reset(stmt);
  sqlite3_clear_bindings(stmt);
  // The texts are the program's own, so few; the bound is for safety only.
  constexpr size_t kMostKept = 128;
  std::lock_guard<std::mutex> lock(m_idleMutex);
  if (m_idle.size() >= kMostKept) {
    sqlite3_finalize(stmt);
    return;
  }
  m_idle.emplace(sql, stmt);
}

void AnalysisDatabase::Fail(int code, const std::string& what) {
  Fail(code, what, m_db ? sqlite3_errmsg(m_db) : sqlite3_errstr(code));
}

void AnalysisDatabase::Fail(int code, const std::string& what, const std::string& message) {
  if (std::string reason = Reason(code); !reason.empty())
    throw SqliteError(code, "The analysis database " + m_path + " cannot be changed: " + reason + ".");
  throw SqliteError(code, "The analysis database " + m_path + " failed while " + what + ": " + message + ".");
}

// A sentence for the failures a user can do something about; "" otherwise.
std::string AnalysisDatabase::Reason(int code) const {
  const int primary = code & 0xFF;
  const int systemError = m_db ? sqlite3_system_errno(m_db) : 0;
  if (primary == SQLITE_FULL || systemError == ENOSPC || systemError == EDQUOT) return "the disk is full";
  if (primary == SQLITE_READONLY || systemError == EROFS)
    return "the analysis is read-only";
  return "";
}

void AnalysisDatabase::Execute(const char* sql) {
  char* message = nullptr;
  int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, &message);
  if (rc != SQLITE_OK) {
    std::string text = message ? message : sqlite3_errstr(rc);
    sqlite3_free(message);
    if (std::string reason = Reason(rc); !reason.empty())
      throw SqliteError(rc, "The analysis database " + m_path + " cannot be changed: " + reason + ".");
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
  if (m_readOnly)
    throw SqliteError(SQLITE_READONLY, "The analysis database " + m_path + " cannot be changed: " + m_readOnlyReason + ".");
  Execute("BEGIN IMMEDIATE");
  try {
    body();
  } catch (...) {
    if (!sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  int rc = sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
  if (rc != SQLITE_OK) {
    // The failed commit's reason, before the rollback (which may find the
    // transaction already ended) replaces it.
    const std::string message = sqlite3_errmsg(m_db);
    const std::string reason = Reason(rc);
    if (!sqlite3_get_autocommit(m_db)) sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    if (!reason.empty())
      throw SqliteError(rc, "The analysis database " + m_path + " cannot be changed: " + reason + ".");
    Fail(rc, "saving a change", message);
  }
  ++m_commits;
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

AnalysisDatabase::Statement::Statement(AnalysisDatabase& db, const char* sql) : m_db(db), m_sql(sql) {
  m_stmt = db.TakeStatement(m_sql);
  if (m_stmt) return;
  int rc = sqlite3_prepare_v2(db.m_db, sql, -1, &m_stmt, nullptr);
  if (rc != SQLITE_OK) {
    sqlite3_finalize(m_stmt);
    db.Fail(rc, "preparing a query");
  }
}

AnalysisDatabase::Statement::~Statement() {
  if (m_stmt) m_db.ReturnStatement(m_sql, m_stmt);
}

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
