#include "host/framework/PgConnection.h"

#include "platform/runtime/HostError.h"

#include <libpq-fe.h>

#include <memory>

namespace tov {
namespace {
const char kSource[] = "SharedAnalysis";

std::string Trimmed(std::string text) {
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ' || text.back() == '.')) text.pop_back();
  return text;
}

// libpq's message without its "FATAL:  " or "ERROR:  " prefix and line breaks.
std::string Clean(const char* raw) {
  std::string text = raw ? raw : "";
  for (const char* prefix : {"FATAL:  ", "ERROR:  "})
    if (text.rfind(prefix, 0) == 0) text = text.substr(std::string(prefix).size());
  for (char& c : text)
    if (c == '\n') c = ' ';
  return Trimmed(text);
}

std::string GdalQuoted(const std::string& value) {
  std::string quoted = "'";
  for (char c : value) {
    if (c == '\'' || c == '\\') quoted += '\\';
    quoted += c;
  }
  return quoted + "'";
}
} // namespace

PgConnection::PgConnection(const std::string& conninfo, std::string shown) : m_shown(std::move(shown)) {
  m_conn = PQconnectdb(conninfo.c_str());
  if (!m_conn || PQstatus(m_conn) != CONNECTION_OK) {
    const std::string reason = m_conn ? Clean(PQerrorMessage(m_conn)) : "out of memory";
    if (m_conn) PQfinish(m_conn);
    m_conn = nullptr;
    throw HostError(err::PathNotFound, kSource,
                    "The shared analysis " + m_shown + " cannot be reached: " + reason +
                        ". Check the connection string (host, port, database, user, password) and that the "
                        "server is running.");
  }
  // Notices (e.g. "already exists, skipping") are not for the user.
  PQsetNoticeProcessor(m_conn, [](void*, const char*) {}, nullptr);
}

PgConnection::~PgConnection() {
  if (m_conn) PQfinish(m_conn);
}

void PgConnection::Fail(const char* what, const std::string& detail) {
  const bool gone = !m_conn || PQstatus(m_conn) != CONNECTION_OK;
  std::string text = "The shared analysis " + m_shown + " failed while " + what + ": ";
  if (gone)
    text += "the connection to the server was lost (" + detail +
            "). Nothing of this command was saved to it; try again when the server is back.";
  else if (m_lastState == "42501")
    text += detail + ". The database user needs the permissions that \"Shared analyses\" in docs/postgis.md lists.";
  else
    text += detail + ".";
  throw HostError(gone ? err::PathNotFound : err::InvalidCall, kSource, text);
}

pg_result* PgConnection::Run(const std::string& sql, const std::vector<Value>& params, const char* what) {
  m_lastState.clear();
  std::vector<const char*> values;
  values.reserve(params.size());
  for (const auto& p : params) values.push_back(p ? p->c_str() : nullptr);
  PGresult* result = params.empty()
                         ? PQexec(m_conn, sql.c_str())
                         : PQexecParams(m_conn, sql.c_str(), static_cast<int>(values.size()), nullptr, values.data(),
                                        nullptr, nullptr, 0);
  const ExecStatusType status = result ? PQresultStatus(result) : PGRES_FATAL_ERROR;
  if (status == PGRES_COMMAND_OK || status == PGRES_TUPLES_OK) return result;
  std::string detail;
  if (result) {
    if (const char* state = PQresultErrorField(result, PG_DIAG_SQLSTATE)) m_lastState = state;
    detail = Clean(PQresultErrorMessage(result));
    PQclear(result);
  }
  if (detail.empty()) detail = Clean(PQerrorMessage(m_conn));
  Fail(what, detail);
}

std::vector<PgConnection::Row> PgConnection::Query(const std::string& sql, const std::vector<Value>& params,
                                                   const char* what) {
  std::unique_ptr<PGresult, void (*)(PGresult*)> result(Run(sql, params, what), PQclear);
  std::vector<Row> rows;
  const int n = PQntuples(result.get()), columns = PQnfields(result.get());
  rows.reserve(static_cast<size_t>(n));
  for (int r = 0; r < n; ++r) {
    Row row;
    for (int c = 0; c < columns; ++c)
      row.push_back(PQgetisnull(result.get(), r, c) ? Value()
                                                     : Value(std::string(PQgetvalue(result.get(), r, c),
                                                                         static_cast<size_t>(PQgetlength(result.get(), r, c)))));
    rows.push_back(std::move(row));
  }
  return rows;
}

void PgConnection::Execute(const std::string& sql, const std::vector<Value>& params, const char* what) {
  PQclear(Run(sql, params, what));
}

PgConnection::Value PgConnection::Scalar(const std::string& sql, const std::vector<Value>& params, const char* what) {
  auto rows = Query(sql, params, what);
  return rows.empty() || rows.front().empty() ? Value() : rows.front().front();
}

std::string PgConnection::GdalConnectionString() const {
  std::string text = "PG:";
  std::unique_ptr<PQconninfoOption, void (*)(PQconninfoOption*)> options(PQconninfo(m_conn), PQconninfoFree);
  for (PQconninfoOption* o = options.get(); o && o->keyword; ++o) {
    if (!o->val || !*o->val) continue;
    const std::string key = o->keyword;
    if (key != "host" && key != "hostaddr" && key != "port" && key != "dbname" && key != "user" &&
        key != "password" && key != "sslmode" && key != "sslrootcert" && key != "sslcert" && key != "sslkey" &&
        key != "passfile" && key != "connect_timeout")
      continue;
    text += (text.size() > 3 ? " " : "") + key + "=" + GdalQuoted(o->val);
  }
  return text;
}

int PgConnection::BackendPid() const { return PQbackendPID(m_conn); }

bool PgConnection::InTransaction() const { return PQtransactionStatus(m_conn) != PQTRANS_IDLE; }

int PgConnection::Socket() const { return PQsocket(m_conn); }

std::vector<PgConnection::Notification> PgConnection::TakeNotifications() {
  std::vector<Notification> taken;
  if (!PQconsumeInput(m_conn)) return taken;
  while (PGnotify* n = PQnotifies(m_conn)) {
    taken.push_back(Notification{n->relname ? n->relname : "", n->extra ? n->extra : "", n->be_pid});
    PQfreemem(n);
  }
  return taken;
}

std::string PgConnection::QuoteIdentifier(const std::string& name) {
  std::string quoted = "\"";
  for (char c : name) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  return quoted + "\"";
}

std::string PgConnection::QuoteLiteral(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') quoted += '\'';
    quoted += c;
  }
  return quoted + "'";
}

PgTransaction::PgTransaction(PgConnection& connection) : m_connection(connection) {
  m_connection.Execute("BEGIN", {}, "starting a transaction");
}

PgTransaction::~PgTransaction() {
  if (!m_open) return;
  try {
    if (m_connection.InTransaction()) m_connection.Execute("ROLLBACK", {}, "undoing an unfinished change");
  } catch (...) {
    // The connection is gone: the server has rolled back already.
  }
}

void PgTransaction::Commit() {
  m_open = false;
  m_connection.Execute("COMMIT", {}, "saving a change");
}

} // namespace tov
