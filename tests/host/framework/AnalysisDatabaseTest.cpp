// The analysis database: the catalogue of study areas (names, folders and
// records, also with two processes adding at once) and the settings.
#include "TestWorld.h"

#include "host/common/Paths.h"
#include "host/framework/AnalysisDatabase.h"
#include "host/framework/SqliteStudyAreaCatalog.h"
#include "host/framework/SqliteTextPropertySet.h"

#include <fstream>
#include <sys/wait.h>
#include <unistd.h>

namespace tov::test {
namespace {

// The catalogue of study areas in the analysis database.
using testing::TempFolder;

class CatalogTest : public ::testing::Test {
protected:
  void SetUp() override { Reopen(); }
  void Reopen() {
    catalog.reset();
    db = std::make_shared<AnalysisDatabase>(tmp / "analysis.sqlite");
    catalog = std::make_shared<SqliteStudyAreaCatalog>(db, tmp.Path());
  }
  std::vector<std::string> Names() {
    std::vector<std::string> out;
    CollectionPtr names = catalog->Names();
    for (const auto& v : *names) out.push_back(v.ToString());
    return out;
  }
  // Runs child(who) in two processes 'A' and 'B' at once, with this
  // process's catalogue closed; each must end with no failures.
  void InTwoProcesses(const std::function<int(char)>& child) {
    catalog.reset();
    db.reset();
    std::vector<pid_t> children;
    for (char who : {'A', 'B'}) {
      pid_t pid = fork();
      ASSERT_GE(pid, 0);
      if (pid == 0) {
        int failures = 255;
        try {
          failures = std::min(child(who), 255);
        } catch (...) {
        }
        _exit(failures);
      }
      children.push_back(pid);
    }
    for (pid_t pid : children) {
      int status = 0;
      ASSERT_EQ(waitpid(pid, &status, 0), pid);
      ASSERT_TRUE(WIFEXITED(status));
      EXPECT_EQ(WEXITSTATUS(status), 0);
    }
  }

  // Adds who-1 .. who-count to a catalogue of the analysis folder kept in
  // `database`, marking each one's folder as its own when asked, as the
  // store's files would; the number of refusals.
  int AddAll(char who, const std::string& database, int count, bool mark) {
    SqliteStudyAreaCatalog childCatalog(std::make_shared<AnalysisDatabase>(database), tmp.Path());
    int failures = 0;
    for (int i = 1; i <= count; ++i) {
      const std::string name = std::string(1, who) + "-" + std::to_string(i);
      if (!childCatalog.Add(name)) ++failures;
      else if (mark) std::ofstream(ToNativePath(childCatalog.Item(name)->FilePath()), std::ios::app) << name << "\n";
    }
    return failures;
  }

