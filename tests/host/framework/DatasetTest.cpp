// Data set descriptions as read, refused and looked up along the search path.
#include "CommaLocale.h"
#include "SampleDataset.h"
#include "ScopedEnvironment.h"
#include "TestWorld.h"

#include "host/framework/DataSearchPath.h"
#include "host/framework/JsonDataset.h"
#include "host/framework/RegisterHostFrameworkClasses.h"
#include "host/framework/ResourceComponent.h"
#include "host/gis/RegisterHostGisClasses.h"

namespace tov::test {
namespace {

const std::string kFixtures = std::string(TOVANA_SOURCE_ROOT) + "/tests/fixtures/datasets";

// The members of a layer's display, to compare whole.
auto Members(const LayerDisplay& d) {
  return std::make_tuple(d.minimumScale, d.maximumScale, d.labelField, d.labelMinimumScale, d.labelMaximumScale);
}

// Descriptions written into a folder of their own.
class DatasetFileTest : public ::testing::Test {
protected:
  JsonDatasetPtr Load(const std::string& text) {
    std::ofstream(tmp / "dataset.json") << text;
    return JsonDataset::Load(tmp.Path());
  }
  // Why the description is refused; the reason names the file.
  std::string Refusal(const std::string& text) {
    const std::string why = ErrorOf([&] { Load(text); }).description;
    EXPECT_TRUE(Has(why, "dataset.json")) << "accepted or not named: " << text.substr(0, 200) << "\n" << why;
    return why;
  }
  tov::testing::TempFolder tmp;
};

TEST(DatasetTest, ReadsLayersReferenceSymbolsTheConfigurationTreeAndTaskDescriptors) {
  JsonDatasetPtr ds = JsonDataset::Load(kFixtures + "/mini");
  EXPECT_EQ((std::vector<std::string>{ds->Name(), ds->DataSetPath(), ds->GeoPackagePath()}),
            (std::vector<std::string>{"Mini", "Mini", kFixtures + "/mini/mini.gpkg"}));

  ASSERT_EQ(ds->LayerCount(), 2);
  DataSetLayerPtr regions = ds->LayerByName("Regions");
  ASSERT_TRUE(regions);
  EXPECT_EQ(std::make_pair(regions->SourceName(), regions->MapLayerName()),
            std::make_pair(std::string("regions"), std::string("Regions of Mini")));
  EXPECT_EQ(ds->LayerByName("regions"), nullptr); // by name, not by source, and exactly
  EXPECT_THROW(ds->Layer(2), HostError);

  ConfigNodePtr root = ds->Configuration();
  EXPECT_EQ(root->Name(), "");
  ConfigNodePtr projection = root->ChildByName("Projections")->ChildByName("Projection.ResultantDefault");
  ASSERT_TRUE(projection);
  for (const auto& [key, value] : {std::pair{"Type", "Projected"}, {"ID", "5070"}, {"CentralMeridian", ""}})
    EXPECT_EQ(projection->Properties()->GetValue(key), value) << key;
  EXPECT_EQ(root->ChildByName("Other")->ChildCount(), 0);
  EXPECT_EQ(root->ChildByName("Missing"), nullptr);

  // Reference symbols are kept per layer; a source is found by either name.
  EXPECT_EQ(ds->ReferenceSymbols("Regions")["OutLineWidth"], "1,5");
  EXPECT_TRUE(ds->ReferenceSymbols("Zones").empty());
  EXPECT_EQ(ds->FindSource("zones")->Name(), "Zones");
  EXPECT_EQ(ds->FindSource("Zones")->SourceName(), "zones");

  // Task descriptors, with their properties, layers and children.
  ASSERT_EQ(ds->TaskCount(), 2);
  TaskDescriptorPtr setup = ds->Task(0);
  EXPECT_EQ(std::make_pair(setup->Name(), setup->Caption()),
            std::make_pair(std::string("SetupStudyArea"), std::string("Study Area Setup")));
  ASSERT_EQ(setup->ChildCount(), 2);

  TaskDescriptorPtr zip = setup->ChildByName("SetupStudyArea.WildCard");
  ASSERT_TRUE(zip);
  EXPECT_EQ(zip, setup->Child(1));
  EXPECT_EQ(zip->Caption(), "ZIP codes");
  EXPECT_EQ(zip->GetValue("ValueLength"), "5");
  EXPECT_EQ(zip->GetValue("CheckZipsValidity"), ""); // absent is empty, not an error
  // The descriptor is its own property list: both views give the same values.
  PropertyListPtr asList = zip->GetPropertyList();
  EXPECT_EQ(asList->GetValue("MainLayer"), "Zones");
  EXPECT_TRUE(std::dynamic_pointer_cast<TaskDescriptor>(asList));

  ASSERT_EQ(zip->LayerCount(), 2);
  EXPECT_EQ(zip->Layer(0)->Name(), "Zones");
  EXPECT_EQ(zip->LayerByName("Regions")->GetValue("Visible"), "True");
  EXPECT_EQ(zip->LayerByName("Nowhere"), nullptr);
  EXPECT_THROW(zip->Layer(-1), HostError);

  TaskDescriptorPtr other = ds->TaskByName("OtherTask");
  ASSERT_TRUE(other);
  EXPECT_EQ(std::make_pair(other->ChildCount(), other->LayerCount()), std::make_pair(0L, 0L));
}

TEST(DatasetTest, LoadAllFindsEveryFolderWithADescription) {
  auto all = JsonDataset::LoadAll(kFixtures);
  ASSERT_EQ(all.size(), 1u);
  EXPECT_EQ(all[0]->Name(), "Mini");
  EXPECT_TRUE(JsonDataset::LoadAll(kFixtures + "/no-such-folder").empty());
}

TEST_F(DatasetFileTest, BadDescriptionsGiveAnErrorNamingTheFileAndTheProblem) {
  const std::pair<const char*, const char*> bad[] = {
      {"{ not json", "not JSON"},
      {R"({"layers": []})", "\"name\""},
      {R"({"name": "X", "layers": {}})", "\"layers\""},
      {R"({"name": "X", "tasks": [{"caption": "no name"}]})", "\"name\""},
      {R"({"name": "X", "layers": [{"name": "A"}, {"name": "A"}]})", "twice"},
      {R"({"name": "X", "tasks": [{"name": "T", "properties": {"K": ["list"]}}]})", "\"K\""},
      {R"({"name": "X", "postgis": "dbname=x"})", "\"PG:"},
      {R"({"name": "X", "postgis": 5})", "\"postgis\""},
      {R"({"name": "X", "geopackage": "x.gpkg", "postgis": "PG:dbname=x"})", "not both"},
  };
  for (const auto& [text, mention] : bad) EXPECT_TRUE(Has(Refusal(text), mention)) << text;
  EXPECT_THROW(JsonDataset::Load(tmp / "missing"), HostError);
}

TEST_F(DatasetFileTest, ADatabaseDataSetNamesItsConnectionInsteadOfAGeoPackage) {
  JsonDatasetPtr ds = Load(R"({"name": "X", "postgis": "PG:dbname=x schemas=y"})");
  EXPECT_EQ((std::vector<std::string>{ds->PostgisConnection(), ds->GeoPackagePath(), ds->DataLocation()}),
            (std::vector<std::string>{"PG:dbname=x schemas=y", "", "PG:dbname=x schemas=y"}));
}

TEST_F(DatasetFileTest, MapMembersAreReadAndBadOnesRefusedWithAMessage) {
  JsonDatasetPtr ds = Load(R"({"name": "X", "initialExtent": [-125, 24, -66.5, 49.5],
    "attribution": "Census", "layers": [
      {"name": "Plain"},
      {"name": "Zip", "minimumScale": 1500000, "labelField": "ZIP", "labelMinimumScale": 250000,
       "labelMaximumScale": 1000}]})");
  ASSERT_TRUE(ds->InitialExtent());
  EXPECT_EQ(*ds->InitialExtent(), (std::array<double, 4>{-125, 24, -66.5, 49.5}));
  EXPECT_EQ(ds->Attribution(), "Census");
  EXPECT_EQ(Members(ds->Layers()[0]->Display()), Members(LayerDisplay()));
  EXPECT_EQ(Members(ds->Layers()[1]->Display()), Members(LayerDisplay{1500000, 0, "ZIP", 250000, 1000}));

