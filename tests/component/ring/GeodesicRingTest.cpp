// The geodesic ring: its size on the WGS 84 ellipsoid, its closure, and the
// coordinate system it comes back in.
#include "RingTestSupport.h"
#include "support/Recorders.h"

#include "platform/gis/Envelope.h"
#include "store/GeodesicRing.h"

#include <algorithm>
#include <cmath>

namespace tov::test {
namespace {

constexpr double kPi = 3.14159265359;

PointPtr Site(double x, double y, const SpatialReferencePtr& sr) {
  PointPtr site = MakePoint(x, y);
  site->SetSpatialReference(sr);
  return site;
}

class GeodesicRingTest : public ::testing::Test {
protected:
  // Host classes are registered by the test program's environment; a data
  // world is not needed, but the store's handlers are made here.
  TestWorld world;
};

TEST_F(GeodesicRingTest, AtTheEquatorAKilometreSpansTheMeridianAndParallelOffsets) {
  PolygonPtr ring = CreateGeodesicRing(Site(0.0, 0.0, Geographic(4326)), 1000.0);
  ASSERT_TRUE(ring);
  EXPECT_EQ(ring->SpatialReference()->FactoryCode(), 4326);

  EnvelopePtr extent = ring->Envelope();
  const double dPhi = extent->YMax();
  const double dLambda = extent->XMax();
  EXPECT_NEAR(dPhi, 0.00904, 0.000005);
  EXPECT_NEAR(dLambda, 0.00898, 0.000005);
  // The offsets themselves: 1000 m over the meridian radius a(1-e^2) and
  // over the equatorial radius a. No vertex sits exactly at 90 degrees, so
  // the north offset is met within 2e-5 of itself.
  const double f = 1 / 298.257223563, e2 = 2 * f - f * f;
  const double northOffset = 1000.0 / (6378137.0 * (1 - e2)) * 180 / kPi;
  EXPECT_NEAR(dPhi, northOffset, 2e-5 * northOffset);
  EXPECT_NEAR(dLambda, 1000.0 / 6378137.0 * 180 / kPi, 1e-12);
}

TEST_F(GeodesicRingTest, HasTwoHundredFiftySixVerticesAndClosesOnItsFirst) {
  // Away from the equator too, where the rounded pi would leave the last
  // vertex a hair beside the first.
  for (double latitude : {0.0, 40.7128, -33.9}) {
    PolygonPtr ring = CreateGeodesicRing(Site(-74.006, latitude, Geographic(4326)), 16103.059581320451);
    ASSERT_TRUE(ring) << latitude;
    EXPECT_EQ(ring->PartCount(), 1) << latitude;
    ASSERT_EQ(ring->PointCount(), 256) << latitude;
    // It starts due east of the site (theta = 0), as made: no repair moved it.
    EXPECT_DOUBLE_EQ(ring->Point(0)->Y(), latitude) << latitude;
    EXPECT_EQ(ring->Point(0)->X(), ring->Point(255)->X()) << latitude;
    EXPECT_EQ(ring->Point(0)->Y(), ring->Point(255)->Y()) << latitude;
  }
}

TEST_F(GeodesicRingTest, OffsetsUseTheCurvatureAtTheCentreLatitude) {
  // At 60 degrees: the north offset is r over the meridian radius of
  // curvature a(1-e^2)/w^1.5, the east offset r over the prime-vertical
  // radius a/w^0.5 times cos(60).
  const double f = 1 / 298.257223563, e2 = 2 * f - f * f;
  const double phi = 60.0 * kPi / 180, radius = 5000.0;
  const double w = 1 - e2 * std::sin(phi) * std::sin(phi);
  const double dPhi = radius * std::pow(w, 1.5) / ((1 - e2) * 6378137.0) * 180 / kPi;
  const double dLambda = radius * std::sqrt(w) / (std::cos(phi) * 6378137.0) * 180 / kPi;
  // The northernmost vertex is the one nearest to 90 degrees.
  double highest = 0;
  for (int i = 0; i < 255; ++i) highest = std::max(highest, std::sin(2.0 * i * kPi / 255));

  PolygonPtr ring = CreateGeodesicRing(Site(10.0, 60.0, Geographic(4326)), radius);
  ASSERT_TRUE(ring);
  EnvelopePtr extent = ring->Envelope();
  EXPECT_NEAR(extent->XMax() - 10.0, dLambda, 1e-10);
  EXPECT_NEAR(extent->YMax() - 60.0, highest * dPhi, 1e-10);
  // About twice as wide as high in degrees.
  EXPECT_NEAR(extent->Width() / extent->Height(), 2.0, 0.01);
}

TEST_F(GeodesicRingTest, ASiteInAProjectedSystemGetsItsRingInThatSystemAroundIt) {
  // New York in the conterminous Albers system, in metres.
  PointPtr nyc = Site(-74.006, 40.7128, Geographic(4269));
  nyc->Project(Projected(5070));
  const double x = nyc->X(), y = nyc->Y();

  const double radius = 3000.0;
  PolygonPtr ring = CreateGeodesicRing(nyc, radius);
  ASSERT_TRUE(ring);
  EXPECT_EQ(ring->SpatialReference()->FactoryCode(), 5070);
  EnvelopePtr extent = ring->Envelope();
  EXPECT_NEAR((extent->XMin() + extent->XMax()) / 2, x, 5.0);
  EXPECT_NEAR((extent->YMin() + extent->YMax()) / 2, y, 5.0);
  // Equal-area, not conformal: each axis is off by its scale factor.
  EXPECT_NEAR(extent->Width(), 2 * radius, 0.02 * 2 * radius);
  EXPECT_NEAR(extent->Height(), 2 * radius, 0.02 * 2 * radius);
  EXPECT_NEAR(ring->Area(), kPi * radius * radius, 0.005 * kPi * radius * radius);

  // The caller's site is left as it was.
  EXPECT_EQ(nyc->X(), x);
  EXPECT_EQ(nyc->Y(), y);
  EXPECT_EQ(nyc->SpatialReference()->FactoryCode(), 5070);
}

TEST_F(GeodesicRingTest, ASiteThatCannotBePlacedGivesNoRingAndNoReport) {
  ReportRecorder recorder;
  EXPECT_FALSE(CreateGeodesicRing(MakePoint(-74.0, 40.7), 1000.0)); // no coordinate system
  EXPECT_FALSE(CreateGeodesicRing(nullptr, 1000.0));
  auto empty = CreateAs<Point>("orvaCore.Point");
  empty->SetSpatialReference(Geographic(4326));
  EXPECT_FALSE(CreateGeodesicRing(empty, 1000.0));
  EXPECT_TRUE(recorder.Reports().empty());
}

} // namespace
} // namespace tov::test
