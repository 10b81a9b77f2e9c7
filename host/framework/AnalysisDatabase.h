#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace tov {

// analysis.sqlite: the study area catalogue, the extension's properties and
// options and the analysis's own settings. Opened in WAL mode with a busy
// timeout so that two processes can work on one analysis; every change runs
// in one immediate transaction. The schema carries a version (user_version)
// and is migrated forward on open.
class AnalysisDatabase {
public:
  static constexpr int kSchemaVersion = 2;

  // Opens or creates the database file (native path). Failures raise HostError.
  explicit AnalysisDatabase(const std::string& nativePath);
  ~AnalysisDatabase();
  AnalysisDatabase(const AnalysisDatabase&) = delete;
  AnalysisDatabase& operator=(const AnalysisDatabase&) = delete;

  const std::string& Path() const { return m_path; }
  // True when the file or its folder cannot be written (a read-only disk or
  // folder, or a disk too full to open it for writing): it is then only
  // read, and every change raises a HostError saying why.
  bool ReadOnly() const { return m_readOnly; }
  int SchemaVersion();

  // One prepared statement; values are bound from 1. The connection keeps
  // each text's statement once prepared and hands it out again, reset, to
  // the next Statement of the same text: a catalogue read per study area
  // would otherwise spend most of its time compiling SQL.
  class Statement {
  public:
    Statement(AnalysisDatabase& db, const char* sql);
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();
    Statement& Bind(int index, const std::string& text);
    Statement& Bind(int index, int64_t value);
    // Steps once: true while a row is available.
    bool Step();
    std::string Text(int column);
    int64_t Int(int column);

  private:
    AnalysisDatabase& m_db;
    std::string m_sql;
    sqlite3_stmt* m_stmt = nullptr;
  };

  // Runs body in one BEGIN IMMEDIATE transaction, committed when body
  // returns and rolled back when it throws.
  void Write(const std::function<void()>& body);
  void Execute(const char* sql);
  int64_t LastInsertId();
  // Transactions this connection committed since it was opened: a caller
  // that compares two readings knows whether it changed the analysis.
  int64_t Commits() const { return m_commits; }

  // Settings of a facet ("ExtensionProperties", "ExtensionOptions", "Analysis").
  std::string GetSetting(const std::string& facet, const std::string& key, bool* found = nullptr);
  void SetSetting(const std::string& facet, const std::string& key, const std::string& value);

  [[noreturn]] void Fail(int code, const std::string& what);

private:
  void Open(bool readOnly);
  [[noreturn]] void Fail(int code, const std::string& what, const std::string& message);
  std::string Reason(int code) const;
  void Migrate();
  // Prepared statements not in use, by SQL text; finalized before the
  // connection closes.
  sqlite3_stmt* TakeStatement(const std::string& sql);
  void ReturnStatement(const std::string& sql, sqlite3_stmt* stmt);
  void Close();

  sqlite3* m_db = nullptr;
  std::mutex m_idleMutex;
  std::unordered_multimap<std::string, sqlite3_stmt*> m_idle;
  std::string m_path;
  bool m_readOnly = false;
  int64_t m_commits = 0;
  std::string m_readOnlyReason;
};

using AnalysisDatabasePtr = std::shared_ptr<AnalysisDatabase>;

} // namespace tov