  const std::pair<std::string, std::string> bad[] = {
      {R"("initialExtent": [-125, 24, -66.5])", "[WEST, SOUTH, EAST, NORTH]"},
      {R"("initialExtent": [-66.5, 24, -125, 49.5])", "WEST below EAST"},
      {R"("initialExtent": [-2000000, 200000, 2000000, 3000000])", "-180 to 180"},
      {R"("initialExtent": [-125, 24, -66.5, 95])", "-90 to 90"},
      {R"("layers": [{"name": "L", "minimumScale": -1}])", "\"minimumScale\""},
      {R"("layers": [{"name": "L", "maximumScale": "large"}])", "\"maximumScale\""},
      {R"("layers": [{"name": "L", "minimumScale": 1000, "maximumScale": 5000}])", "never shows"},
      {R"("layers": [{"name": "L", "labelMinimumScale": 1000}])", "without a \"labelField\""},
      {R"("layers": [{"name": "L", "labelField": "[ZIP]"}])", "without brackets"},
  };
  for (const auto& [member, mention] : bad)
    EXPECT_TRUE(Has(Refusal(R"({"name": "X", )" + member + "}"), mention)) << member;
}

// Tasks and configuration nodes deeper than any description has are refused
// with a message rather than exhausting the stack.
TEST_F(DatasetFileTest, DeeplyNestedDescriptionsAreRefused) {
  auto nested = [](const std::string& open, int depth) {
    std::string text;
    for (int i = 0; i < depth; ++i) text += open;
    for (int i = 0; i < depth; ++i) text += "]}";
    return text;
  };
  const std::string task = R"({"name": "T", "children": [)", node = R"({"name": "C", "children": [)";
  for (const std::string& text : {R"({"name": "X", "tasks": [)" + nested(task, 100000) + "]}",
                                  R"({"name": "X", "configuration": {"children": [)" + nested(node, 100000) + "]}}"})
    EXPECT_TRUE(Has(Refusal(text), "nested more than 64 deep"));
  // What a description really holds still reads.
  EXPECT_EQ(Load(R"({"name": "X", "tasks": [)" + nested(task, 10) + "]}")->TaskCount(), 1);
}

TEST_F(DatasetFileTest, TwoDataSetsWithOneNameAreRefused) {
  for (const char* folder : {"one", "two"}) {
    std::filesystem::create_directories(tmp / folder);
    std::ofstream(tmp / (std::string(folder) + "/dataset.json")) << R"({"name": "Same"})";
  }
  EXPECT_THROW(JsonDataset::LoadAll(tmp.Path()), HostError);
}

// Numbers written by hand keep their "." under a comma-decimal locale and
// convert as the component reads them.
TEST_F(DatasetFileTest, NumbersKeepTheirPointUnderACommaLocale) {
  tov::testing::CommaLocale german;
  if (!german.Active()) GTEST_SKIP() << german.SkipMessage();
  JsonDatasetPtr ds = Load(R"({
    "name": "Numbers",
    "configuration": {"children": [{"name": "Projections", "children": [
      {"name": "Projection.ResultantDefault",
       "properties": {"Type": "Projected", "ID": 5070, "CentralMeridian": "-100.5", "StandardParallel1": 29.25,
                      "Scale": 1e-3}}]}]}
  })");
  PropertyListPtr attributes =
      ds->Configuration()->ChildByName("Projections")->ChildByName("Projection.ResultantDefault")->Properties();
  EXPECT_EQ(attributes->GetValue("ID"), "5070");
  EXPECT_EQ(attributes->GetValue("StandardParallel1"), "29.25");
  const std::pair<const char*, double> numbers[] = {{"StandardParallel1", 29.25}, {"CentralMeridian", -100.5},
                                                    {"Scale", 0.001}};
  for (const auto& [key, value] : numbers)
    EXPECT_DOUBLE_EQ(Variant(attributes->GetValue(key)).ToDouble(), value) << key;
}

