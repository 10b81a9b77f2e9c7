// The whole layer method: the union of every shape of the main layer, stored
// as a new study area or, from the property sheet, into an existing one.
#include "TestWorld.h"
#include "HostWrappers.h"
#include "Recorders.h"

#include "host/common/Paths.h"
#include "host/session/HostTaskRun.h"
#include "methods/whole/TovSSAUseWholeFunction.h"
#include "methods/whole/TovSSAUseWholeTask.h"
#include "pages/modi18N.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/gis/Feature.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/Workspace.h"
#include "platform/gis/WorkspaceFactory.h"
#include "store/StudyAreaCreation.h"

#include <filesystem>
#include <memory>
#include <set>

namespace tov::test {
namespace {

constexpr char kTask[] = "TovSSA.TovSSAUseWholeTask";
constexpr char kMissingLayerMethod[] = "SetupStudyArea.UseWholeGone";
constexpr char kGeographic[] = R"({"Type": "Geographic", "ID": "4269"})";
// Two overlapping squares of half a degree and one apart (square degrees).
constexpr double kUnionArea = 0.25 + 0.25 - 0.0625 + 0.25;

class UseWholeMethodTest : public ::testing::Test {
protected:
  // A data set whose "Blocks" layer (geographic 4269) is the main layer of
  // the method, and a second descriptor naming a layer that is not there.
  void Open(const std::string& projection) {
    TestWorldOptions options;
    options.projection = projection;
    options.extraLayers = R"({ "name": "Blocks", "sourceName": "blocks", "mapLayerName": "Blocks" })";
    options.extraMethods = R"(
      { "name": "SetupStudyArea.UseWhole", "caption": "All the blocks", "properties": { "MainLayer": "Blocks" },
        "layers": [], "children": [] },
      { "name": "SetupStudyArea.UseWholeGone", "caption": "All of nothing", "properties": { "MainLayer": "Nowhere" },
        "layers": [], "children": [] })";
    world = std::make_unique<TestWorld>(options);
    auto factory = CreateAs<WorkspaceFactory>("orvaCore.AccessWorkspaceFactory");
    WorkspacePtr workspace = factory->OpenFromFile(ToPlatformPath(world->DatasetFolder() + "/test.gpkg"));
    SpatialReferencePtr sr = Geographic(4269);
    FeatureClassPtr blocks = workspace->CreateFeatureClass("blocks", PolygonFields(sr, true), kFeatureClassClsid, "",
                                                           featureTypeSimple, "Shape", "");
    for (const PolygonPtr& shape : {Square(-74.0, 40.0, 0.5, sr), Square(-73.75, 40.25, 0.5, sr), Square(-73.0, 40.0, 0.5, sr)}) {
      FeaturePtr feature = blocks->CreateFeature();
      feature->SetShape(shape);
      feature->Store();
    }
    analysis = world->Open();
    presenter = UseScript("[]");
  }

  HostDatasetPtr Dataset() { return analysis->dataManager->DataSetByName("Test"); }
  TaskDescriptorPtr Descriptor(const std::string& name = "SetupStudyArea.UseWhole") {
    return Dataset()->TaskByName("SetupStudyArea")->ChildByName(name);
  }
  StudyAreaCatalogPtr Catalog() { return analysis->dataManager->GetStudyAreaCatalog(); }

  // A function given every parameter, the application and data manager as given.
  std::shared_ptr<TovSSAUseWholeFunction> Function(const std::string& name, HostApplicationPtr application,
                                                   DataManagerPtr dataManager, bool fromPropertyPage = false) {
    auto function = std::make_shared<TovSSAUseWholeFunction>();
    auto set = [&](const char* key, Variant value) { function->SetParam(key, value); };
    set("Application", Variant(std::static_pointer_cast<Object>(application)));
    set("DataManager", Variant(std::static_pointer_cast<Object>(dataManager)));
    set("StudyAreaName", Variant(name));
    set("DataSet", Variant(std::static_pointer_cast<Object>(Dataset())));
    set("SSATask", Variant(std::static_pointer_cast<Object>(Descriptor())));
    set("FromPropertyPage", Variant(fromPropertyPage));
    EXPECT_TRUE(function->Init());
    EXPECT_TRUE(function->Start());
    return function;
  }

  std::unique_ptr<TestWorld> world;
  AnalysisPtr analysis;
  ScriptedPresenterPtr presenter;
};

TEST_F(UseWholeMethodTest, TheStudyAreaCoversTheUnionOfTheLayer) {
  Open(kGeographic);
  presenter = UseScript("[" + NameTurn("All blocks") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, kTask);
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(result.lastError, 0);
  EXPECT_EQ(result.currentStudyArea, "All blocks");
  auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), kUnionArea, kUnionArea * 1e-4);
}

// A catalogue that refuses every new name, so that the store stops before
// it touches the polygon.
class RefusingCatalog : public DelegatingCatalog {
public:
  using DelegatingCatalog::DelegatingCatalog;
  bool Add(const std::string&) override { return false; }
};

