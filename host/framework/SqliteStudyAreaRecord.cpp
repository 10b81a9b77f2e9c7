#include "host/framework/SqliteStudyAreaRecord.h"

#include "host/common/Paths.h"
#include "host/framework/HostNameChecker.h"
#include "host/framework/SqliteTextPropertySet.h"
#include "host/framework/UnicodeNames.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/Workspace.h"
#include "platform/runtime/HostError.h"

namespace tov {
namespace {
const char kSource[] = "StudyAreaRecord";

HostError Removed() {
  return HostError(err::InvalidCall, kSource, "The study area was removed from the analysis and can no longer be changed.");
}
} // namespace

std::string SqliteStudyAreaRecord::Column(const char* sql) {
  AnalysisDatabase::Statement s(*m_db, sql);
  s.Bind(1, m_id);
  if (!s.Step()) throw Removed();
  return s.Text(0);
}

void SqliteStudyAreaRecord::Update(const char* sql, const std::string& value) {
  m_db->Write([&] {
    AnalysisDatabase::Statement s(*m_db, sql);
    s.Bind(1, value).Bind(2, m_id);
    s.Step();
    AnalysisDatabase::Statement check(*m_db, "SELECT changes()");
    if (check.Step() && check.Int(0) == 0) throw Removed();
  });
}

std::string SqliteStudyAreaRecord::Name() { return Column("SELECT name FROM study_areas WHERE id = ?1"); }

void SqliteStudyAreaRecord::SetName(const std::string& typed) {
  std::string reason = HostNameChecker::Check(typed);
  if (!reason.empty())
    throw HostError(err::InvalidCall, kSource, "The study area cannot be renamed to \"" + typed + "\". " + reason);
  const std::string name = NfcName(typed);
  m_db->Write([&] {
    AnalysisDatabase::Statement other(*m_db, "SELECT id FROM study_areas WHERE name = ?1 AND id <> ?2");
    other.Bind(1, name).Bind(2, m_id);
    if (other.Step())
      throw HostError(err::DuplicateKey, kSource,
                      "\"" + name + "\" is already the name of another study area. Choose a different name.");
    AnalysisDatabase::Statement s(*m_db, "UPDATE study_areas SET name = ?1 WHERE id = ?2");
    s.Bind(1, name).Bind(2, m_id);
    s.Step();
    AnalysisDatabase::Statement check(*m_db, "SELECT changes()");
    if (check.Step() && check.Int(0) == 0) throw Removed();
  });
}

std::string SqliteStudyAreaRecord::BaseDataSet() {
  return Column("SELECT base_dataset FROM study_areas WHERE id = ?1");
}

void SqliteStudyAreaRecord::SetBaseDataSet(const std::string& dataSetPath) {
  Update("UPDATE study_areas SET base_dataset = ?1 WHERE id = ?2", dataSetPath);
}

TextPropertySetPtr SqliteStudyAreaRecord::RecordProperties() {
  return SqliteTextPropertySet::ForRecord(m_db, m_id);
}

void SqliteStudyAreaRecord::SetFeatureClass(const std::shared_ptr<FeatureClass>& featureClass) {
  // The class itself lives in the study area's folder; the record keeps
  // where it is so the analysis can be examined without opening layers.
  std::string location;
  if (featureClass) {
    WorkspacePtr ws = featureClass->Workspace();
    location = (ws ? DisplayPath(ws->PathName()) + "|" : std::string()) + featureClass->Name();
  }
  Update("UPDATE study_areas SET feature_class = ?1 WHERE id = ?2", location);
  m_featureClass = featureClass;
}

std::string SqliteStudyAreaRecord::FeatureClassLocation() {
  return Column("SELECT feature_class FROM study_areas WHERE id = ?1");
}

} // namespace tov
