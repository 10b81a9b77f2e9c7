// The equal-area analysis system `datasets create` fits to a data set's
// extent: which projection for which extent, and that it keeps areas.
#include "DatasetsTestSupport.h"

#include "host/datasets/AnalysisSystemChoice.h"
#include "host/gis/HostSpatialReference.h"

namespace tov {
namespace {

LonLatBox Box(double west, double south, double east, double north) {
  LonLatBox box;
  box.Add(west, south, east, north);
  return box;
}

// The system as the host makes it from the description's node.
OGRSpatialReference Made(const AnalysisSystem& system) {
  HostSpatialReference sr(HostSpatialReference::FromCode(system.code));
  if (system.centralMeridian) sr.SetCentralMeridian(*system.centralMeridian);
  if (system.standardParallel1) sr.SetStandardParallel1(*system.standardParallel1);
  if (system.standardParallel2) sr.SetStandardParallel2(*system.standardParallel2);
  return *HostSpatialReference::OgrOf(std::make_shared<HostSpatialReference>(sr));
}

// A square degree from (west, south) drawn in the system: planar area against geodesic area.
double AreaRatioIn(const AnalysisSystem& system, double west, double south) {
  OGRSpatialReference target = Made(system);
  std::unique_ptr<OGRGeometry> shape = test::Projected(test::SquareWkt(west, south, 1), 4326, 0.01);
  EXPECT_EQ(shape->transformTo(&target), OGRERR_NONE);
  return test::AreaRatio(*shape);
}

TEST(AnalysisSystemChoiceTest, ACountryGetsAlbersWithItsParallelsInsideItsLatitudes) {
  const AnalysisSystem uk = ChooseEqualAreaSystem(Box(-8.6, 49.9, 1.8, 60.9));
  EXPECT_EQ(uk.type, "Projected");
  ASSERT_TRUE(uk.standardParallel1 && uk.standardParallel2);
  EXPECT_NEAR(*uk.standardParallel1, 49.9 + 11.0 / 6, 1e-9);
  EXPECT_NEAR(*uk.standardParallel2, 60.9 - 11.0 / 6, 1e-9);
  EXPECT_NEAR(*uk.centralMeridian, -3.4, 1e-9);
  EXPECT_NE(uk.description.find("Albers"), std::string::npos) << uk.description;
  for (double lat : {50.0, 55.0, 59.5}) EXPECT_NEAR(AreaRatioIn(uk, -3, lat), 1.0, 1e-3) << lat;
}

TEST(AnalysisSystemChoiceTest, WidePolarAndEquatorialExtentsGetLambertAzimuthal) {
  const struct {
    LonLatBox box;
    const char* why;
  } cases[] = {{Box(-170, 15, -50, 72), "wide"},   {Box(-60, 60, 20, 84), "polar"},
               {Box(-70, -85, 170, -60), "polar"}, {Box(-180, -90, 180, 90), "extent"},
               {Box(-80, -5, -75, 2), "equatorial"}};
  for (const auto& c : cases) {
    const AnalysisSystem s = ChooseEqualAreaSystem(c.box);
    EXPECT_FALSE(s.standardParallel1) << c.why;
    EXPECT_NE(s.description.find("Lambert azimuthal equal-area"), std::string::npos) << s.description;
    EXPECT_NE(s.description.find(c.why), std::string::npos) << s.description;
    const double lon = c.box.CentreLongitude(), lat = c.box.CentreLatitude();
    EXPECT_NEAR(AreaRatioIn(s, lon - 0.5, std::min(lat, 88.0)), 1.0, 1e-3) << c.why;
  }
  EXPECT_EQ(std::make_tuple(ChooseEqualAreaSystem(cases[1].box).code, ChooseEqualAreaSystem(cases[2].box).code),
            std::make_tuple(6931L, 6932L));
}

TEST(AnalysisSystemChoiceTest, AnExtentOverTheAntimeridianIsCentredOnIt) {
  LonLatBox fiji;
  fiji.Add(177, -19, 180, -16);
  fiji.Add(-180, -19, -178, -16);
  EXPECT_EQ(std::make_tuple(fiji.west, fiji.east, fiji.CentreLongitude()), std::make_tuple(177.0, 182.0, 179.5));
  const AnalysisSystem s = ChooseEqualAreaSystem(fiji);
  EXPECT_NEAR(*s.centralMeridian, 179.5, 1e-9);
  EXPECT_NEAR(AreaRatioIn(s, 179, -18), 1.0, 1e-3);
  // A rectangle that itself runs over it, as a layer's bounds do.
  LonLatBox aleutians = Box(172, 51, -130, 55);
  EXPECT_NEAR(aleutians.east - aleutians.west, 58, 1e-9);
}

TEST(AnalysisSystemChoiceTest, AGivenCodeMustBeAProjectedOrGeographicSystem) {
  EXPECT_EQ(SystemOfCode(27700).type + " " + SystemOfCode(4326).type, "Projected Geographic");
  EXPECT_NE(SystemOfCode(27700).description.find("British National Grid"), std::string::npos);
  for (long code : {999999L, 4978L /* geocentric */, 5773L /* heights */})
    EXPECT_TRUE(test::Has(test::ErrorOf([&] { SystemOfCode(code); }).description, "--projection")) << code;
}

} // namespace
} // namespace tov
