#pragma once
#include "host/framework/PgConnection.h"

#include <nlohmann/json.hpp>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tov {

// Where a shared analysis is: a libpq connection string and the schema
// that holds it.
struct SharedLocation {
  std::string conninfo; // for libpq, without the schema
  std::string schema;
  std::string shown; // for messages: the location as given, password hidden
};

// An analysis kept in one PostgreSQL schema, for several users at once. The
// tables mirror analysis.sqlite (study_areas, record_properties, settings),
// the map document is one row, each study area's layer file a row and each
// of its datasets a PostGIS table (record_tables says which).
//
// A process works on a copy in a working folder of its own, laid out as an
// analysis folder, so the component and the host's workspaces, layer files
// and document see the same paths and names as with a local analysis.
// The copy outlives the process as the user's mirror of the schema when it
// ends as it was pulled or published: the next process that gets the
// mirror's lock pulls only the study areas that changed since, so a command
// does not copy a thousand study areas to list them, and while no one wrote
// to the tables since (their Fingerprint), it pulls nothing. A process that
// finds the mirror taken, or left changed by a command that failed, makes a
// private copy (and the mirror anew) as before.
// Open fills the copy from the database; Publish writes back what this
// process changed since then in one transaction, under a lock every writer
// of the schema takes: the new study areas' records, tables, layer files
// and layers in the document appear together, deleted ones go together,
// the document is merged with what others saved meanwhile, and a conflict
// (a name another user took, a study area another user deleted) fails the
// whole change with a message instead of overwriting anything.
class SharedAnalysis {
public:
  // "postgresql://...", "postgres://..." or "PG:...".
  static bool IsLocation(const std::string& text);
  // The schema comes from "schema=" (URI query or keyword), GDAL's
  // "schemas=" or "active_schema="; default "public". Bad text raises.
  static SharedLocation ParseLocation(const std::string& text);

  // Connects and copies the analysis into a new working folder. A missing
  // schema is created when createMissing, and refused with a message
  // saying how to make it otherwise. Failures raise HostError.
  static std::shared_ptr<SharedAnalysis> Open(const std::string& location, bool createMissing);
  ~SharedAnalysis();
  SharedAnalysis(const SharedAnalysis&) = delete;
  SharedAnalysis& operator=(const SharedAnalysis&) = delete;

  const std::string& WorkingFolder() const { return m_folder; }
  const SharedLocation& Location() const { return m_location; }
  // Whether the working folder is the user's mirror, kept for later
  // processes, rather than a private copy removed at the end.
  bool InMirror() const { return m_mirrorLock >= 0; }
  // False for a new analysis (no map document stored yet).
  bool HasDocument() const { return m_hasDocument; }
  // Set for a process that opened the analysis only to read it (list, show,
  // export, zip-preview): the study areas' files are then taken as pulled, and the check
  // that decides at the end whether the mirror is kept reads their records,
  // the settings and the document but not their folders. Cleared when the
  // same analysis is then used to change it.
  void SetOnlyReads(bool onlyReads) { m_onlyReads = onlyReads; }
  // A study area id no other process is given.
  int64_t NextStudyAreaId();
  // Writes back what changed in the working folder since Open (or the last
  // Publish); the working folder's document becomes the merged one. Those
  // who LISTEN on kChangesChannel hear of it when it is committed, with
  // the schema as the notification's text. `savedDocument`, when given, is
  // the text a save just wrote to the working folder's document: while the
  // file still holds it, it is published as it is, without being parsed
  // and written out again.
  void Publish(const std::string* savedDocument = nullptr);
  static constexpr char kChangesChannel[] = "tovana_changes";

  PgConnection& Connection() { return *m_db; }
  // A text of the working copy (a document, a layer file) as it is stored:
  // the working folder, which is this process's own, replaced by a mark.
  std::string ToShared(const std::string& text) const;

  // Called at a named point of Publish (inside its transaction: "locked",
  // "document", "commit") or of the copy Open takes ("copying", once the
  // catalogue is read), for tests that break the connection or let another
  // user write there.
  static void SetFailurePoint(std::function<void(const std::string& point, PgConnection&)> hook);

