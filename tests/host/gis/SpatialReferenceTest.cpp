#include "GisTestSupport.h"

#include <cpl_conv.h>
#include <ogr_spatialref.h>

namespace tov::test {
namespace {

using SpatialReferenceTest = GisTest;

TEST_F(SpatialReferenceTest, KnownPointProjectsFrom4269To5070WithinAMillimetre) {
  // The Conus Albers origin (96 W, 23 N) is (0, 0); x must be the easting.
  PointPtr origin = MakePoint(-96, 23);
  origin->SetSpatialReference(Geographic(4269));
  origin->Project(Projected(5070));
  EXPECT_NEAR(origin->X(), 0.0, 0.001);
  EXPECT_NEAR(origin->Y(), 0.0, 0.001);

  PointPtr east = MakePoint(-90, 23);
  east->SetSpatialReference(Geographic(4269));
  east->Project(Projected(5070));
  EXPECT_GT(east->X(), 500000);
  east->Project(Geographic(4269));
  EXPECT_NEAR(east->X(), -90, 1e-9);
  EXPECT_NEAR(east->Y(), 23, 1e-9);
}

TEST_F(SpatialReferenceTest, EnvelopeReachingPastTheProjectionStillProjectsToWhatLands) {
  // The whole sample country in Albers, enlarged as the zoom to a study area
  // does: its far corners have no geographic position.
  auto world = CreateAs<Envelope>("orvaCore.Envelope");
  world->PutCoords(-180, 13, 180, 72);
  world->SetSpatialReference(Geographic(4269));
  world->Project(Projected(5070));
  world->Expand(1.44, 1.44, true);
  world->Project(Geographic(4269));
  EXPECT_FALSE(world->IsEmpty());
  EXPECT_LE(world->XMin(), -170);
  EXPECT_GE(world->YMax(), 72);
  EXPECT_EQ(world->SpatialReference()->FactoryCode(), 4269);

  auto nowhere = CreateAs<Envelope>("orvaCore.Envelope");
  nowhere->PutCoords(1e9, 1e9, 2e9, 2e9);
  nowhere->SetSpatialReference(Projected(5070));
  EXPECT_THROW(nowhere->Project(Geographic(4269)), HostError);
}

TEST_F(SpatialReferenceTest, EveryGeometryRefusesToProjectIntoNoSystemAndStaysAsItWas) {
  SpatialReferencePtr nad83 = Geographic(4269);
  auto line = CreateAs<Polyline>("orvaCore.Polyline");
  line->AddPoint(MakePoint(-96, 40));
  line->AddPoint(MakePoint(-95, 41));
  auto envelope = CreateAs<Envelope>("orvaCore.Envelope");
  envelope->PutCoords(-96, 40, -95, 41);
  PointPtr point = MakePoint(-96, 40);
  const std::vector<GeometryPtr> shapes = {Square(-96, 40, 1), line, point, envelope,
                                           CreateAs<Polygon>("orvaCore.Polygon")};
  for (const GeometryPtr& shape : shapes) {
    shape->SetSpatialReference(nad83);
    try {
      shape->Project(nullptr);
      ADD_FAILURE() << "geometry type " << shape->GeometryType() << " projected into no system";
    } catch (const HostError& e) {
      EXPECT_EQ(e.Number(), 91) << e.Description();
      EXPECT_FALSE(e.Description().empty());
    }
    EXPECT_EQ(shape->SpatialReference(), nad83);
    if (!shape->IsEmpty()) {
      EXPECT_DOUBLE_EQ(shape->Envelope()->XMin(), -96);
    }
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

  PointPtr p = MakePoint(-100, 23);
  p->SetSpatialReference(Geographic(4269));
  p->Project(albers);
  EXPECT_NEAR(p->X(), 0.0, 0.001);
}

TEST_F(SpatialReferenceTest, BadCodesAndGeographicParametersAreRefused) {
  auto factory = CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment");
  // Unknown codes, and codes of the other kind (or of neither: geocentric,
  // compound with a height) are refused, never made into something else.
  for (long code : {999999L, 5070L, 4978L, 5498L}) EXPECT_THROW(factory->CreateGeographicCoordinateSystem(code), HostError) << code;
  for (long code : {999999L, 4326L, 4269L, 4978L, 5498L}) EXPECT_THROW(factory->CreateProjectedCoordinateSystem(code), HostError) << code;
  try {
    Geographic(4326)->SetCentralMeridian(10);
    FAIL() << "a geographic system took a central meridian";
  } catch (const HostError& e) {
    EXPECT_NE(e.Number(), 0);
    EXPECT_FALSE(e.Description().empty());
  }
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
  PointPtr point = MakePoint(-100.5, 23);
  point->SetSpatialReference(Geographic(4269));
  point->Project(copy);
  EXPECT_NEAR(point->X(), 0.0, 0.001);
  // An identifier that names no system of the description's kind is
  // refused before PROJ is asked anything more of it (PROJ 9.1 crashed).
  const std::string misnamed =
      R"(GEOGCRS["WGS 84",DATUM["World Geodetic System 1984",ELLIPSOID["WGS 84",6378137,298.257223563,)"
      R"(LENGTHUNIT["metre",1]]],PRIMEM["Greenwich",0,ANGLEUNIT["degree",0.0174532925199433]],)"
      R"(CS[ellipsoidal,2],AXIS["latitude",north,ORDER[1],ANGLEUNIT["degree",0.0174532925199433]],)"
      R"(AXIS["longitude",east,ORDER[2],ANGLEUNIT["degree",0.0174532925199433]],ID["EPSG",4387]])";
  try {
    factory->CreateFromWkt(misnamed);
    ADD_FAILURE() << "a description naming EPSG:4387 was accepted";
  } catch (const HostError& e) {
    EXPECT_NE(e.Description().find("EPSG:4387"), std::string::npos) << e.Description();
  }
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
  for (const std::string& wkt : refused) {
    try {
      factory->CreateFromWkt(wkt);
      ADD_FAILURE() << "accepted: " << wkt;
    } catch (const HostError& e) {
      EXPECT_NE(e.Description().find("two-dimensional"), std::string::npos) << e.Description();
    }
  }
}

TEST_F(SpatialReferenceTest, PathsConvertInBothDirectionsAndRefuseBackslashes) {
  EXPECT_EQ(ToNativePath("\\work\\a\\b.lyr"), "/work/a/b.lyr");
  EXPECT_EQ(ToPlatformPath("/work/a/b.lyr"), "\\work\\a\\b.lyr");
  EXPECT_EQ(JoinPlatformPath("\\work\\a\\", "b.lyr"), "\\work\\a\\b.lyr");
  EXPECT_EQ(DisplayPath("\\work\\a\\b.lyr"), "/work/a/b.lyr");
  EXPECT_EQ(DisplayPath("/work/odd\\name"), "/work/odd\\name"); // native already: shown as it is
  try {
    ToPlatformPath("/work/odd\\name");
    FAIL() << "a backslash in a native path was accepted";
  } catch (const HostError& e) {
    EXPECT_EQ(e.Number(), 76);
  }
}

} // namespace
} // namespace tov::test
