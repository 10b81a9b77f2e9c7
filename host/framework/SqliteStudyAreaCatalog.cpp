#include "host/framework/SqliteStudyAreaCatalog.h"

#include "host/common/Paths.h"
#include "host/framework/HostNameChecker.h"
#include "host/framework/SqliteStudyAreaRecord.h"
#include "host/framework/UnicodeNames.h"
#include "platform/runtime/HostError.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace tov {
namespace {
const char kSource[] = "StudyAreaCatalog";
const char kLayerFileName[] = "StudyArea.lyr";

void MakeFolder(const std::string& path) {
  if (mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
    throw HostError(err::PathNotFound, kSource,
                    "The folder " + path + " cannot be created (" + std::strerror(errno) +
                        "). Check that the analysis folder can be written.");
}
} // namespace

std::string SqliteStudyAreaCatalog::RecordFolder(int64_t id) const {
  return m_folder + "/StudyAreas/" + std::to_string(id);
}

std::string SqliteStudyAreaCatalog::RecordFilePath(int64_t id) const {
  return ToPlatformPath(RecordFolder(id) + "/" + kLayerFileName);
}

CollectionPtr SqliteStudyAreaCatalog::Names() {
  auto names = std::make_shared<Collection>();
  AnalysisDatabase::Statement s(*m_db, "SELECT name FROM study_areas ORDER BY id");
  while (s.Step()) names->Add(Variant(s.Text(0)));
  return names;
}

std::vector<SqliteStudyAreaCatalog::Entry> SqliteStudyAreaCatalog::Entries(const std::string& key) {
  std::vector<Entry> entries;
  AnalysisDatabase::Statement s(*m_db, "SELECT s.id, s.name, coalesce(p.value, '') FROM study_areas s "
                                      "LEFT JOIN record_properties p ON p.record_id = s.id AND p.key = ?1 ORDER BY s.id");
  s.Bind(1, key);
  while (s.Step()) {
    const int64_t id = s.Int(0);
    entries.push_back({s.Text(1), s.Text(2), std::make_shared<SqliteStudyAreaRecord>(m_db, id, RecordFilePath(id))});
  }
  return entries;
}

long SqliteStudyAreaCatalog::Count() {
  AnalysisDatabase::Statement s(*m_db, "SELECT count(*) FROM study_areas");
  return s.Step() ? static_cast<long>(s.Int(0)) : 0;
}

bool SqliteStudyAreaCatalog::Exists(const std::string& typed) {
  AnalysisDatabase::Statement s(*m_db, "SELECT 1 FROM study_areas WHERE name = ?1");
  s.Bind(1, NfcName(typed));
  return s.Step();
}

bool SqliteStudyAreaCatalog::Add(const std::string& typed) {
  if (!HostNameChecker::Check(typed).empty()) return false;
  const std::string name = NfcName(typed);
  MakeFolder(m_folder + "/StudyAreas");
  std::string claimed;
  try {
    m_db->Write([&] {
      AnalysisDatabase::Statement exists(*m_db, "SELECT 1 FROM study_areas WHERE name = ?1");
      exists.Bind(1, name);
      if (exists.Step()) return;
      // The folder is claimed before the record is written: mkdir either
      // makes a new folder or fails, so a folder left by an earlier
      // catalogue (a deleted or recreated analysis.sqlite) or taken by
      // another process at the same moment is never reused.
      int64_t id = m_idSource ? m_idSource() : NextId();
      for (;; id = m_idSource ? m_idSource() : id + 1) {
        const std::string folder = RecordFolder(id);
        if (mkdir(folder.c_str(), 0777) == 0) {
          claimed = folder;
          break;
        }
        if (errno != EEXIST)
          throw HostError(err::PathNotFound, kSource,
                          "The folder " + folder + " cannot be created (" + std::strerror(errno) +
                              "). Check that the analysis folder can be written.");
      }
      AnalysisDatabase::Statement insert(*m_db, "INSERT INTO study_areas(id, name) VALUES(?1, ?2)");
      insert.Bind(1, id).Bind(2, name);
      insert.Step();
    });
  } catch (...) {
    if (!claimed.empty()) rmdir(claimed.c_str());
    throw;
  }
  return !claimed.empty();
}

int64_t SqliteStudyAreaCatalog::NextId() {
  // What AUTOINCREMENT would give: ids of removed records are not reused.
  AnalysisDatabase::Statement s(*m_db,
                                "SELECT max(coalesce((SELECT seq FROM sqlite_sequence WHERE name = 'study_areas'), 0), "
                                "coalesce((SELECT max(id) FROM study_areas), 0))");
  return (s.Step() ? s.Int(0) : 0) + 1;
}

StudyAreaRecordPtr SqliteStudyAreaCatalog::Item(const std::string& typed) {
  AnalysisDatabase::Statement s(*m_db, "SELECT id FROM study_areas WHERE name = ?1");
  s.Bind(1, NfcName(typed));
  if (!s.Step()) return nullptr;
  int64_t id = s.Int(0);
  return std::make_shared<SqliteStudyAreaRecord>(m_db, id, RecordFilePath(id));
}

void SqliteStudyAreaCatalog::Remove(const std::string& typed) {
  const std::string name = NfcName(typed);
  int64_t id = -1;
  m_db->Write([&] {
    AnalysisDatabase::Statement s(*m_db, "SELECT id FROM study_areas WHERE name = ?1");
    s.Bind(1, name);
    if (!s.Step()) return; // no record (also " "): nothing to do
    id = s.Int(0);
    AnalysisDatabase::Statement del(*m_db, "DELETE FROM study_areas WHERE id = ?1");
    del.Bind(1, id);
    del.Step();
  });
  if (id < 0) return;
  // The dataset is deleted by its owner first; what is left is the layer
  // file. The folder goes only when nothing else remains in it.
  std::string folder = RecordFolder(id);
  std::string layerFile = folder + "/" + kLayerFileName;
  if (unlink(layerFile.c_str()) != 0 && errno != ENOENT)
    throw HostError(err::PathNotFound, kSource,
                    "The study area \"" + name + "\" was removed, but its layer file " + layerFile +
                        " cannot be deleted (" + std::strerror(errno) + ").");
  rmdir(folder.c_str()); // fails harmlessly when other files remain
}

} // namespace tov