  struct RecordState {
    std::string name, baseDataset, featureClass;
    std::map<std::string, std::string> properties;
    // Layer files by name in the record's folder, each with its content's
    // digest: the state kept with the mirror stays small, and what changed
    // is read from the folder when it is published.
    std::map<std::string, std::string> files;
    std::map<std::string, std::string> datasets; // "workspace|layer" -> content hash
    std::map<std::string, std::string> stamps;   // "workspace|layer" -> its files' sizes and times
  };
  struct State {
    std::map<int64_t, RecordState> records;
    std::map<std::pair<std::string, std::string>, std::string> settings;
  };

private:
  SharedAnalysis(SharedLocation location, std::string folder);
  // The mirror this user keeps of the location, when no other process of
  // theirs holds it: its folder, and the lock held until this one ends.
  static std::string TakeMirror(const SharedLocation& location, int& lockFd);
  // What the mirror held when the last process left it as pulled or
  // published; false (and nothing read) when it was not left so. Either way
  // the mirror counts as changed from here until SaveMirrorState.
  bool ReadMirrorState(State& state, std::map<int64_t, std::string>& pulled, std::string& fingerprint);
  void SaveMirrorState(const State& state) const;
  // Whether the working copy is still what was pulled or last published;
  // now is what it holds.
  bool UnchangedSinceBase(State& now);
  void PrepareSchema(bool createMissing);
  void Pull();
  // A short text that changes whenever any row of the analysis's tables is
  // written, by whoever writes it (each row version's place and transaction).
  std::string Fingerprint();
  // The rows of the study areas (of ids only, when given) in order, and
  // what each study area is in them, as a digest.
  struct RecordRows {
    std::vector<PgConnection::Row> records, properties, files, tables;
  };
  RecordRows ReadRecordRows(const std::vector<int64_t>* ids);
  static std::map<int64_t, std::string> DigestsOf(const RecordRows& rows);
  // The document as pulled or last published (in local form; null when none
  // is stored), parsed when first needed.
  const nlohmann::json& BaseDocument();
  // The working copy's state; a dataset's hash is taken from known, or
  // from reference when its files are unchanged, else computed. A record in
  // kept takes its files' state from there without reading its folder.
  State ReadLocal(const State* reference, const std::map<int64_t, std::map<std::string, std::string>>* known,
                  const std::map<int64_t, RecordState>* kept = nullptr);
  // Copies one layer of a study area's working copy into a new table (in
  // the caller's transaction); gives back what a copy back needs.
  void StoreLayer(int64_t id, const std::string& workspace, const std::string& layer, bool geopackage,
                  const std::string& table, bool index, std::string& fidColumn, std::string& geometryColumn,
                  std::string& srs);
  std::string ToLocal(const std::string& text) const;
  std::string Table(const std::string& name) const;

  SharedLocation m_location;
  std::string m_folder;
  std::unique_ptr<PgConnection> m_db;
  State m_base;
  nlohmann::json m_baseDocument;
  bool m_hasDocument = false;
  // The text m_baseDocument is still to be parsed from, when it is.
  std::optional<std::string> m_baseDocumentText;
  int m_mirrorLock = -1;           // held while this process works in the mirror
  bool m_pulled = false;
  bool m_onlyReads = false; // see SetOnlyReads
  // The mirror's saved state still says what it holds: nothing was pulled
  // again or published since it was read.
  bool m_savedStateHolds = false;
  std::string m_documentStamp; // of the document as pulled or published
  // For each study area, a digest of its rows and tables as last pulled:
  // the next pull into the mirror copies again only those whose digest changed.
  std::map<int64_t, std::string> m_pulledDigests;
  // The tables' Fingerprint when the copy was last what they hold, and the
  // one the mirror's saved state has: while they are the same, nothing is
  // pulled.
  std::string m_fingerprint, m_savedFingerprint;
};

} // namespace tov
