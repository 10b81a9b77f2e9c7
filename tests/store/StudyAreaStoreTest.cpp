// Storing a study area: dataset format, the analysis group layer, outline
// widths across maps, storing again from the property sheet, failure reports
// and the analysis coordinate system.
#include "TestWorld.h"

#include "host/common/Paths.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TovExtension.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureCursor.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/FillSymbol.h"
#include "platform/gis/GroupLayer.h"
#include "platform/gis/LineSymbol.h"
#include "platform/gis/Map.h"
#include "platform/gis/MapDocument.h"
#include "platform/gis/SimpleRenderer.h"
#include "platform/gis/Workspace.h"
#include "platform/runtime/ObjectRegistry.h"
#include "store/AnalysisSpatialReference.h"
#include "store/GroupLayers.h"
#include "store/StudyAreaCreation.h"
#include "store/StudyAreaDataset.h"

#include <filesystem>
#include <set>

namespace tov::test {
namespace {

namespace fs = std::filesystem;

class StudyAreaStoreTest : public ::testing::Test {
protected:
  void SetUp() override {
    analysis = world.Open();
    UseScript("[]");
  }

  TextPropertySetPtr Options() { return analysis->extension->ExtensionOptions(); }
  TextPropertySetPtr Properties() { return analysis->extension->ExtensionProperties(); }
  MapPtr FocusMap() { return analysis->application->Document()->FocusMap(); }

  bool Create(const std::string& name, double west, bool propertySheet = false) {
    GeometryPtr polygon = Rectangle(west, 40.2, west + 0.5, 40.8, Geographic(4269));
    DataManagerPtr dataManager = analysis->dataManager;
    HostApplicationPtr application = analysis->application;
    HostDatasetPtr dataset = dataManager->DataSetByName("Test");
    TaskDescriptorPtr task = dataset->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.CurrentExtent");
    std::string saName = name, features;
    return propertySheet ? CreateStudyAreaPP(polygon, dataManager, application, saName, dataset, task, features)
                         : CreateStudyArea(polygon, dataManager, application, saName, dataset, task, features);
  }

  std::string LayerFilePath(const std::string& name) {
    return ToNativePath(analysis->dataManager->GetStudyAreaCatalog()->Item(name)->FilePath());
  }