class RefusingDataManager : public DelegatingDataManager {
public:
  using DelegatingDataManager::DelegatingDataManager;
  StudyAreaCatalogPtr GetStudyAreaCatalog() override {
    return std::make_shared<RefusingCatalog>(m_inner->GetStudyAreaCatalog());
  }
};

TEST_F(UseWholeMethodTest, TheUnionIsLeftInTheCoordinateSystemOfTheLayer) {
  Open(R"({"Type": "Projected", "ID": "5070"})");
  ReportRecorder reports;
  auto function = Function("Blocks", analysis->application, std::make_shared<RefusingDataManager>(analysis->dataManager));
  EXPECT_FALSE(function->DoStep());
  // The store refused the name (step 3) and left the polygon to the function.
  ASSERT_EQ(reports.Reports().size(), 1u);
  EXPECT_NE(reports.Reports()[0].description.find("nStep = 3"), std::string::npos);
  auto polygon = As<Polygon>(function->Geometry());
  ASSERT_TRUE(polygon);
  EXPECT_EQ(polygon->SpatialReference()->FactoryCode(), 4269);
  EXPECT_NEAR(polygon->Area(), kUnionArea, kUnionArea * 1e-4);
}

TEST_F(UseWholeMethodTest, AMissingMainLayerIsToldAndNothingIsStored) {
  Open(kGeographic);
  presenter = UseScript("[" + NameTurn("Nothing") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, kTask, kMissingLayerMethod);
  EXPECT_FALSE(result.Stored());
  EXPECT_EQ(result.lastError, kErrorNoMainLayer);
  ASSERT_EQ(presenter->Messages().size(), 1u);
  const auto& message = presenter->Messages()[0];
  ResourceFinderPtr texts = GetTextResources();
  EXPECT_EQ(message.Text, texts->FindString("179") + "Nowhere" + texts->FindString("178"));
  EXPECT_EQ(message.Title, texts->FindString("168"));
  EXPECT_EQ(message.Icon, "critical");
}

class NoDataAccessExtension : public DelegatingExtension {
public:
  using DelegatingExtension::DelegatingExtension;
  DataAccessServicePtr GetDataAccessService() override { return nullptr; }
};

TEST_F(UseWholeMethodTest, WithoutDataAccessTheErrorIs33AndNothingIsShown) {
  Open(kGeographic);
  auto application = std::make_shared<DelegatingApplication>(analysis->application);
  application->extension = std::make_shared<NoDataAccessExtension>(analysis->extension);
  auto function = Function("Blocks", application, analysis->dataManager);
  EXPECT_FALSE(function->DoStep());
  EXPECT_EQ(function->LastError(), kErrorNoMainLayer);
  EXPECT_TRUE(presenter->Messages().empty());
  EXPECT_EQ(Catalog()->Count(), 0);
}

std::set<std::string> FilesIn(const std::string& nativeFolder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(nativeFolder)) names.insert(entry.path().filename());
  return names;
}

TEST_F(UseWholeMethodTest, FromThePropertySheetTheExistingStudyAreaGetsTheUnion) {
  Open(kGeographic);
  GeometryPtr first = Square(-75.0, 40.0, 0.2, Geographic(4269));
  std::string name = "Blocks", features;
  HostDatasetPtr dataset = Dataset();
  TaskDescriptorPtr descriptor = Descriptor();
  DataManagerPtr dataManager = analysis->dataManager;
  HostApplicationPtr application = analysis->application;
  ASSERT_TRUE(CreateStudyArea(first, dataManager, application, name, dataset, descriptor, features));
  const std::string layerFile = ToNativePath(Catalog()->Item(name)->FilePath());
  const std::string folder = std::filesystem::path(layerFile).parent_path();
  const std::set<std::string> filesBefore = FilesIn(folder);
  const std::string layerFileBefore = ReadTextFile(layerFile);

  auto function = Function(name, application, dataManager, true);
  EXPECT_FALSE(function->DoStep());
  EXPECT_EQ(function->LastError(), 0);
  EXPECT_EQ(Catalog()->Count(), 1);
  EXPECT_EQ(FilesIn(folder), filesBefore);
  EXPECT_EQ(ReadTextFile(layerFile), layerFileBefore);
  auto stored = As<Polygon>(analysis->extension->CurrentStudyAreaGeometry());
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), kUnionArea, kUnionArea * 1e-4);
}

TEST_F(UseWholeMethodTest, TheTaskHandsItsParametersOverEvenWithoutDataSet) {
  Open(kGeographic);
  SpyFunctionScope spy(kUseWholeFunctionProgId);
  TovSSAUseWholeTask task;
  ASSERT_TRUE(task.Init(analysis->dataManager, analysis->application));
  EXPECT_TRUE(task.InitFunction());
  EXPECT_EQ(spy.log.initCalls, 1);
  const std::vector<std::string> order = {"Application", "DataManager", "StudyAreaName", "DataSet", "SSATask",
                                          "FromPropertyPage"};
  EXPECT_EQ(spy.log.keys, order);
}

} // namespace
} // namespace tov::test
