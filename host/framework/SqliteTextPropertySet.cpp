#include "host/framework/SqliteTextPropertySet.h"

#include "platform/runtime/HostError.h"

namespace tov {

std::shared_ptr<SqliteTextPropertySet> SqliteTextPropertySet::ForFacet(AnalysisDatabasePtr db, std::string facet) {
  return std::shared_ptr<SqliteTextPropertySet>(new SqliteTextPropertySet(std::move(db), std::move(facet), 0));
}

std::shared_ptr<SqliteTextPropertySet> SqliteTextPropertySet::ForRecord(AnalysisDatabasePtr db, int64_t recordId) {
  return std::shared_ptr<SqliteTextPropertySet>(new SqliteTextPropertySet(std::move(db), std::string(), recordId));
}

bool SqliteTextPropertySet::Read(const std::string& key, std::string& value) {
  if (!m_facet.empty()) {
    bool found = false;
    value = m_db->GetSetting(m_facet, key, &found);
    return found;
  }
  AnalysisDatabase::Statement s(*m_db, "SELECT value FROM record_properties WHERE record_id = ?1 AND key = ?2");
  s.Bind(1, m_recordId).Bind(2, key);
  if (!s.Step()) return false;
  value = s.Text(0);
  return true;
}

std::string SqliteTextPropertySet::GetProperty(const std::string& key) {
  std::string value;
  Read(key, value);
  return value;
}

bool SqliteTextPropertySet::HasProperty(const std::string& key) {
  std::string value;
  return Read(key, value);
}

void SqliteTextPropertySet::SetProperty(const std::string& key, const std::string& value) {
  if (!m_facet.empty()) {
    m_db->SetSetting(m_facet, key, value);
    return;
  }
  m_db->Write([&] {
    AnalysisDatabase::Statement exists(*m_db, "SELECT 1 FROM study_areas WHERE id = ?1");
    exists.Bind(1, m_recordId);
    if (!exists.Step())
      throw HostError(err::InvalidCall, "StudyAreaRecord",
                      "The study area was removed from the analysis; its property \"" + key + "\" cannot be set.");
    AnalysisDatabase::Statement s(*m_db, "INSERT INTO record_properties(record_id, key, value) VALUES(?1, ?2, ?3) "
                                         "ON CONFLICT(record_id, key) DO UPDATE SET value = excluded.value");
    s.Bind(1, m_recordId).Bind(2, key).Bind(3, value);
    s.Step();
  });
}

} // namespace tov