// The sample description is read by this reader; the chooser hides the
// selected-shapes method by comparing its caption with text 112.
TEST(DatasetTest, TheSampleDescriptionReadsAndMatchesTheTexts) {
  const std::string folder = SampleFolder().string();
  if (!std::filesystem::exists(folder + "/dataset.json")) GTEST_SKIP() << "no sample description";
  JsonDatasetPtr ds = JsonDataset::Load(folder);
  TaskDescriptorPtr setup = ds->TaskByName("SetupStudyArea");
  ASSERT_TRUE(setup);
  EXPECT_EQ(setup->ChildCount(), 7);
  TaskDescriptorPtr selected = setup->ChildByName("SetupStudyArea.SelectedShapes");
  ASSERT_TRUE(selected);
  EXPECT_EQ(selected->Caption(), TextResources().FindString("112"));
  for (long i = 0; i < setup->ChildCount(); ++i)
    EXPECT_TRUE(ds->LayerByName(setup->Child(i)->GetValue("MainLayer"))) << setup->Child(i)->Name();
}

// Where data sets are looked up: the folders in their order, a data set of
// an earlier folder hiding one of the same name, and what is said when none
// is found.
using tov::testing::ScopedEnvironment;

// The fixture's description under another name, in root/folder.
void PutDataset(const std::string& root, const std::string& folder, const std::string& name) {
  const std::string text = ReadTextFile(kFixtures + "/mini/dataset.json");
  fs::create_directories(root + "/" + folder);
  WriteTextFile(root + "/" + folder + "/dataset.json", ReplaceAll(text, "\"Mini\"", "\"" + name + "\""));
}

// The folders of a search path and where each comes from.
std::vector<std::pair<std::string, std::string>> Listed(const std::vector<DataFolder>& path) {
  std::vector<std::pair<std::string, std::string>> listed;
  for (const DataFolder& f : path) listed.emplace_back(f.folder, f.origin);
  return listed;
}

class DataSearchPathTest : public ::testing::Test {
protected:
  tov::testing::TempFolder tmp;
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
  const std::string text = ErrorOf([&] { OpenAnalysis(tmp / "analysis", "Alpha", tmp / "given"); }).description;
  EXPECT_TRUE(Has(text, "No data set was found. Looked in " + tmp / "given" + " (--data-root), " +
                                  tmp / "variable" + " ($TOVANA_DATA), " + user + " (your data sets)"))
      << text;
  EXPECT_TRUE(Has(text, "tovana datasets install-sample")) << text;
}

} // namespace
} // namespace tov::test
