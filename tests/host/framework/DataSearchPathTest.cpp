// Where data sets are looked up: the folders in their order, a data set of
// an earlier folder hiding one of the same name, and what is said when none
// is found.
#include "ScopedEnvironment.h"
#include "TestWorld.h"

#include "host/framework/Analysis.h"
#include "host/framework/DataSearchPath.h"
#include "host/framework/RegisterHostFrameworkClasses.h"
#include "host/gis/RegisterHostGisClasses.h"

namespace tov {
namespace {
namespace fs = std::filesystem;
using testing::ScopedEnvironment;
using testing::TempFolder;

// The fixture's description under another name, in root/folder.
void PutDataset(const std::string& root, const std::string& folder, const std::string& name) {
  const std::string text = test::ReadTextFile(std::string(TOVANA_SOURCE_ROOT) + "/tests/fixtures/datasets/mini/dataset.json");
  fs::create_directories(root + "/" + folder);
  test::WriteTextFile(root + "/" + folder + "/dataset.json", ReplaceAll(text, "\"Mini\"", "\"" + name + "\""));
}

// The folders of a search path and where each comes from.
std::vector<std::pair<std::string, std::string>> Listed(const std::vector<DataFolder>& path) {
  std::vector<std::pair<std::string, std::string>> listed;
  for (const DataFolder& f : path) listed.emplace_back(f.folder, f.origin);
  return listed;
}

class DataSearchPathTest : public ::testing::Test {
protected:
  TempFolder tmp;
  ScopedEnvironment userData{"XDG_DATA_HOME", tmp / "xdg"};
  ScopedEnvironment variable{"TOVANA_DATA", tmp / "variable"};
  const std::string user = tmp / "xdg/tovana/datasets";
};

TEST_F(DataSearchPathTest, TheFoldersComeInTheirOrderEachOnce) {
  std::vector<DataFolder> path = DataSearchPath(tmp / "given");
  ASSERT_GE(path.size(), 3u);
  const std::vector<std::pair<std::string, std::string>> first = {
      {tmp / "given", "--data-root"}, {tmp / "variable", "$TOVANA_DATA"}, {user, "your data sets"}};
  EXPECT_EQ(Listed(std::vector<DataFolder>(path.begin(), path.begin() + 3)), first);
  EXPECT_EQ(path.back().origin, "the program's data sets");

  // The user's folder named again, through a link: looked in once, first.
  fs::create_directories(user);
  fs::create_directory_symlink(user, tmp / "link");
  path = DataSearchPath(tmp / "link");
  EXPECT_EQ(path[0].folder, user);
  EXPECT_EQ(path[1].origin, "$TOVANA_DATA");
  for (size_t i = 1; i < path.size(); ++i) EXPECT_NE(path[i].folder, user);

  ScopedEnvironment noVariable("TOVANA_DATA", std::nullopt);
  EXPECT_EQ(DataSearchPath()[0].origin, "your data sets");
  EXPECT_EQ(DefaultDataRoot(), user) << "new data sets go to the user's folder";
}

TEST_F(DataSearchPathTest, AnEarlierFolderHidesADataSetOfTheSameName) {
  PutDataset(tmp / "given", "a", "Alpha");
  PutDataset(tmp / "variable", "b", "Beta");
  PutDataset(tmp / "variable", "c", "Alpha");
  PutDataset(user, "d", "Delta");
  const FoundDatasets found = FindDatasets(tmp / "given");
  std::vector<std::string> listed;
  for (size_t i = 0; i < found.datasets.size(); ++i)
    listed.push_back(found.datasets[i]->Name() + " in " + found.datasets[i]->Folder() + " from " + found.origins[i]);
  EXPECT_EQ(listed, (std::vector<std::string>{"Alpha in " + tmp / "given/a from --data-root",
                                              "Beta in " + tmp / "variable/b from $TOVANA_DATA",
                                              "Delta in " + user + "/d from your data sets"}));
  ASSERT_EQ(found.hidden.size(), 1u);
  EXPECT_EQ(found.hidden[0]->Folder(), tmp / "variable/c");
  EXPECT_EQ(DefaultDataRoot(), tmp / "variable");
}

TEST_F(DataSearchPathTest, WithoutADataSetANewAnalysisSaysWhereItLooked) {
  RegisterHostGisClasses();
  RegisterHostFrameworkClasses();
  const std::string text = test::ErrorOf([&] { OpenAnalysis(tmp / "analysis", "Alpha", tmp / "given"); }).description;
  EXPECT_TRUE(test::Has(text, "No data set was found. Looked in " + tmp / "given" + " (--data-root), " +
                                  tmp / "variable" + " ($TOVANA_DATA), " + user + " (your data sets)"))
      << text;
  EXPECT_TRUE(test::Has(text, "tovana datasets install-sample")) << text;
}

} // namespace
} // namespace tov
