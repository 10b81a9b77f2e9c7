#pragma once
#include "platform/framework/TextPropertySet.h"

#include "host/framework/AnalysisDatabase.h"

namespace tov {

// Persisted text properties: a settings facet of the analysis, or the
// properties of one catalogue record. Each SetProperty is one transaction.
class SqliteTextPropertySet : public TextPropertySet {
public:
  static std::shared_ptr<SqliteTextPropertySet> ForFacet(AnalysisDatabasePtr db, std::string facet);
  static std::shared_ptr<SqliteTextPropertySet> ForRecord(AnalysisDatabasePtr db, int64_t recordId);

  std::string GetProperty(const std::string& key) override;
  void SetProperty(const std::string& key, const std::string& value) override;
  bool HasProperty(const std::string& key) override;

private:
  SqliteTextPropertySet(AnalysisDatabasePtr db, std::string facet, int64_t recordId)
      : m_db(std::move(db)), m_facet(std::move(facet)), m_recordId(recordId) {}
  bool Read(const std::string& key, std::string& value);

  AnalysisDatabasePtr m_db;
  std::string m_facet; // empty for a record
  int64_t m_recordId;
};

} // namespace tov
