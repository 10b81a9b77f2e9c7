// The simple ring method from the first page to the stored study area, and
// what its function does with the radius, the unit and the site.
#include "RingWorld.h"
#include "WorldTest.h"
#include "Recorders.h"

#include "host/session/HostTaskRun.h"
#include "methods/ring/TovSSASimpleRingFunction.h"

#include <cmath>

namespace tov::test {
namespace {

constexpr double kPi = 3.14159265358979;

class SimpleRingMethodTest : public WorldTest {
protected:
  SimpleRingMethodTest() : WorldTest(RingWorldOptions()) {}
  void SetUp() override { OpenAnalysis(); }

  // A ring function with every parameter; site defaults to New York.
  std::shared_ptr<TovSSASimpleRingFunction> Function(const std::string& name, double radius, bool miles,
                                                     PointPtr site = NewYork()) {
    auto function = std::make_shared<TovSSASimpleRingFunction>();
    SetParams(*function, {{"Application", analysis->application}, {"DataManager", analysis->dataManager},
                          {"StudyAreaName", name}, {"DataSet", Dataset()}, {"SSATask", Method(kSimpleRingMethod)},
                          {"UnitsMiles", miles}, {"Radius", radius}, {"Point", site}});
    return function;
  }
  static PointPtr NewYork() { return MakePoint(-74.0060, 40.7128, Geographic(4035)); }
  // The current study area's polygon in the system given.
  PolygonPtr Stored(const SpatialReferencePtr& system) {
    auto polygon = As<Polygon>(Must(analysis->extension->CurrentStudyAreaGeometry(), "the study area")->Copy());
    polygon->Project(system);
    return polygon;
  }

};

TEST_F(SimpleRingMethodTest, ATenMileRingAroundNewYorkIsStoredWithItsTrueArea) {
  HostTaskRunResult result = RunScripted(SiteTurn("40.7128", "-74.0060") + "," + RingTurn("10") + "," +
                                             NameTurn("Ten Miles"),
                                         kSimpleRingTaskProgId);
  ASSERT_TRUE(result.Stored());
  EXPECT_EQ(result.currentStudyArea, "Ten Miles");

  const double radius = 16103.059581320451; // 10 / 0.621 km
  PolygonPtr ring = Stored(Projected(5070));
  EXPECT_NEAR(ring->Area(), kPi * radius * radius, 0.005 * kPi * radius * radius);
  PointPtr centre = NewYork();
  centre->Project(Projected(5070));
  EXPECT_NEAR((ring->Envelope()->XMin() + ring->Envelope()->XMax()) / 2, centre->X(), 50.0);
  EXPECT_NEAR((ring->Envelope()->YMin() + ring->Envelope()->YMax()) / 2, centre->Y(), 50.0);
  EXPECT_EQ(RecordProperty("Ten Miles", "TYPE"), kSimpleRingMethod);
  EXPECT_EQ(RecordProperty("Ten Miles", "FEATURESLIST"), "");
}

TEST_F(SimpleRingMethodTest, AMileCountsAsOneOverPoint621Kilometres) {
  EXPECT_DOUBLE_EQ(Function("a", 3.0, true)->RadiusInMetres(), 4830.917874396136);
  EXPECT_DOUBLE_EQ(Function("b", 3.0, false)->RadiusInMetres(), 3000.0);

  // And the stored rings stand in that ratio (an international mile would
  // be 0.06 % shorter).
  double heights[2];
  for (bool miles : {true, false}) {
    EXPECT_FALSE(InitStartStep(*Function(miles ? "Three miles" : "Three kilometres", 3.0, miles)));
    heights[miles] = Stored(Geographic(4326))->Envelope()->Height();
  }
  EXPECT_NEAR(heights[1] / heights[0], 4830.917874396136 / 3000.0, 1e-5);
}

TEST_F(SimpleRingMethodTest, InitWantsASiteAndAPositiveRadius) {
  EXPECT_TRUE(Function("Ring", 2.0, true)->Init());
  for (double radius : {0.0, -1.0, std::nan("")}) {
    auto function = Function("Ring", radius, true);
    EXPECT_FALSE(function->Init()) << radius;
    EXPECT_EQ(function->LastError(), 47) << radius;
  }
  EXPECT_FALSE(Function("Ring", 2.0, true, nullptr)->Init());
}

TEST_F(SimpleRingMethodTest, ASiteThatCannotBePlacedStoresNothingAndTheFunctionReportsUnderItsOwnPath) {
  ReportRecorder recorder;
  // No coordinate system.
  EXPECT_FALSE(InitStartStep(*Function("Nowhere", 2.0, true, MakePoint(-74.0, 40.7))));
  EXPECT_EQ(Catalog()->Count(), 0);
  EXPECT_FALSE(recorder.Reports().empty());
  // It knows no property page.
  const size_t before = recorder.Locations().size();
  Variant value(true);
  EXPECT_TRUE(TovSSASimpleRingFunction().SetParam("FromPropertyPage", value));
  ASSERT_EQ(recorder.Locations().size(), before + 1);
  EXPECT_EQ(recorder.Locations().back(), "ITovFunction_SetParam TovSSA\\TovSSASimpleRingFunction");
}

} // namespace
} // namespace tov::test
