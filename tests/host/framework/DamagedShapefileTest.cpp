// A study area whose shapefile lost its table or has a damaged header is
// told broken, by the check and by `list` alike, without the data being
// opened; a whole one is not, and its map layer says where its data lives
// without opening it either.
#include "Program.h"

#include "host/common/Paths.h"
#include "host/framework/AnalysisCheck.h"
#include "host/framework/CheckedStudyAreas.h"
#include "host/gis/FilesFoundWhole.h"
#include "host/gis/HostFeatureClass.h"
#include "host/gis/ShapefileCheck.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/WorkspaceFactory.h"

#include <fstream>
#include <map>
#include <sstream>
#include <thread>

namespace tov::test {
namespace {

void Overwrite(const std::string& path, std::streamoff at, const std::string& bytes) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(at);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// Stores a study area of each name; returns each one's shapefile, without extension.
std::map<std::string, std::string> StoreStudyAreas(const TestWorld& world, const std::vector<std::string>& names) {
  for (size_t i = 0; i < names.size(); ++i) {
    const double west = -74.9 + 0.1 * static_cast<double>(i);
    const std::string extent = std::to_string(west) + ",40.2," + std::to_string(west + 0.08) + ",40.8";
    EXPECT_EQ(RunTovana(world, "setup extent --name " + names[i] + " --lonlat --extent " + extent).exitCode, 0)
        << names[i];
  }
  std::map<std::string, std::string> stem;
  AnalysisPtr analysis = world.Open();
  for (const std::string& name : names)
    stem[name] = fs::path(ToNativePath(analysis->dataManager->GetStudyAreaCatalog()->Item(name)->FilePath()))
                     .parent_path().string() + "/StudyArea";
  return stem;
}

// Each study area's "broken: " reason in a list, "" when it has none.
std::map<std::string, std::string> ListedReasons(const TestWorld& world) {
  const ProgramRun list = RunTovana(world, "list");
  EXPECT_EQ(list.exitCode, 0) << list.errors;
  std::map<std::string, std::string> reasons;
  std::istringstream in(list.output);
  for (std::string line; std::getline(in, line);) {
    const size_t at = line.find("\tbroken: ");
    reasons[line.substr(0, line.find('\t'))] = at == std::string::npos ? "" : line.substr(at + 9);
  }
  return reasons;
}

TEST(DamagedShapefileTest, ATableGoneOrAHeaderThatDoesNotFitIsAMissingDatasetInTheCheckAndTheList) {
  TestWorld world;
  const std::vector<std::string> names = {"Whole", "NoTable", "ShortShapes", "BadIndex", "ShortTable", "LongShapes"};
  std::map<std::string, std::string> stem = StoreStudyAreas(world, names);
  fs::remove(stem["NoTable"] + ".dbf");
  fs::resize_file(stem["ShortShapes"] + ".shp", 50); // half a header
  Overwrite(stem["BadIndex"] + ".shx", 0, std::string("\0\0\0\1", 4)); // not a shapefile's file code
  fs::resize_file(stem["ShortTable"] + ".dbf", fs::file_size(stem["ShortTable"] + ".dbf") - 8); // a record cut
  Overwrite(stem["LongShapes"] + ".shp", 24, std::string("\0\1\0\0", 4)); // longer than the file

  std::map<std::string, std::string> listed = ListedReasons(world);
  AnalysisPtr analysis = world.Open();
  for (const std::string& name : names) {
    const std::string expected = name == "Whole" ? "" : "dataset missing: " + stem[name] + ".shp";
    EXPECT_EQ(AnalysisCheck::BrokenReason(*analysis, name), expected) << name;
    EXPECT_EQ(listed[name], expected) << name;
  }
}

TEST(DamagedShapefileTest, AListRemembersWholeOnesAndTheNextStillSeesEveryChangeToTheirFiles) {
  TestWorld world;
  const std::vector<std::string> names = {"Kept", "HeaderSameSize", "NoIndex", "LayerFileSameSize"};
  std::map<std::string, std::string> stem = StoreStudyAreas(world, names);
  // Files changed within the last moment (up to two seconds, by file system) are not remembered.
  std::this_thread::sleep_for(std::chrono::milliseconds(2100));
  // The cache of an analysis folder that is gone goes with the next write.
  const fs::path cacheFile = CheckedStudyAreas::CacheFile(world.AnalysisFolder());
  const fs::path stale = cacheFile.parent_path() / "stale";
  fs::create_directories(stale.parent_path());
  std::ofstream(stale) << "tovana checked study areas 1\t" << world.AnalysisFolder() << "-gone\n";
  for (const auto& [name, reason] : ListedReasons(world)) EXPECT_EQ(reason, "") << name;
  EXPECT_FALSE(fs::exists(stale));
  std::ifstream cache(cacheFile);
  std::string line;
  size_t remembered = 0;
  while (std::getline(cache, line)) remembered += line.find("StudyArea.lyr") != std::string::npos;
  EXPECT_EQ(remembered, names.size());

  // Changes that keep each file's size; a file gone.
  Overwrite(stem["HeaderSameSize"] + ".shp", 24, std::string("\0\1\0\0", 4));
  fs::remove(stem["NoIndex"] + ".shx");
  const std::string layerFile = stem["LayerFileSameSize"] + ".lyr";
  Overwrite(layerFile, 0, "[");
  std::map<std::string, std::string> listed = ListedReasons(world);
  EXPECT_EQ(listed["Kept"], "");
  EXPECT_EQ(listed["HeaderSameSize"], "dataset missing: " + stem["HeaderSameSize"] + ".shp");
  EXPECT_EQ(listed["NoIndex"], "dataset missing: " + stem["NoIndex"] + ".shp");
  EXPECT_EQ(listed["LayerFileSameSize"].rfind("layer file unreadable: " + layerFile, 0), 0u) << listed["LayerFileSameSize"];
}

// A process remembers the shapefiles it found whole, and looks at them again
// once one of their files changed, even to the same size, or was replaced.
TEST(DamagedShapefileTest, OneFoundWholeIsLookedAtAgainOnceItsFilesChange) {
  TestWorld world;
  std::map<std::string, std::string> stem = StoreStudyAreas(world, {"Kept", "SameSize", "Replaced"});
  auto whole = [&](const std::string& name, const std::string& tail = "") {
    return ShapefileLooksWhole(fs::path(stem[name]).parent_path().string() + tail, "StudyArea", ShapefileUse::Update);
  };
  for (const std::string name : {"Kept", "SameSize", "Replaced"}) ASSERT_TRUE(whole(name)) << name;
  Overwrite(stem["SameSize"] + ".shp", 24, std::string("\0\1\0\0", 4));
  const std::string copy = stem["Replaced"] + ".copy";
  fs::copy_file(stem["Replaced"] + ".shx", copy);
  Overwrite(copy, 0, std::string("\0\0\0\1", 4));
  fs::rename(copy, stem["Replaced"] + ".shx");
  EXPECT_EQ(std::make_tuple(whole("Kept"), whole("Kept", "/"), whole("SameSize"), whole("Replaced")),
            std::make_tuple(true, true, false, false));
}

// An analysis's cache carries the shapefiles found whole to the next
// process, which takes them as whole without reading them while every file
// is as it was (here, a header damaged and the cache told its new identity),
// and reads them again once one changed.
TEST(DamagedShapefileTest, TheNextProcessTakesShapefilesFoundWholeFromTheAnalysisCache) {
  TestWorld world;
  std::map<std::string, std::string> stem = StoreStudyAreas(world, {"Kept", "Damaged"});
  std::this_thread::sleep_for(std::chrono::milliseconds(2100)); // see above: changed too recently otherwise
  auto whole = [&](const std::string& name) {
    return ShapefileLooksWhole(fs::path(stem[name]).parent_path().string(), "StudyArea", ShapefileUse::Update);
  };
  const std::string folder = world.AnalysisFolder();
  UseShapefileCacheOf(folder);
  ASSERT_TRUE(whole("Kept") && whole("Damaged"));
  SaveShapefileCache();
  const std::string cacheFile = FilesFoundWhole::CacheFile("shapefiles", folder);
  std::string cache = ReadTextFile(cacheFile);
  ASSERT_TRUE(Has(cache, stem["Kept"] + ".dbf") && Has(cache, stem["Damaged"] + ".shx")) << cache;

  auto identity = [](const std::string& file) {
    struct stat st {};
    EXPECT_EQ(stat(file.c_str(), &st), 0) << file;
    auto ns = [](const timespec& t) { return std::to_string(int64_t{t.tv_sec} * 1000000000 + t.tv_nsec); };
    return std::to_string(st.st_dev) + ":" + std::to_string(st.st_ino) + ":" + std::to_string(st.st_size) + ":" +
           ns(st.st_mtim) + ":" + ns(st.st_ctim);
  };
  const std::string shapes = stem["Damaged"] + ".shp";
  const std::string was = identity(shapes);
  Overwrite(shapes, 0, std::string("\0\0\0\1", 4)); // no shapefile's file code
  const size_t at = cache.find(was);
  ASSERT_NE(at, std::string::npos) << cache;
  WriteTextFile(cacheFile, cache.replace(at, was.size(), identity(shapes)));

  UseShapefileCacheOf(""); // as another process would start
  UseShapefileCacheOf(folder);
  EXPECT_TRUE(whole("Damaged")) << "the headers were read again";
  std::this_thread::sleep_for(std::chrono::milliseconds(50)); // a tick of the file system's clock
  Overwrite(stem["Kept"] + ".shp", 24, std::string("\0\1\0\0", 4));
  Overwrite(shapes, 4, std::string("\0", 1));
  EXPECT_EQ(std::make_tuple(whole("Kept"), whole("Damaged")), std::make_tuple(false, false));
  UseShapefileCacheOf("");
}

TEST(DamagedShapefileTest, AWholeOneSaysWhereItsDataIsWithoutOpeningItAndOpensWhenRead) {
  TestWorld world;
  for (const std::string name : {"Whole", "Damaged"})
    ASSERT_EQ(RunTovana(world, "setup extent --name " + name + " --lonlat --extent -74.6,40.2,-74.1,40.8").exitCode, 0);
  std::string damaged;
  {
    AnalysisPtr analysis = world.Open();
    damaged = fs::path(ToNativePath(analysis->dataManager->GetStudyAreaCatalog()->Item("Damaged")->FilePath()))
                  .parent_path().string() + "/StudyArea";
  }
  fs::resize_file(damaged + ".shx", 50);

  AnalysisPtr analysis = world.Open();
  std::map<std::string, FeatureLayerPtr> layers;
  EnumLayerPtr all = analysis->application->Document()->FocusMap()->Layers(true);
  all->Reset();
  while (LayerPtr layer = all->Next())
    if (auto feature = std::dynamic_pointer_cast<FeatureLayer>(layer)) layers[feature->Name()] = feature;

  ASSERT_TRUE(layers.count("Whole"));
  auto whole = std::dynamic_pointer_cast<HostFeatureClass>(layers["Whole"]->FeatureClass());
  ASSERT_TRUE(whole);
  // Where the data lives, as a comparison of layers asks it: nothing opened.
  EXPECT_EQ(whole->Name(), "StudyArea");
  EXPECT_EQ(fs::path(ToNativePath(whole->Workspace()->PathName())).filename(), "1");
  EXPECT_FALSE(whole->Workspace()->WorkspaceFactory()->ClassID().empty());
  EXPECT_FALSE(whole->HostWorkspaceOf()->Opened());
  // Read, it opens and is what was stored.
  EXPECT_EQ(whole->FeatureCount(nullptr), 1);
  EXPECT_TRUE(whole->HostWorkspaceOf()->Opened());
  EXPECT_GE(whole->Fields()->FieldCount(), 2); // its object id and shape at least

  // A damaged one is judged by the driver as before: a layer without data.
  ASSERT_TRUE(layers.count("Damaged"));
  EXPECT_EQ(layers["Damaged"]->FeatureClass(), nullptr);
}

} // namespace
} // namespace tov::test
