#include "GisTestSupport.h"

#include <cpl_conv.h>
#include <ogr_spatialref.h>

namespace tov::test {
namespace {

using SpatialReferenceTest = GisTest;

// The NAD83 point (lon, lat) projected into `sr`.
PointPtr ProjectedPoint(double lon, double lat, const SpatialReferencePtr& sr) {
  PointPtr p = MakePoint(lon, lat);
  p->SetSpatialReference(Geographic(4269));
  p->Project(sr);
  return p;
}

TEST_F(SpatialReferenceTest, KnownPointProjectsFrom4269To5070WithinAMillimetre) {
  // The Conus Albers origin (96 W, 23 N) is (0, 0); x must be the easting.
  PointPtr origin = ProjectedPoint(-96, 23, Projected(5070));
  EXPECT_NEAR(origin->X(), 0.0, 0.001);
  EXPECT_NEAR(origin->Y(), 0.0, 0.001);

  PointPtr east = ProjectedPoint(-90, 23, Projected(5070));
  EXPECT_GT(east->X(), 500000);
  east->Project(Geographic(4269));
  EXPECT_NEAR(east->X(), -90, 1e-9);
  EXPECT_NEAR(east->Y(), 23, 1e-9);
}

TEST_F(SpatialReferenceTest, EnvelopeReachingPastTheProjectionStillProjectsToWhatLands) {
  // The whole sample country in Albers, enlarged as the zoom to a study area
  // does: its far corners have no geographic position.
  EnvelopePtr world = Box(-180, 13, 180, 72, Geographic(4269));
  world->Project(Projected(5070));
  world->Expand(1.44, 1.44, true);
  world->Project(Geographic(4269));
  EXPECT_FALSE(world->IsEmpty());
  EXPECT_LE(world->XMin(), -170);
  EXPECT_GE(world->YMax(), 72);
  EXPECT_EQ(world->SpatialReference()->FactoryCode(), 4269);

  EXPECT_THROW(Box(1e9, 1e9, 2e9, 2e9, Projected(5070))->Project(Geographic(4269)), HostError);
}

TEST_F(SpatialReferenceTest, EveryGeometryRefusesToProjectIntoNoSystemAndStaysAsItWas) {
  SpatialReferencePtr nad83 = Geographic(4269);
  auto line = CreateAs<Polyline>("orvaCore.Polyline");
  line->AddPoint(MakePoint(-96, 40));
  line->AddPoint(MakePoint(-95, 41));
  const std::vector<GeometryPtr> shapes = {Square(-96, 40, 1), line, MakePoint(-96, 40), Box(-96, 40, -95, 41),
                                           CreateAs<Polygon>("orvaCore.Polygon")};
  for (const GeometryPtr& shape : shapes) {
    SCOPED_TRACE(shape->GeometryType());
    shape->SetSpatialReference(nad83);
    const Raised e = ErrorOf([&] { shape->Project(nullptr); });
    EXPECT_EQ(e.number, 91) << e.description;
    EXPECT_FALSE(e.description.empty());
    EXPECT_EQ(shape->SpatialReference(), nad83);
    if (!shape->IsEmpty()) { EXPECT_DOUBLE_EQ(shape->Envelope()->XMin(), -96); }
  }
}

TEST_F(SpatialReferenceTest, AuthalicSphereKeepsItsCode) {
  SpatialReferencePtr sphere = Geographic(4035);
  EXPECT_EQ(sphere->FactoryCode(), 4035);
  EXPECT_TRUE(sphere->IsGeographic());
}

TEST_F(SpatialReferenceTest, ChangedAlbersCentralMeridianShowsInTheProjection) {
  SpatialReferencePtr albers = Projected(5070);
  EXPECT_DOUBLE_EQ(albers->CentralMeridian(), -96);
  albers->SetCentralMeridian(-100);
  albers->SetStandardParallel1(30);
  EXPECT_DOUBLE_EQ(albers->CentralMeridian(), -100);
  EXPECT_DOUBLE_EQ(albers->StandardParallel1(), 30);
  EXPECT_NE(albers->FactoryCode(), 5070);

  EXPECT_NEAR(ProjectedPoint(-100, 23, albers)->X(), 0.0, 0.001);
}

TEST_F(SpatialReferenceTest, BadCodesAndGeographicParametersAreRefused) {
  auto factory = CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment");
  // Unknown codes, and codes of the other kind (or of neither: geocentric,
  // compound with a height) are refused, never made into something else.
  for (long code : {999999L, 5070L, 4978L, 5498L}) EXPECT_THROW(factory->CreateGeographicCoordinateSystem(code), HostError) << code;
  for (long code : {999999L, 4326L, 4269L, 4978L, 5498L}) EXPECT_THROW(factory->CreateProjectedCoordinateSystem(code), HostError) << code;
  const Raised meridian = ErrorOf([] { Geographic(4326)->SetCentralMeridian(10); });
  EXPECT_TRUE(meridian.number != 0 && !meridian.description.empty()) << "a geographic system took a central meridian";
}

TEST_F(SpatialReferenceTest, AMapSystemReadFromTextIsRebuiltByProjAndMustBeTwoDimensional) {
  auto factory = CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment");
  // A registered system comes back as itself, code included.
  EXPECT_EQ(factory->CreateFromWkt(Projected(5070)->ExportToWkt())->FactoryCode(), 5070);
  // A changed one keeps its parameters and its name, and transforms.
  SpatialReferencePtr albers = Projected(5070);
  albers->SetCentralMeridian(-100.5);
  SpatialReferencePtr copy = factory->CreateFromWkt(albers->ExportToWkt());
  EXPECT_DOUBLE_EQ(copy->CentralMeridian(), -100.5);
  EXPECT_EQ(copy->Name(), albers->Name());
  EXPECT_TRUE(copy->IsSame(albers));
  EXPECT_NEAR(ProjectedPoint(-100.5, 23, copy)->X(), 0.0, 0.001);
  // An identifier that names no system of the description's kind is
  // refused before PROJ is asked anything more of it (PROJ 9.1 crashed).
  const std::string misnamed =
      R"(GEOGCRS["WGS 84",DATUM["World Geodetic System 1984",ELLIPSOID["WGS 84",6378137,298.257223563,)"
      R"(LENGTHUNIT["metre",1]]],PRIMEM["Greenwich",0,ANGLEUNIT["degree",0.0174532925199433]],)"
      R"(CS[ellipsoidal,2],AXIS["latitude",north,ORDER[1],ANGLEUNIT["degree",0.0174532925199433]],)"
      R"(AXIS["longitude",east,ORDER[2],ANGLEUNIT["degree",0.0174532925199433]],ID["EPSG",4387]])";
  const std::string why = ErrorOf([&] { factory->CreateFromWkt(misnamed); }).description;
  EXPECT_TRUE(Has(why, "EPSG:4387")) << why;
  // Heights, compounds, geocentric and local systems are no map's system.
  const char* local = R"(ENGCRS["site",EDATUM["d"],CS[Cartesian,2],AXIS["x",east,LENGTHUNIT["metre",1]],)"
                      R"(AXIS["y",north,LENGTHUNIT["metre",1]]])";
  std::vector<std::string> refused = {local};
  for (long code : {4979L, 5498L, 4978L, 5703L}) {
    OGRSpatialReference sr;
    ASSERT_EQ(sr.importFromEPSG(static_cast<int>(code)), OGRERR_NONE);
    char* wkt = nullptr;
    const char* options[] = {"FORMAT=WKT2_2018", nullptr};
    sr.exportToWkt(&wkt, options);
    refused.push_back(wkt);
    CPLFree(wkt);
  }
  for (const std::string& wkt : refused)
    EXPECT_TRUE(Has(ErrorOf([&] { factory->CreateFromWkt(wkt); }).description, "two-dimensional")) << wkt;
}

TEST_F(SpatialReferenceTest, PathsConvertInBothDirectionsAndRefuseBackslashes) {
  EXPECT_EQ(ToNativePath("\\work\\a\\b.lyr"), "/work/a/b.lyr");
  EXPECT_EQ(ToPlatformPath("/work/a/b.lyr"), "\\work\\a\\b.lyr");
  EXPECT_EQ(JoinPlatformPath("\\work\\a\\", "b.lyr"), "\\work\\a\\b.lyr");
  EXPECT_EQ(DisplayPath("\\work\\a\\b.lyr"), "/work/a/b.lyr");
  EXPECT_EQ(DisplayPath("/work/odd\\name"), "/work/odd\\name"); // native already: shown as it is
  EXPECT_EQ(ErrorOf([] { ToPlatformPath("/work/odd\\name"); }).number, 76) << "a backslash in a native path";
}

// Shapefiles that share a .prj text share the system matched for it; one of
// another text gets its own, and each class holds a copy of its own.
using ShapefileSystemTest = GisTest;

long CodeOf(const FeatureClassPtr& fc) {
  SpatialReferencePtr sr = fc->Fields()->Field(fc->FindField(fc->ShapeFieldName()))->GeometryDef()->SpatialReference();
  return sr ? sr->FactoryCode() : -1;
}

TEST_F(ShapefileSystemTest, ClassesOfOneSystemShareItsMatchAndOthersKeepTheirOwn) {
  const std::pair<const char*, SpatialReferencePtr> classes[] = {
      {"First", Geographic(4269)}, {"Albers", Projected(5070)}, {"Second", Geographic(4269)}, {"Wgs", Geographic(4326)}};
  for (const auto& [name, sr] : classes) PolygonClass(Shapefiles(), name, sr, false);
  // Opened again from their files, twice, in another order.
  WorkspacePtr again = Shapefiles();
  for (int round = 0; round < 2; ++round) {
    EXPECT_EQ(CodeOf(again->OpenFeatureClass("Wgs")), 4326);
    EXPECT_EQ(CodeOf(again->OpenFeatureClass("Second")), 4269);
    EXPECT_EQ(CodeOf(again->OpenFeatureClass("Albers")), 5070);
    EXPECT_EQ(CodeOf(again->OpenFeatureClass("First")), 4269);
  }
}

} // namespace
} // namespace tov::test
