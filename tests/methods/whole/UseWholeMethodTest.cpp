// The whole layer method: the union of every shape of the main layer, stored
// as a new study area (stored again from the property sheet: the host's
// WholeLayerRebuildTest).
#include "HostWrappers.h"
#include "Recorders.h"
#include "WorldTest.h"

#include "methods/whole/TovSSAUseWholeFunction.h"
#include "methods/whole/TovSSAUseWholeTask.h"
#include "pages/modi18N.h"

namespace tov::test {
namespace {

constexpr char kGeographic[] = R"({"Type": "Geographic", "ID": "4269"})";
// Two overlapping squares of half a degree and one apart (square degrees).
constexpr double kUnionArea = 0.25 + 0.25 - 0.0625 + 0.25;

class UseWholeMethodTest : public WorldTest {
protected:
  // A data set whose "Blocks" layer (geographic 4269) is the main layer of
  // the method, and a second descriptor naming a layer that is not there.
  void Open(const std::string& projection) {
    TestWorldOptions options;
    options.projection = projection;
    options.extraLayers = R"({ "name": "Blocks", "sourceName": "blocks", "mapLayerName": "Blocks" })";
    options.extraMethods = MethodJson(kUseWholeMethod, "All the blocks", R"({ "MainLayer": "Blocks" })") + ", " +
                           MethodJson("SetupStudyArea.UseWholeGone", "All of nothing", R"({ "MainLayer": "Nowhere" })");
    world = std::make_unique<TestWorld>(options);
    SpatialReferencePtr sr = Geographic(4269);
    WritePolygons(*world, "blocks", {},
                  {{Square(-74.0, 40.0, 0.5, sr), {}}, {Square(-73.75, 40.25, 0.5, sr), {}}, {Square(-73.0, 40.0, 0.5, sr), {}}});
    OpenAnalysis();
  }

  // A function given every parameter, the application and data manager as given.
  std::shared_ptr<TovSSAUseWholeFunction> Function(const std::string& name, HostApplicationPtr application,
                                                   DataManagerPtr dataManager) {
    auto function = std::make_shared<TovSSAUseWholeFunction>();
    SetParams(*function, {{"Application", application}, {"DataManager", dataManager}, {"StudyAreaName", name},
                          {"DataSet", Dataset()}, {"SSATask", Method(kUseWholeMethod)}, {"FromPropertyPage", false}});
    return function;
  }
};

TEST_F(UseWholeMethodTest, TheStudyAreaCoversTheUnionOfTheLayerAndAMissingLayerIsToldAndStoresNothing) {
  Open(kGeographic);
  HostTaskRunResult result = RunScripted(NameTurn("All blocks"), kUseWholeTaskProgId);
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(result.lastError, 0);
  EXPECT_EQ(result.currentStudyArea, "All blocks");
  EXPECT_NEAR(Must(CurrentShape(), "the study area")->Area(), kUnionArea, kUnionArea * 1e-4);
  // A descriptor naming a layer that is not there.
  result = RunScripted(NameTurn("Nothing"), kUseWholeTaskProgId, "SetupStudyArea.UseWholeGone");
  EXPECT_FALSE(result.Stored());
  EXPECT_EQ(result.lastError, kErrorNoMainLayer);
  ResourceFinderPtr texts = GetTextResources();
  EXPECT_EQ(ShownMessages(*presenter), std::vector<std::string>{MessageOf(
                                           "critical", texts->FindString("168"),
                                           texts->FindString("179") + "Nowhere" + texts->FindString("178"))});
}

TEST_F(UseWholeMethodTest, TheUnionIsLeftInTheCoordinateSystemOfTheLayer) {
  Open(R"({"Type": "Projected", "ID": "5070"})");
  ReportRecorder reports;
  auto function = Function("Blocks", analysis->application, std::make_shared<RefusingDataManager>(analysis->dataManager));
  EXPECT_FALSE(InitStartStep(*function));
  // The store refused the name (step 3) and left the polygon to the function.
  ASSERT_EQ(reports.Reports().size(), 1u);
  EXPECT_TRUE(Has(reports.Reports()[0].description, "nStep = 3"));
  auto polygon = Must(As<Polygon>(function->Geometry()), "the union");
  EXPECT_EQ(polygon->SpatialReference()->FactoryCode(), 4269);
  EXPECT_NEAR(polygon->Area(), kUnionArea, kUnionArea * 1e-4);
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
  EXPECT_FALSE(InitStartStep(*function));
  EXPECT_EQ(function->LastError(), kErrorNoMainLayer);
  EXPECT_TRUE(presenter->Messages().empty());
  EXPECT_EQ(Catalog()->Count(), 0);
}

TEST_F(UseWholeMethodTest, TheTaskHandsItsParametersOverEvenWithoutDataSet) {
  Open(kGeographic);
  SpyFunctionScope spy(kUseWholeFunctionProgId);
  TovSSAUseWholeTask task;
  ASSERT_TRUE(task.Init(analysis->dataManager, analysis->application));
  EXPECT_TRUE(task.InitFunction());
  EXPECT_EQ(spy.log.initCalls, 1);
  EXPECT_EQ(spy.log.keys, (std::vector<std::string>{"Application", "DataManager", "StudyAreaName", "DataSet",
                                                     "SSATask", "FromPropertyPage"}));
}

} // namespace
} // namespace tov::test
