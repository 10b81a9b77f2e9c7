#pragma once
#include "platform/framework/StudyAreaCatalog.h"

#include "host/framework/AnalysisDatabase.h"

#include <functional>
#include <vector>

namespace tov {

// The study area catalogue of one analysis folder. Record i keeps its files
// in <analysis>\StudyAreas\<i>\ (P = that folder + "StudyArea.lyr"); ids
// are assigned by Add and never reused, and Add never gives a record a
// folder that already exists on disk. Names are kept, and looked up, in
// Unicode normalisation form C: a name typed with a combining accent is the
// same name as one typed with the accented letter.
class SqliteStudyAreaCatalog : public StudyAreaCatalog {
public:
  // analysisFolder: the analysis folder as a native path.
  SqliteStudyAreaCatalog(AnalysisDatabasePtr db, std::string analysisFolder)
      : m_db(std::move(db)), m_folder(std::move(analysisFolder)) {}

  CollectionPtr Names() override;
  long Count() override;
  bool Exists(const std::string& name) override;
  bool Add(const std::string& name) override;
  StudyAreaRecordPtr Item(const std::string& name) override;
  void Remove(const std::string& name) override;

  // Where the ids of new records come from when several copies of one
  // analysis hand them out (a shared analysis); default: the next one here.
  void SetIdSource(std::function<int64_t()> source) { m_idSource = std::move(source); }

  // Every record in catalogue order with its name and its property `key`
  // ("" when it has none), read in one query: a listing of a large
  // catalogue then costs one query, not a few per record.
  struct Entry {
    std::string name;
    std::string property;
    StudyAreaRecordPtr record;
  };
  std::vector<Entry> Entries(const std::string& key);

  // Native folder of a record's files.
  std::string RecordFolder(int64_t id) const;
  // Platform path P of a record's layer file.
  std::string RecordFilePath(int64_t id) const;

private:
  // The id after every id given out so far.
  int64_t NextId();

  AnalysisDatabasePtr m_db;
  std::string m_folder;
  std::function<int64_t()> m_idSource;
};

} // namespace tov
