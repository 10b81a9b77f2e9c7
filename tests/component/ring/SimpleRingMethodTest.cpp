// The simple ring method from the first page to the stored study area, and
// its function's radius, parameters and failures.
#include "RingTestSupport.h"
#include "support/Recorders.h"

#include "host/session/HostTaskRun.h"
#include "methods/ring/TovSSASimpleRingFunction.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/framework/TextPropertySet.h"
#include "platform/gis/Envelope.h"

#include <cmath>

namespace tov::test {
namespace {

constexpr double kPi = 3.14159265358979;
constexpr double kTenMiles = 16103.059581320451;

class SimpleRingMethodTest : public ::testing::Test {
protected:
  void SetUp() override { analysis = world.Open(); }

  // A ring function with every parameter but the radius, unit and site.
  std::shared_ptr<TovSSASimpleRingFunction> Function(const std::string& name) {
    auto function = std::make_shared<TovSSASimpleRingFunction>();
    HostDatasetPtr dataset = analysis->dataManager->DataSetByName("Test");
    Variant application(analysis->application), dataManager(analysis->dataManager), saName(name), data(dataset),
        task(dataset->TaskByName("SetupStudyArea")->ChildByName("SetupStudyArea.SimpleRing"));
    function->SetParam("Application", application);
    function->SetParam("DataManager", dataManager);
    function->SetParam("StudyAreaName", saName);
    function->SetParam("DataSet", data);
    function->SetParam("SSATask", task);
    return function;
  }
  static void Give(const std::shared_ptr<TovSSASimpleRingFunction>& function, double radius, bool miles,
                   PointPtr site) {
    Variant r(radius), unit(miles), point(site);
    function->SetParam("Radius", r);
    function->SetParam("UnitsMiles", unit);
    function->SetParam("Point", point);
  }
  static PointPtr NewYork() {
    PointPtr site = MakePoint(-74.0060, 40.7128);
    site->SetSpatialReference(Geographic(4035));
    return site;
  }
  // The current study area's polygon in the system given.
  PolygonPtr Stored(const SpatialReferencePtr& system) {
    auto polygon = As<Polygon>(Must(analysis->extension->CurrentStudyAreaGeometry(), "the study area")->Copy());
    polygon->Project(system);
    return polygon;
  }

  TestWorld world{RingWorldOptions()};
  AnalysisPtr analysis;
};

TEST_F(SimpleRingMethodTest, ATenMileRingAroundNewYorkIsStoredWithItsTrueArea) {
  ScriptedPresenterPtr presenter =
      UseScript("[" + SiteTurn("40.7128", "-74.0060") + "," + RingTurn("10") + "," + NameTurn("Ten Miles") + "]");
  HostTaskRunResult result = RunHostTask(*analysis, "TovSSA.TovSSASimpleRingTask");
  presenter->CheckFinished();
  EXPECT_TRUE(presenter->Errors().empty());
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Ten Miles");
  EXPECT_EQ(result.lastError, 0);

  PolygonPtr ring = Stored(Projected(5070));
  EXPECT_NEAR(ring->Area(), kPi * kTenMiles * kTenMiles, 0.005 * kPi * kTenMiles * kTenMiles);
  PointPtr centre = NewYork();
  centre->Project(Projected(5070));
  EnvelopePtr extent = ring->Envelope();
  EXPECT_NEAR((extent->XMin() + extent->XMax()) / 2, centre->X(), 50.0);
  EXPECT_NEAR((extent->YMin() + extent->YMax()) / 2, centre->Y(), 50.0);

  TextPropertySetPtr record =
      analysis->dataManager->GetStudyAreaCatalog()->Item("Ten Miles")->RecordProperties();
  EXPECT_EQ(record->GetProperty("TYPE"), "SetupStudyArea.SimpleRing");
  EXPECT_EQ(record->GetProperty("FEATURESLIST"), "");
}

TEST_F(SimpleRingMethodTest, AMileCountsAsOneOverPoint621Kilometres) {
  auto function = Function("unused");
  Give(function, 3.0, true, NewYork());
  EXPECT_DOUBLE_EQ(function->RadiusInMetres(), 4830.917874396136);
  Give(function, 1.0, true, NewYork());
  EXPECT_DOUBLE_EQ(function->RadiusInMetres(), 1610.3059581320451);
  Give(function, 3.0, false, NewYork());
  EXPECT_DOUBLE_EQ(function->RadiusInMetres(), 3000.0);
}

TEST_F(SimpleRingMethodTest, TheStoredRingHasTheRadiusInItsUnit) {
  // The rings' heights stand as their radii: 3 miles of 1/0.621 km against
  // 3 km (an international mile would be 0.06 % shorter).
  double heights[2] = {0, 0};
  const bool miles[2] = {true, false};
  for (int i = 0; i < 2; ++i) {
    auto function = Function(miles[i] ? "Three miles" : "Three kilometres");
    Give(function, 3.0, miles[i], NewYork());
    ASSERT_TRUE(function->Init());
    ASSERT_TRUE(function->Start());
    EXPECT_FALSE(function->DoStep());
    heights[i] = Stored(Geographic(4326))->Envelope()->Height();
  }
  EXPECT_NEAR(heights[0] / heights[1], 4830.917874396136 / 3000.0, 1e-5);
  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 2);
}

TEST_F(SimpleRingMethodTest, InitWantsASiteAndAPositiveRadius) {
  auto function = Function("Ring");
  Give(function, 2.0, true, NewYork());
  EXPECT_TRUE(function->Init());
  EXPECT_EQ(function->LastError(), 0);
  for (double radius : {0.0, -1.0, std::nan("")}) {
    Give(function, radius, true, NewYork());
    EXPECT_FALSE(function->Init()) << radius;
    EXPECT_EQ(function->LastError(), 47) << radius;
  }
  Give(function, 2.0, true, nullptr);
  EXPECT_FALSE(function->Init());
  EXPECT_EQ(function->LastError(), 47);
}

TEST_F(SimpleRingMethodTest, ASiteThatCannotBePlacedStoresNothingAndIsReported) {
  ReportRecorder recorder;
  auto function = Function("Nowhere");
  Give(function, 2.0, true, MakePoint(-74.0, 40.7)); // no coordinate system
  ASSERT_TRUE(function->Init());
  ASSERT_TRUE(function->Start());
  EXPECT_FALSE(function->DoStep());
  EXPECT_EQ(analysis->dataManager->GetStudyAreaCatalog()->Count(), 0);
  EXPECT_FALSE(recorder.Reports().empty());
}

TEST_F(SimpleRingMethodTest, TheFunctionKnowsNoPropertyPageAndReportsUnderItsOwnPath) {
  ReportRecorder recorder;
  TovSSASimpleRingFunction function;
  Variant value(true);
  EXPECT_TRUE(function.SetParam("FromPropertyPage", value));
  ASSERT_EQ(recorder.Reports().size(), 1u);
  EXPECT_EQ(recorder.Reports()[0].location, "ITovFunction_SetParam TovSSA\\TovSSASimpleRingFunction");
}

} // namespace
} // namespace tov::test
