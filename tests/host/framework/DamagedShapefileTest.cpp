// A study area whose shapefile lost its table or has a damaged header is
// told broken, by the check and by `list` alike, without the data being
// opened; a whole one is not, and its map layer says where its data lives
// without opening it either.
#include "Program.h"

#include "host/common/Paths.h"
#include "host/framework/AnalysisCheck.h"
#include "host/gis/HostFeatureClass.h"
#include "platform/gis/EnumLayer.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/WorkspaceFactory.h"

#include <fstream>
#include <map>
#include <sstream>

namespace tov::test {
namespace {

void Overwrite(const std::string& path, std::streamoff at, const std::string& bytes) {
  std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
  file.seekp(at);
  file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

TEST(DamagedShapefileTest, ATableGoneOrAHeaderThatDoesNotFitIsAMissingDatasetInTheCheckAndTheList) {
  TestWorld world;
  const std::vector<std::string> names = {"Whole", "NoTable", "ShortShapes", "BadIndex", "ShortTable", "LongShapes"};
  for (size_t i = 0; i < names.size(); ++i) {
    const double west = -74.9 + 0.1 * static_cast<double>(i);
    const std::string extent = std::to_string(west) + ",40.2," + std::to_string(west + 0.08) + ",40.8";
    ASSERT_EQ(RunTovana(world, "setup extent --name " + names[i] + " --lonlat --extent " + extent).exitCode, 0)
        << names[i];
  }
  std::map<std::string, std::string> stem; // the study area's shapefile, without extension
  {
    AnalysisPtr analysis = world.Open();
    for (const std::string& name : names)
      stem[name] = fs::path(ToNativePath(analysis->dataManager->GetStudyAreaCatalog()->Item(name)->FilePath()))
                       .parent_path().string() + "/StudyArea";
  }
  fs::remove(stem["NoTable"] + ".dbf");
  fs::resize_file(stem["ShortShapes"] + ".shp", 50); // half a header
  Overwrite(stem["BadIndex"] + ".shx", 0, std::string("\0\0\0\1", 4)); // not a shapefile's file code
  fs::resize_file(stem["ShortTable"] + ".dbf", fs::file_size(stem["ShortTable"] + ".dbf") - 8); // a record cut
  Overwrite(stem["LongShapes"] + ".shp", 24, std::string("\0\1\0\0", 4)); // longer than the file

  const ProgramRun list = RunTovana(world, "list");
  ASSERT_EQ(list.exitCode, 0) << list.errors;
  std::map<std::string, std::string> lines;
  std::istringstream in(list.output);
  for (std::string line; std::getline(in, line);) lines[line.substr(0, line.find('\t'))] = line;
  AnalysisPtr analysis = world.Open();
  for (const std::string& name : names) {
    const std::string expected = name == "Whole" ? "" : "dataset missing: " + stem[name] + ".shp";
    EXPECT_EQ(AnalysisCheck::BrokenReason(*analysis, name), expected) << name;
    const size_t at = lines[name].find("\tbroken: ");
    EXPECT_EQ(at == std::string::npos ? "" : lines[name].substr(at + 9), expected) << lines[name];
  }
}

TEST(DamagedShapefileTest, AWholeOneSaysWhereItsDataIsWithoutOpeningItAndOpensWhenRead) {
  TestWorld world;
  for (const std::string& name : {"Whole", "Damaged"})
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
