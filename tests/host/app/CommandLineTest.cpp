// The command line run twice into one analysis, then the analysis read back
// as the next session would.
#include "WorldTest.h"

#include "host/common/Paths.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TovExtension.h"

#include <filesystem>

namespace tov::test {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

class CommandLineTest : public WorldTest {
protected:
  static const json* Named(const json& layers, const std::string& name) {
    for (const auto& layer : layers)
      if (layer.value("name", "") == name) return &layer;
    return nullptr;
  }
};

TEST_F(CommandLineTest, TwoRunsIntoOneAnalysisAreBothStoredAndTheSecondIsCurrent) {
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent -74.6,40.2,-74.1,40.8"), 0) << errors;
  ASSERT_EQ(Tovana("setup extent --name \"Mid Town\" --lonlat --extent -74.0,40.3,-73.6,40.7"), 0) << errors;

  AnalysisPtr analysis = world->Open();
  StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
  ASSERT_EQ(catalog->Count(), 2);
  EXPECT_EQ(analysis->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "Mid Town");
  std::vector<std::string> layerFiles;
  for (const char* name : {"Harbour", "Mid Town"}) {
    ASSERT_TRUE(catalog->Exists(name)) << name;
    StudyAreaRecordPtr record = catalog->Item(name);
    EXPECT_EQ(record->RecordProperties()->GetProperty("TYPE"), "SetupStudyArea.CurrentExtent");
    EXPECT_EQ(record->RecordProperties()->GetProperty("MAINLAYER"), "Regions");
    const fs::path layerFile = ToNativePath(record->FilePath());
    EXPECT_TRUE(fs::is_regular_file(layerFile)) << layerFile;
    EXPECT_TRUE(fs::is_regular_file(fs::path(layerFile).replace_extension(".shp"))) << layerFile;
    EXPECT_EQ(layerFile.parent_path().parent_path(), fs::path(analysis->folder) / "StudyAreas");
    layerFiles.push_back(layerFile.string());
  }
  EXPECT_NE(layerFiles[0], layerFiles[1]);

  const json layers = FocusLayers();
  const json* latest = Named(layers, "Analyses created for Mid Town");
  const json* earlier = Named(layers, "Analyses created for Harbour");
  ASSERT_TRUE(latest && earlier);
  EXPECT_EQ(latest->at("type"), "group");
  ASSERT_FALSE(latest->at("layers").empty());
  const json& newLayer = latest->at("layers").at(0);
  EXPECT_EQ(newLayer.at("name"), "Mid Town");
  EXPECT_EQ(newLayer.at("renderer").at("symbol").at("outline").at("width"), 4.0);
  EXPECT_EQ(earlier->at("layers").at(0).at("renderer").at("symbol").at("outline").at("width"), 2.0);
  EXPECT_TRUE(Named(layers, "Regions"));
}

TEST_F(CommandLineTest, WithoutRenamingTheSecondLayerGoesFirstInTheFirstGroup) {
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent -74.6,40.2,-74.1,40.8"), 0) << errors;
  {
    AnalysisPtr analysis = world->Open();
    analysis->extension->ExtensionOptions()->SetProperty("ChangeGroupLayerName", "False");
    SaveAnalysis(*analysis); // what a shared analysis publishes
  }
  ASSERT_EQ(Tovana("setup extent --name Bay --lonlat --extent -74.0,40.3,-73.6,40.7"), 0) << errors;

  const json layers = FocusLayers();
  EXPECT_FALSE(Named(layers, "Analyses created for Bay"));
  const json* group = Named(layers, "Analyses created for Harbour");
  ASSERT_TRUE(group);
  ASSERT_EQ(group->at("layers").size(), 2u);
  EXPECT_EQ(group->at("layers").at(0).at("name"), "Bay");
  EXPECT_EQ(group->at("layers").at(1).at("name"), "Harbour");
}

TEST_F(CommandLineTest, AnExistingNameStoresNothingAndSaysWhy) {
  ASSERT_EQ(Tovana("setup extent --name Harbour"), 0) << errors;
  EXPECT_EQ(Tovana("setup extent --name Harbour"), 1);
  EXPECT_NE(errors.find("Harbour"), std::string::npos) << errors;
  EXPECT_NE(errors.find("no study area was made"), std::string::npos) << errors;
  EXPECT_EQ(Tovana("setup extent"), 2);
  EXPECT_EQ(world->Open()->dataManager->GetStudyAreaCatalog()->Count(), 1);
}

} // namespace
} // namespace tov::test