  TestWorld world;
  AnalysisPtr analysis;
};

GroupLayerPtr NewGroup(const std::string& name) {
  auto group = CreateAs<GroupLayer>("orvaCore.GroupLayer");
  group->SetName(name);
  return group;
}

LayerPtr NamedLayer(const std::string& name) {
  auto layer = CreateAs<FeatureLayer>("orvaCore.FeatureLayer");
  layer->SetName(name);
  return layer;
}

double OutlineWidth(const LayerPtr& layer) {
  auto fill = As<FillSymbol>(As<FeatureLayer>(layer)->Renderer()->Symbol());
  return fill->Outline()->Width();
}

LayerPtr FindLayer(const MapPtr& map, const std::string& name) {
  for (long i = 0; i < map->LayerCount(); ++i) {
    LayerPtr layer = map->Layer(i);
    if (layer->Name() == name) return layer;
    if (auto group = As<GroupLayer>(layer))
      for (long j = 0; j < group->Count(); ++j)
        if (group->Layer(j)->Name() == name) return group->Layer(j);
  }
  return nullptr;
}

TEST_F(StudyAreaStoreTest, ThePersonalGeodatabaseFormatGivesAGeoPackageWithOid) {
  Properties()->SetProperty("Data Format", "Personal Geodatabase");
  ASSERT_TRUE(Create("Gpkg", -74.6));
  auto layer = As<FeatureLayer>(FindLayer(FocusMap(), "Gpkg"));
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->FeatureClass()->OIDFieldName(), "OID");
  EXPECT_EQ(fs::path(ToNativePath(layer->FeatureClass()->Workspace()->PathName())).extension(), ".gpkg");
  EXPECT_EQ(layer->FeatureClass()->FeatureCount(nullptr), 1);
}

TEST_F(StudyAreaStoreTest, AnyOtherFormatGivesAShapefile) {
  for (const char* format : {"", "Shapefile", "personal geodatabase"}) {
    const std::string name = std::string("Shp") + std::to_string(std::string(format).size());
    Properties()->SetProperty("Data Format", format);
    ASSERT_TRUE(Create(name, -74.6));
    auto layer = As<FeatureLayer>(FindLayer(FocusMap(), name));
    ASSERT_TRUE(layer) << format;
    const fs::path folder = ToNativePath(layer->FeatureClass()->Workspace()->PathName());
    EXPECT_TRUE(fs::is_directory(folder)) << format;
    EXPECT_TRUE(fs::exists(fs::path(LayerFilePath(name)).replace_extension(".shp"))) << format;
  }
}

TEST_F(StudyAreaStoreTest, TheGroupLayerOptionMustBeExactlyTrue) {
  Options()->SetProperty("Use Group Layer For Analysis", "true");
  const long before = FocusMap()->LayerCount();
  ASSERT_TRUE(Create("Loose", -74.6));
  EXPECT_EQ(FocusMap()->LayerCount(), before + 1);
  EXPECT_FALSE(As<GroupLayer>(FindLayer(FocusMap(), "Analyses created for Loose")));
  EXPECT_FALSE(As<GroupLayer>(FocusMap()->Layer(before)));
}

TEST_F(StudyAreaStoreTest, AnEmptyGroupNameGivesMyAnalysesAndNewLayersGoFirst) {
  Options()->SetProperty("ChangeGroupLayerName", "False");
  Properties()->SetProperty("Group Layer For Analysis", "");
  ASSERT_TRUE(Create("One", -74.6));
  ASSERT_TRUE(Create("Two", -74.0));
  auto group = GetGroupLayerByName(FocusMap(), "My Analyses");
  ASSERT_TRUE(group);
  ASSERT_EQ(group->Count(), 2);
  EXPECT_EQ(group->Layer(0)->Name(), "Two");
  EXPECT_EQ(group->Layer(1)->Name(), "One");
  EXPECT_EQ(Properties()->GetProperty("Group Layer For Analysis"), "");
}

// Layer tree helpers need no analysis.
TEST(StudyAreaLayersTest, GroupLayersAreFoundOnlyAtTheTopByExactName) {
  MapPtr map = CreateAs<Map>("orvaCore.Map");
  auto outer = NewGroup("Outer");
  outer->Add(NewGroup("Inner"));
  map->AddLayer(outer);
  map->AddLayer(NewGroup("Analyses"));
  EXPECT_FALSE(GetGroupLayerByName(map, "Inner"));
  EXPECT_FALSE(GetGroupLayerByName(map, "analyses"));
  ASSERT_TRUE(GetGroupLayerByName(map, "Analyses"));
  EXPECT_EQ(GetGroupLayerByName(map, "Analyses")->Name(), "Analyses");
  map->AddLayer(NamedLayer("Plain"));
  EXPECT_FALSE(GetGroupLayerByName(map, "Plain"));
}

TEST(StudyAreaLayersTest, MoveLastLayerToTopKeepsTheOthersInOrder) {
  auto single = NewGroup("Single");
  single->Add(NamedLayer("a"));
  MoveLastLayerToTop(single);
  ASSERT_EQ(single->Count(), 1);
  EXPECT_EQ(single->Layer(0)->Name(), "a");

  auto three = NewGroup("Three");
  for (const char* name : {"a", "b", "c"}) three->Add(NamedLayer(name));
  MoveLastLayerToTop(three);
  ASSERT_EQ(three->Count(), 3);
  EXPECT_EQ(three->Layer(0)->Name(), "c");
  EXPECT_EQ(three->Layer(1)->Name(), "a");
  EXPECT_EQ(three->Layer(2)->Name(), "b");
}

TEST_F(StudyAreaStoreTest, OutlinesMarkTheCurrentStudyAreaInEveryMap) {
  ASSERT_TRUE(Create("First", -74.6));
  EXPECT_DOUBLE_EQ(OutlineWidth(FindLayer(FocusMap(), "First")), 4.0);

  // A second map shows the first study area and a layer that is no study area.
  MapPtr other = CreateAs<Map>("orvaCore.Map");
  FeatureLayerPtr copy = OpenLayerFileLayer(ToPlatformPath(LayerFilePath("First")));
  ASSERT_TRUE(copy);
  copy->SetName("First");
  other->AddLayer(copy);
  FeatureLayerPtr stranger = OpenLayerFileLayer(ToPlatformPath(LayerFilePath("First")));
  stranger->SetName("Not a study area");
  auto fill = As<FillSymbol>(stranger->Renderer()->Symbol());
  auto line = fill->Outline();
  line->SetWidth(1.5);
  fill->SetOutline(line);
  other->AddLayer(stranger);
  analysis->application->Document()->AddMap(other);
  const double referenceWidth = OutlineWidth(FindLayer(FocusMap(), "Regions"));

  ASSERT_TRUE(Create("Second", -74.0));
  EXPECT_DOUBLE_EQ(OutlineWidth(FindLayer(FocusMap(), "Second")), 4.0);
  EXPECT_DOUBLE_EQ(OutlineWidth(FindLayer(FocusMap(), "First")), 2.0);
  EXPECT_DOUBLE_EQ(OutlineWidth(FindLayer(other, "First")), 2.0);
  EXPECT_DOUBLE_EQ(OutlineWidth(FindLayer(other, "Not a study area")), 1.5);
  EXPECT_DOUBLE_EQ(OutlineWidth(FindLayer(FocusMap(), "Regions")), referenceWidth);
}

std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(folder)) files.insert(entry.path().string());
  return files;
}

