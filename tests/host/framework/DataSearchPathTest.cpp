// Where data sets are looked up: the folders in their order, a data set of
// an earlier folder hiding one of the same name, and what is said when none
// is found.
#include "ScopedEnvironment.h"
#include "TempFolder.h"

#include "host/framework/Analysis.h"
#include "host/framework/DataSearchPath.h"
#include "host/framework/RegisterHostFrameworkClasses.h"
#include "host/gis/RegisterHostGisClasses.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/TextReplace.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace tov {
namespace {
namespace fs = std::filesystem;
using testing::ScopedEnvironment;
using testing::TempFolder;

// The fixture's description under another name, in root/folder.
void PutDataset(const std::string& root, const std::string& folder, const std::string& name) {
  std::ifstream in(std::string(TOVANA_SOURCE_ROOT) + "/tests/fixtures/datasets/mini/dataset.json");
  std::ostringstream text;
  text << in.rdbuf();
  fs::create_directories(root + "/" + folder);
  std::ofstream(root + "/" + folder + "/dataset.json") << ReplaceAll(text.str(), "\"Mini\"", "\"" + name + "\"");
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
  EXPECT_EQ(path[0].folder, tmp / "given");
  EXPECT_EQ(path[0].origin, "--data-root");
  EXPECT_EQ(path[1].folder, tmp / "variable");
  EXPECT_EQ(path[1].origin, "$TOVANA_DATA");
  EXPECT_EQ(path[2].folder, user);
  EXPECT_EQ(path[2].origin, "your data sets");
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
  ASSERT_EQ(found.datasets.size(), 3u);
  EXPECT_EQ(found.datasets[0]->Name(), "Alpha");
  EXPECT_EQ(found.datasets[0]->Folder(), tmp / "given/a");
  EXPECT_EQ(found.origins[0], "--data-root");
  EXPECT_EQ(found.datasets[1]->Name(), "Beta");
  EXPECT_EQ(found.origins[1], "$TOVANA_DATA");
  EXPECT_EQ(found.datasets[2]->Name(), "Delta");
  EXPECT_EQ(found.origins[2], "your data sets");
  ASSERT_EQ(found.hidden.size(), 1u);
  EXPECT_EQ(found.hidden[0]->Folder(), tmp / "variable/c");
  EXPECT_EQ(DefaultDataRoot(), tmp / "variable");
}

TEST_F(DataSearchPathTest, WithoutADataSetANewAnalysisSaysWhereItLooked) {
  RegisterHostGisClasses();
  RegisterHostFrameworkClasses();
  try {
    OpenAnalysis(tmp / "analysis", "Alpha", tmp / "given");
    FAIL() << "an analysis was opened on a data set that is nowhere";
  } catch (const HostError& e) {
    const std::string& text = e.Description();
    EXPECT_NE(text.find("No data set was found. Looked in " + tmp / "given" + " (--data-root), " + tmp / "variable" +
                        " ($TOVANA_DATA), " + user + " (your data sets)"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("tovana datasets install-sample"), std::string::npos) << text;
  }
}

} // namespace
} // namespace tov
