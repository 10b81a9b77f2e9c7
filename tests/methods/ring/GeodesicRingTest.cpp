// The geodesic ring: its size on the WGS 84 ellipsoid, its closure, and the
// coordinate system it comes back in.
#include "Recorders.h"
#include "WorldTest.h"

#include "store/GeodesicRing.h"

#include <cmath>

namespace tov::test {
namespace {

constexpr double kPi = 3.14159265359;
const double kE2 = 2 / 298.257223563 - 1 / (298.257223563 * 298.257223563);

// Host classes come with the test program; the world sets up the handlers.
using GeodesicRingTest = WorldTest;

TEST_F(GeodesicRingTest, RadiusIsTakenOverTheCurvatureAtTheCentre) {
  EnvelopePtr equator = Must(CreateGeodesicRing(MakePoint(0.0, 0.0, Geographic(4326)), 1000.0), "the ring")->Envelope();
  EXPECT_NEAR(equator->XMax(), 0.00898, 0.000005);
  EXPECT_NEAR(equator->YMax(), 0.00904, 0.000005);

  // At 60 degrees: r over the meridian radius a(1-e^2)/w^1.5 northwards, over
  // the prime-vertical radius a/w^0.5 times cos(60) eastwards. The
  // northernmost vertex is the one nearest to 90 degrees.
  const double phi = 60.0 * kPi / 180, radius = 5000.0;
  const double w = 1 - kE2 * std::sin(phi) * std::sin(phi);
  double highest = 0;
  for (int i = 0; i < 255; ++i) highest = std::max(highest, std::sin(2.0 * i * kPi / 255));
  EnvelopePtr north = Must(CreateGeodesicRing(MakePoint(10.0, 60.0, Geographic(4326)), radius), "the ring")->Envelope();
  EXPECT_NEAR(north->XMax() - 10.0, radius * std::sqrt(w) / (std::cos(phi) * 6378137.0) * 180 / kPi, 1e-10);
  EXPECT_NEAR(north->YMax() - 60.0, highest * radius * std::pow(w, 1.5) / ((1 - kE2) * 6378137.0) * 180 / kPi, 1e-10);
}

TEST_F(GeodesicRingTest, HasTwoHundredFiftySixVerticesClosingOnTheFirst) {
  // Off the equator the rounded pi would leave the last vertex a hair beside
  // the first.
  for (double latitude : {0.0, 40.7128, -33.9}) {
    PolygonPtr ring = CreateGeodesicRing(MakePoint(-74.006, latitude, Geographic(4326)), 16103.059581320451);
    ASSERT_TRUE(ring) << latitude;
    ASSERT_EQ(ring->PointCount(), 256) << latitude;
    EXPECT_EQ(ring->Point(0)->X(), ring->Point(255)->X()) << latitude;
    EXPECT_EQ(ring->Point(0)->Y(), ring->Point(255)->Y()) << latitude;
    // It starts due east of the site, as made: no repair moved it.
    EXPECT_DOUBLE_EQ(ring->Point(0)->Y(), latitude) << latitude;
  }
}

TEST_F(GeodesicRingTest, ASiteInAProjectedSystemGetsItsRingInThatSystemAroundIt) {
  PointPtr nyc = MakePoint(-74.006, 40.7128, Geographic(4269));
  nyc->Project(Projected(5070));
  const double x = nyc->X(), y = nyc->Y(), radius = 3000.0;

  PolygonPtr ring = CreateGeodesicRing(nyc, radius);
  ASSERT_TRUE(ring);
  EXPECT_EQ(ring->SpatialReference()->FactoryCode(), 5070);
  EnvelopePtr extent = ring->Envelope();
  EXPECT_NEAR((extent->XMin() + extent->XMax()) / 2, x, 5.0);
  EXPECT_NEAR((extent->YMin() + extent->YMax()) / 2, y, 5.0);
  EXPECT_NEAR(ring->Area(), kPi * radius * radius, 0.005 * kPi * radius * radius);
  // The caller's site is left as it was.
  EXPECT_EQ(nyc->X(), x);
  EXPECT_EQ(nyc->SpatialReference()->FactoryCode(), 5070);
}

TEST_F(GeodesicRingTest, ASiteThatCannotBePlacedGivesNoRingAndNoReport) {
  ReportRecorder recorder;
  EXPECT_FALSE(CreateGeodesicRing(MakePoint(-74.0, 40.7), 1000.0)); // no coordinate system
  EXPECT_FALSE(CreateGeodesicRing(nullptr, 1000.0));
  auto empty = CreateAs<Point>(kPointProgId);
  empty->SetSpatialReference(Geographic(4326));
  EXPECT_FALSE(CreateGeodesicRing(empty, 1000.0));
  EXPECT_TRUE(recorder.Reports().empty());
}

} // namespace
} // namespace tov::test
