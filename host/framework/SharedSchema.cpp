#include "host/framework/SharedAnalysis.h"

#include "host/framework/SharedAnalysisParts.h"
#include "platform/runtime/HostError.h"

namespace tov {

using namespace shared;

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

} // namespace tov
