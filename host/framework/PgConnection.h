#pragma once
#include <memory>
#include <optional>
#include <string>
#include <vector>

struct pg_conn;
struct pg_result;

namespace tov {

// One libpq connection of a shared analysis. Statements take text
// parameters ($1, $2, ...; no value = NULL) and give rows of texts. Every
// failure raises a HostError whose text says what was being done and why,
// in words a user can act on (the server cannot be reached, it went away,
// permission is missing, ...).
class PgConnection {
public:
  using Value = std::optional<std::string>;
  using Row = std::vector<Value>;

  // conninfo: a libpq connection string or URI; shown: how messages name
  // the database.
  PgConnection(const std::string& conninfo, std::string shown);
  ~PgConnection();
  PgConnection(const PgConnection&) = delete;
  PgConnection& operator=(const PgConnection&) = delete;

  // The rows of one statement; what: what it does, for the message when it fails.
  std::vector<Row> Query(const std::string& sql, const std::vector<Value>& params = {},
                         const char* what = "reading the shared analysis");
  // Runs a statement (or several, without parameters) and ignores its rows.
  void Execute(const std::string& sql, const std::vector<Value>& params = {},
               const char* what = "changing the shared analysis");
  // The first column of the first row, or no value.
  Value Scalar(const std::string& sql, const std::vector<Value>& params = {},
               const char* what = "reading the shared analysis");

  // A GDAL connection string ("PG:...") to the same database as the same user.
  std::string GdalConnectionString() const;
  const std::string& Shown() const { return m_shown; }
  // The server process serving this connection.
  int BackendPid() const;
  bool InTransaction() const;

  // What LISTEN brings: the socket to wait on, and the notifications that
  // have arrived, taken off the connection (none when it is gone).
  struct Notification {
    std::string channel, payload;
    int backendPid = 0; // the server process of the session that notified
  };
  int Socket() const;
  std::vector<Notification> TakeNotifications();

  // The SQLSTATE of the last failed statement ("" when it did not reach the server).
  const std::string& LastState() const { return m_lastState; }

  static std::string QuoteIdentifier(const std::string& name);
  static std::string QuoteLiteral(const std::string& text);

private:
  pg_result* Run(const std::string& sql, const std::vector<Value>& params, const char* what);
  [[noreturn]] void Fail(const char* what, const std::string& detail);

  pg_conn* m_conn = nullptr;
  std::string m_shown;
  std::string m_lastState;
};

// BEGIN ... COMMIT; rolled back when left without Commit (or when the
// connection is gone, which ends the transaction anyway).
class PgTransaction {
public:
  explicit PgTransaction(PgConnection& connection);
  ~PgTransaction();
  PgTransaction(const PgTransaction&) = delete;
  PgTransaction& operator=(const PgTransaction&) = delete;
  void Commit();

private:
  PgConnection& m_connection;
  bool m_open = true;
};

} // namespace tov