  TempFolder tmp;
  AnalysisDatabasePtr db;
  std::shared_ptr<SqliteStudyAreaCatalog> catalog;
};

TEST_F(CatalogTest, AddRefusesExistingAndInvalidNamesWithoutCreatingAnything) {
  ASSERT_TRUE(catalog->Add("Kings County"));
  EXPECT_FALSE(catalog->Add("Kings County"));
  for (const char* bad : {"", " ", " leading", "trailing ", "a/b", "a\\b", "what?", "tab\there",
                          "12345678901234567890123456789012345678901234567890123456789012345"})
    EXPECT_FALSE(catalog->Add(bad)) << bad;
  EXPECT_EQ(Names(), std::vector<std::string>{"Kings County"});
  EXPECT_EQ(catalog->Count(), 1);
  // Names are compared exactly: another case is another name.
  EXPECT_FALSE(catalog->Exists("kings county"));
  EXPECT_TRUE(catalog->Add("kings county"));
}

TEST_F(CatalogTest, NamesComeInCreationOrderCountedFromOne) {
  for (const char* n : {"Zeta", "Alpha", "Mid"}) ASSERT_TRUE(catalog->Add(n));
  CollectionPtr names = catalog->Names();
  ASSERT_EQ(names->Count(), 3);
  EXPECT_EQ(names->Item(1).ToString(), "Zeta");
  EXPECT_EQ(names->Item(3).ToString(), "Mid");
  EXPECT_EQ(catalog->Item("Nowhere"), nullptr);
}

TEST_F(CatalogTest, FilePathIsAnAbsolutePlatformPathInTheRecordsOwnFolderWhoseIdIsNeverReused) {
  ASSERT_TRUE(catalog->Add("A"));
  ASSERT_TRUE(catalog->Item("A"));
  EXPECT_EQ(catalog->Item("A")->FilePath(), ToPlatformPath(tmp.Path()) + "\\StudyAreas\\1\\StudyArea.lyr");
  // Add prepares the folder the store writes into.
  EXPECT_TRUE(fs::is_directory(tmp / "StudyAreas/1"));

  ASSERT_TRUE(catalog->Add("B"));
  std::string pathB = catalog->Item("B")->FilePath();
  catalog->Remove("B");
  Reopen();
  ASSERT_TRUE(catalog->Add("B"));
  EXPECT_NE(catalog->Item("B")->FilePath(), pathB);
  EXPECT_NE(catalog->Item("B")->FilePath().find("\\StudyAreas\\3\\"), std::string::npos);
}

TEST_F(CatalogTest, ANewStudyAreaNeverTakesAFolderThatIsAlreadyThere) {
  // Left by an analysis.sqlite that was deleted: an old study area's files,
  // and something else of the same name as the next folder.
  fs::create_directories(tmp / "StudyAreas/1");
  std::ofstream(tmp / "StudyAreas/1/StudyArea.lyr") << "old";
  std::ofstream(tmp / "StudyAreas/2") << "not a folder";
  ASSERT_TRUE(catalog->Add("New"));
  EXPECT_EQ(catalog->Item("New")->FilePath(), ToPlatformPath(tmp / "StudyAreas/3/StudyArea.lyr"));
  EXPECT_TRUE(fs::is_directory(tmp / "StudyAreas/3"));

  // The database recreated once more: the next free folder again.
  catalog.reset();
  db.reset();
  fs::remove(tmp / "analysis.sqlite");
  Reopen();
  ASSERT_TRUE(catalog->Add("Again"));
  EXPECT_EQ(catalog->Item("Again")->FilePath(), ToPlatformPath(tmp / "StudyAreas/4/StudyArea.lyr"));
  EXPECT_EQ(test::ReadTextFile(tmp / "StudyAreas/1/StudyArea.lyr"), "old");
}

TEST_F(CatalogTest, TwoCataloguesOfOneFolderNeverShareAStudyAreaFolder) {
  // Two processes, each with its own database file but the same analysis
  // folder: only the folder itself can keep them apart.
  InTwoProcesses([this](char who) { return AddAll(who, tmp / (std::string(1, who) + ".sqlite"), 50, true); });
  size_t folders = 0;
  for (const auto& entry : fs::directory_iterator(tmp / "StudyAreas")) {
    ++folders;
    std::ifstream in(entry.path() / "StudyArea.lyr");
    std::string first, second;
    std::getline(in, first);
    EXPECT_FALSE(std::getline(in, second)) << entry.path() << " holds " << first << " and " << second;
  }
  EXPECT_EQ(folders, 100u);
}

TEST_F(CatalogTest, NamesThatLookTheSameAreOneStudyArea) {
  const std::string decomposed = "Cafe\u0301 du Monde", precomposed = "Caf\u00E9 du Monde";
  ASSERT_TRUE(catalog->Add(decomposed));
  EXPECT_FALSE(catalog->Add(precomposed));
  EXPECT_EQ(Names(), std::vector<std::string>{precomposed}); // kept in NFC
  EXPECT_TRUE(catalog->Exists(precomposed) && catalog->Exists(decomposed));
  ASSERT_TRUE(catalog->Item(precomposed) && catalog->Item(decomposed));
  EXPECT_EQ(catalog->Item(decomposed)->FilePath(), catalog->Item(precomposed)->FilePath());

  // Renaming another record to the same name in the other form is refused;
  // a rename to a decomposed name is stored composed.
  ASSERT_TRUE(catalog->Add("Other"));
  EXPECT_THROW(catalog->Item("Other")->SetName(decomposed), HostError);
  catalog->Item("Other")->SetName("Mu\u0308nster");
  EXPECT_TRUE(catalog->Exists("M\u00FCnster"));
  EXPECT_EQ(catalog->Item("M\u00FCnster")->Name(), "M\u00FCnster");

  catalog->Remove(decomposed);
  EXPECT_FALSE(catalog->Exists(precomposed));
  EXPECT_EQ(catalog->Count(), 1);
}

TEST_F(CatalogTest, NamesStoredBeforeNormalisationAreFoundInEitherForm) {
  // A database of the previous schema holding a decomposed name.
  {
    AnalysisDatabase::Statement insert(*db, "INSERT INTO study_areas(name) VALUES(?1)");
    insert.Bind(1, std::string("Cafe\u0301"));
    insert.Step();
  }
  db->Execute("PRAGMA user_version = 1");
  Reopen();
  EXPECT_EQ(db->SchemaVersion(), AnalysisDatabase::kSchemaVersion);
  EXPECT_EQ(Names(), std::vector<std::string>{"Caf\u00E9"});
  EXPECT_TRUE(catalog->Exists("Cafe\u0301"));
}

TEST_F(CatalogTest, RemoveDeletesTheLayerFileAndTheFolderOnlyWhenNothingElseIsLeftAndAcceptsUnknownNames) {
  ASSERT_TRUE(catalog->Add("Empty after"));
  ASSERT_TRUE(catalog->Add("Has more"));
  std::string folder1 = tmp / "StudyAreas/1", folder2 = tmp / "StudyAreas/2";
  std::ofstream(folder1 + "/StudyArea.lyr") << "{}";
  std::ofstream(folder2 + "/StudyArea.lyr") << "{}";
  std::ofstream(folder2 + "/notes.txt") << "kept";

  StudyAreaRecordPtr removed = catalog->Item("Empty after");
  catalog->Remove("Empty after");
  catalog->Remove("Has more");
  // Unknown names and the single blank are nothing to remove.
  for (const char* unknown : {"Unknown", " "}) EXPECT_NO_THROW(catalog->Remove(unknown)) << unknown;
  // Only what the study area left goes, and its folder with it when empty.
  EXPECT_TRUE(!fs::exists(folder1) && !fs::exists(folder2 + "/StudyArea.lyr") && fs::exists(folder2 + "/notes.txt"));
  EXPECT_EQ(catalog->Count(), 0);
  // A removed record refuses changes with an error.
  EXPECT_THROW(removed->SetBaseDataSet("USA"), HostError);
  EXPECT_THROW(removed->RecordProperties()->SetProperty("TYPE", "x"), HostError);
  EXPECT_THROW(removed->SetName("Back"), HostError);
}

TEST_F(CatalogTest, RenameKeepsThePathAndRefusesTakenOrInvalidNames) {
  ASSERT_TRUE(catalog->Add("Old"));
  ASSERT_TRUE(catalog->Add("Other"));
  StudyAreaRecordPtr record = catalog->Item("Old");
  std::string p = record->FilePath();
  record->SetName("New");
  EXPECT_EQ(std::make_tuple(record->Name(), catalog->Exists("Old"), catalog->Item("New")->FilePath()),
            std::make_tuple(std::string("New"), false, p));
  EXPECT_EQ(Names(), (std::vector<std::string>{"New", "Other"}));

  const test::Raised taken = test::ErrorOf([&] { record->SetName("Other"); });
  EXPECT_EQ(taken.number, err::DuplicateKey) << "a taken name was accepted";
  EXPECT_TRUE(test::Has(taken.description, "Other")) << taken.description;
  EXPECT_THROW(record->SetName("bad|name"), HostError);
  EXPECT_EQ(record->Name(), "New");
}

TEST_F(CatalogTest, EverythingSurvivesReopeningTheAnalysis) {
  ASSERT_TRUE(catalog->Add("Kept"));
  const std::pair<std::string, std::string> properties[] = {{"TYPE", "SetupStudyArea.MapList"},
                                                            {"FEATURESLIST", "'1','2'"}};
  {
    StudyAreaRecordPtr record = catalog->Item("Kept");
    record->SetBaseDataSet("USA");
    for (const auto& [key, value] : properties) record->RecordProperties()->SetProperty(key, value);
    auto props = SqliteTextPropertySet::ForFacet(db, "ExtensionProperties");
    props->SetProperty("CurrentExtent", "Kept");
  }
  Reopen();
  StudyAreaRecordPtr record = catalog->Item("Kept");
  ASSERT_TRUE(record);
  EXPECT_EQ(record->BaseDataSet(), "USA");
  for (const auto& [key, value] : properties) EXPECT_EQ(record->RecordProperties()->GetProperty(key), value) << key;
  EXPECT_EQ(record->RecordProperties()->GetProperty("MAINLAYER"), "");
  EXPECT_FALSE(record->RecordProperties()->HasProperty("MAINLAYER"));
  EXPECT_EQ(SqliteTextPropertySet::ForFacet(db, "ExtensionProperties")->GetProperty("CurrentExtent"), "Kept");
}

TEST_F(CatalogTest, ANewAnalysisHasTheDefaultSettingsAndTheCurrentSchema) {
  auto options = SqliteTextPropertySet::ForFacet(db, "ExtensionOptions");
  auto props = SqliteTextPropertySet::ForFacet(db, "ExtensionProperties");
  EXPECT_EQ(options->GetProperty("Use Group Layer For Analysis"), "True");
  EXPECT_EQ(options->GetProperty("ChangeGroupLayerName"), "True");
  EXPECT_TRUE(props->HasProperty("Data Format"));
  EXPECT_EQ(props->GetProperty("Group Layer For Analysis"), "");
  EXPECT_EQ(db->SchemaVersion(), AnalysisDatabase::kSchemaVersion);
  // Reopening does not put the defaults back over the user's choice.
  options->SetProperty("ChangeGroupLayerName", "False");
  Reopen();
  EXPECT_EQ(SqliteTextPropertySet::ForFacet(db, "ExtensionOptions")->GetProperty("ChangeGroupLayerName"), "False");
}

TEST_F(CatalogTest, ADatabaseFromANewerVersionOrAFileThatIsNotADatabaseIsRefusedClearly) {
  db->Execute("PRAGMA user_version = 99");
  catalog.reset();
  db.reset();
  const std::string why = test::ErrorOf([&] { AnalysisDatabase newer(tmp / "analysis.sqlite"); }).description;
  EXPECT_TRUE(test::Has(why, "newer")) << "a newer schema was opened: " << why;
  std::ofstream(tmp / "broken.sqlite") << std::string(4096, 'x');
  EXPECT_THROW(AnalysisDatabase{tmp / "broken.sqlite"}, HostError);
}

// Two processes on one analysis: every Add is its own transaction and the
// busy timeout makes the other wait, so no record is lost.
TEST_F(CatalogTest, TwoProcessesAddingAHundredEachEndWithTwoHundredRecords) {
  InTwoProcesses([this](char who) { return AddAll(who, tmp / "analysis.sqlite", 100, false); });
  Reopen();
  EXPECT_EQ(catalog->Count(), 200);
  std::set<std::string> paths;
  for (const auto& name : Names()) paths.insert(catalog->Item(name)->FilePath());
  EXPECT_EQ(paths.size(), 200u);
}

} // namespace
} // namespace tov::test