TEST_F(StudyAreaStoreTest, StoringAgainReplacesTheShapeInPlace) {
  ASSERT_TRUE(Create("Again", -74.6));
  const fs::path folder = fs::path(LayerFilePath("Again")).parent_path();
  const std::set<std::string> before = FilesUnder(folder);
  const auto layerFileTime = fs::last_write_time(LayerFilePath("Again"));

  ASSERT_TRUE(Create("Again", -73.9, true));
  EXPECT_EQ(FilesUnder(folder), before);
  EXPECT_EQ(fs::last_write_time(LayerFilePath("Again")), layerFileTime);

  FeatureLayerPtr layer = OpenLayerFileLayer(ToPlatformPath(LayerFilePath("Again")));
  ASSERT_TRUE(layer);
  EXPECT_EQ(layer->FeatureClass()->FeatureCount(nullptr), 1);
  FeaturePtr feature = layer->FeatureClass()->Search(nullptr, false)->NextFeature();
  GeometryPtr shape = feature->Shape();
  shape->Project(Geographic(4269));
  EXPECT_NEAR(shape->Envelope()->XMin(), -73.9, 1e-6);
  EXPECT_EQ(Properties()->GetProperty("CurrentExtent"), "Again");
}

TEST_F(StudyAreaStoreTest, AFailureReportNamesTheStep) {
  ASSERT_TRUE(Create("Twice", -74.6));
  EXPECT_FALSE(Create("Twice", -74.0));
  const std::string log = ReadTextFile(analysis->folder + "/log.txt");
  EXPECT_NE(log.find("CreateStudyArea TovSSA\\TovSSAUtils"), std::string::npos) << log;
  EXPECT_NE(log.find("Moduble name = CreateStudyArea"), std::string::npos) << log;
  EXPECT_NE(log.find("nStep = 3"), std::string::npos) << log;
}

TEST(AnalysisSpatialReferenceTest, FallsBackToNad83UnlessTheDataSetNamesASystem) {
  struct Case {
    const char* projection;
    long expected;
  } cases[] = {{"", 4269},
               {R"({"Type": "Geographic", "ID": "4326"})", 4326},
               {R"({"Type": "Projected", "ID": "5070"})", 5070},
               {R"({"Type": "Projected"})", 4269},
               {R"({"Type": "Geographic", "ID": "many"})", 4269},
               {R"({"Type": "Local", "ID": "5070"})", 4269}};
  for (const auto& c : cases) {
    TestWorld world(c.projection);
    AnalysisPtr analysis = world.Open();
    SpatialReferencePtr sr = GetAnalysisSpatialReference(analysis->application);
    ASSERT_TRUE(sr) << c.projection;
    EXPECT_EQ(sr->FactoryCode(), c.expected) << c.projection;
  }
  EXPECT_EQ(CreateWGS84SR()->FactoryCode(), 4326);
  EXPECT_EQ(CreateAuthalicSR()->FactoryCode(), 4035);
}

} // namespace
} // namespace tov::test
