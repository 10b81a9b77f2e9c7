#pragma once
#include "platform/framework/StudyAreaRecord.h"

#include "host/framework/AnalysisDatabase.h"

namespace tov {

// A catalogue record, read from and written to analysis.sqlite by its id.
class SqliteStudyAreaRecord : public StudyAreaRecord {
public:
  SqliteStudyAreaRecord(AnalysisDatabasePtr db, int64_t id, std::string filePath)
      : m_db(std::move(db)), m_id(id), m_filePath(std::move(filePath)) {}

  std::string Name() override;
  void SetName(const std::string& name) override;
  std::string FilePath() override { return m_filePath; }
  std::string BaseDataSet() override;
  void SetBaseDataSet(const std::string& dataSetPath) override;
  TextPropertySetPtr RecordProperties() override;
  void SetFeatureClass(const std::shared_ptr<FeatureClass>& featureClass) override;
  std::shared_ptr<FeatureClass> GetFeatureClass() override { return m_featureClass; }

  int64_t Id() const { return m_id; }
  // The stored text that locates the feature class ("" when never given).
  std::string FeatureClassLocation();

private:
  std::string Column(const char* sql);
  void Update(const char* sql, const std::string& value);

  AnalysisDatabasePtr m_db;
  int64_t m_id;
  std::string m_filePath;
  std::shared_ptr<FeatureClass> m_featureClass;
};

} // namespace tov
