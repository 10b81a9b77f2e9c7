#include "GisTestSupport.h"

#include "ScopedEnvironment.h"
#include "host/common/WorkCancel.h"
#include "host/gis/GeosOgrCopy.h"
#include "host/gis/GisErrors.h"
#include "host/gis/PolygonUnion.h"

#include <cpl_conv.h>
#include <geos_c.h>
#include <ogr_geometry.h>
#include <ogr_spatialref.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace tov::test {
namespace {

using GeometryTest = GisTest;

// A side x side grid of unit squares.
std::vector<GeometryPtr> Grid(int side) {
  std::vector<GeometryPtr> cells;
  for (int x = 0; x < side; ++x)
    for (int y = 0; y < side; ++y) cells.push_back(Square(x, y, 1));
  return cells;
}

// Shapes that only share edges unite as a coverage; any overlap takes the
// general union, and shapes that are no coverage as a whole are united in
// groups of neighbours whose result must cover exactly what the shapes cover.
TEST_F(GeometryTest, EachKindOfInputUnitesByItsMethodIntoTheRightShape) {
  struct Case {
    const char* what;
    std::vector<GeometryPtr> shapes;
    UnionMethod method;
    double area;
    long parts, rings; // -1: not checked
  };
  std::vector<Case> cases = {
      {"adjacent squares", {Square(0, 0, 1), Square(1, 0, 1)}, UnionMethod::Coverage, 2.0, 1, 1},
      {"overlapping squares", {Square(0, 0, 2), Square(1, 1, 2)}, UnionMethod::Unary, 7.0, 1, -1},
      // 400 cells and a square over four of them, in one corner: the whole
      // is no coverage, most groups are.
      {"one overlap in a grid", Grid(20), UnionMethod::Unary, 400.0, 1, 1},
      // Every cell overlapped by a shifted one, and a few apart from the
      // grid: no group is a coverage, and the groups stop trying early. The
      // grid grows by half a cell to the upper right; the two squares overlap by one.
      {"overlaps everywhere", Grid(15), UnionMethod::Unary, 15.5 * 15.5 - 2 * 0.25 + 7.0, 2, -1},
      // Fewer than one group: an invalid bow tie is repaired, overlaps united.
      {"a few shapes",
       {Square(0, 0, 2), Square(1, 1, 2), MakePolygon({{5, 0}, {7, 2}, {7, 0}, {5, 2}, {5, 0}})},
       UnionMethod::Unary, 7.0 + 2.0, -1, -1},
  };
  cases[2].shapes.push_back(Square(2.5, 2.5, 1));
  for (int x = 0; x < 15; ++x)
    for (int y = 0; y < 15; ++y) cases[3].shapes.push_back(Square(x + 0.5, y + 0.5, 1));
  cases[3].shapes.push_back(Square(40, 40, 2));
  cases[3].shapes.push_back(Square(41, 41, 2));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    UnionMethod method = UnionMethod::None;
    PolygonPtr u = UnionOf(c.shapes, &method);
    EXPECT_EQ(method, c.method);
    EXPECT_NEAR(u->Area(), c.area, 1e-9);
    if (c.parts >= 0) { EXPECT_EQ(u->PartCount(), c.parts); }
    if (c.rings >= 0) { EXPECT_EQ(u->RingCount(), c.rings); }
  }
  EXPECT_STREQ(UnionMethodName(UnionMethod::Unary), "unary");
  EXPECT_EQ(Corners(UnionOf({Square(0, 0, 1), Square(1, 0, 1)})->Envelope()), (std::vector<double>{0, 0, 2, 1}));
}

// The benchmarks time whole processes on the plain unary union: the variable
// must switch the method, give the same answer, and be off again when unset
// or "0".
TEST_F(GeometryTest, BenchmarkVariableSwitchesToThePlainUnaryUnion) {
  const std::pair<std::optional<std::string>, UnionMethod> cases[] = {
      {"1", UnionMethod::Unary}, {"0", UnionMethod::Coverage}, {std::nullopt, UnionMethod::Coverage}};
  for (const auto& [value, expected] : cases) {
    SCOPED_TRACE(value.value_or("unset"));
    tov::testing::ScopedEnvironment variable(kPlainUnaryUnionVariable, value);
    UnionMethod method = UnionMethod::None;
    PolygonPtr u = UnionOf({Square(0, 0, 1), Square(1, 0, 1)}, &method);
    EXPECT_EQ(method, expected);
    EXPECT_EQ(u->PartCount(), 1);
    EXPECT_NEAR(u->Area(), 2.0, 1e-9);
  }
}

TEST_F(GeometryTest, ABowTieIsRepairedIntoTwoTrianglesAlsoBeforeTheUnion) {
  PolygonPtr bowTie = MakePolygon({{0, 0}, {2, 2}, {2, 0}, {0, 2}, {0, 0}});
  PolygonPtr u = UnionOf({bowTie, Square(5, 5, 1)});
  EXPECT_NEAR(u->Area(), 2.0 + 1.0, 1e-9);

  // Invalid and touching a neighbour: once repaired, the right lobe and the
  // square share an edge and unite into one part.
  u = UnionOf({bowTie, Square(2, 0, 2)});
  EXPECT_NEAR(u->Area(), 2.0 + 4.0, 1e-9);
  EXPECT_EQ(u->PartCount(), 2);

  bowTie = MakePolygon({{0, 0}, {2, 2}, {2, 0}, {0, 2}}); // closed by Simplify
  bowTie->Simplify();
  EXPECT_EQ(std::make_tuple(bowTie->IsKnownSimple(), bowTie->IsClosed(), bowTie->PartCount()),
            std::make_tuple(true, true, 2L));
  EXPECT_NEAR(bowTie->Area(), 2.0, 1e-9);
}

TEST_F(GeometryTest, UnionTakesTheSystemOfItsShapesAndProjectsOthers) {
  PolygonPtr b = Square(-95.9, 40, 0.1, Geographic(4269));
  b->Project(Projected(5070));
  PolygonPtr u = UnionOf({Square(-96, 40, 0.1, Geographic(4269)), b});
  ASSERT_TRUE(u->SpatialReference());
  EXPECT_EQ(u->SpatialReference()->FactoryCode(), 4269);
  EXPECT_NEAR(u->Envelope()->Width(), 0.2, 1e-6);
}

TEST_F(GeometryTest, SimplifyClosesRingsAndDropsEmptyParts) {
  PolygonPtr p = MakePolygon({{0, 0}, {0, 1}, {1, 1}, {1, 0}});
  EXPECT_FALSE(p->IsClosed());
  p->StartNewPart();
  p->AddPoint(MakePoint(5, 5)); // a part with one point encloses nothing
  p->Simplify();
  EXPECT_EQ(std::make_tuple(p->IsClosed(), p->PartCount(), p->PointCount()), std::make_tuple(true, 1L, 5L));
}

TEST_F(GeometryTest, DensifyKeepsEverySegmentWithinTheBoundAndGeneralizeDropsVertices) {
  PolygonPtr p = Square(0, 0, 10);
  p->Simplify();
  p->Densify(0.3, 0);
  ASSERT_GT(p->PointCount(), 100);
  for (long i = 1; i < p->PointCount(); ++i) {
    PointPtr a = p->Point(i - 1), b = p->Point(i);
    EXPECT_LE(std::hypot(b->X() - a->X(), b->Y() - a->Y()), 0.3 + 1e-12) << "segment " << i;
  }
  EXPECT_NEAR(p->Area(), 100.0, 1e-9);
  EXPECT_THROW(p->Densify(0, 0), HostError);

  // Generalizing drops the vertices within the offset.
  p = MakePolygon({{0, 0}, {0, 5}, {0.00001, 5.00001}, {0, 10}, {10, 10}, {10, 0}, {0, 0}});
  p->Generalize(0.0001);
  EXPECT_EQ(p->PointCount(), 5);
}

TEST_F(GeometryTest, EnvelopeExpandsAboutItsCentreAndUnites) {
  auto e = CreateAs<Envelope>("orvaCore.Envelope");
  EXPECT_TRUE(e->IsEmpty());
  e->PutCoords(4, 3, 0, 1); // corners in any order
  e->Expand(1.5, 2, true);
  EXPECT_EQ(Corners(e), (std::vector<double>{-1, 0, 5, 4}));
  e->Union(Box(10, -2, 11, -1));
  EXPECT_EQ(Corners(e), (std::vector<double>{-1, -2, 11, 4}));
}

TEST_F(GeometryTest, UnionWithAnotherPolygonAndCopiesAreIndependent) {
  PolygonPtr a = Square(0, 0, 1);
  GeometryPtr copy = a->Copy();
  auto u = std::dynamic_pointer_cast<Polygon>(a->Union(Square(0.5, 0, 1)));
  ASSERT_TRUE(u);
  EXPECT_NEAR(u->Area(), 1.5, 1e-9);
  a->SetEmpty();
  EXPECT_TRUE(a->IsEmpty());
  EXPECT_FALSE(copy->IsEmpty());
}

// A union of many shapes that the user gives up stops inside GEOS with the
// user's interrupt, and one that goes on gives the same shape as without a
// front end asking.
// Overlapping discs, so that the union is the general one and takes a while.
GEOSGeometry* Discs(int across) {
  GEOSContextHandle_t h = GeosHandle();
  std::vector<GEOSGeometry*> parts;
  for (int i = 0; i < across; ++i)
    for (int j = 0; j < across; ++j) {
      OGRLinearRing ring;
      for (int k = 0; k <= 64; ++k) {
        const double a = 2 * M_PI * (k % 64) / 64;
        ring.addPoint(i * 0.7 + std::cos(a), j * 0.7 + std::sin(a));
      }
      OGRPolygon disc;
      disc.addRing(&ring);
      parts.push_back(disc.exportToGEOS(h));
    }
  return GEOSGeom_createCollection_r(h, GEOS_GEOMETRYCOLLECTION, parts.data(), static_cast<unsigned>(parts.size()));
}

TEST(UnionCancelTest, AUnionGivenUpStopsWithTheUsersInterruptAndOneLetRunIsWhole) {
  const double wholeArea = UnitePolygons(Discs(20), nullptr, "test")->get_Area();

  int asked = 0;
  {
    CancelPoll poll([&] { return ++asked >= 1; });
    // The first question is due at once.
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(ErrorOf([] { UnitePolygons(Discs(20), nullptr, "test"); }).number, kUserInterruptError)
        << "the union went on";
  }
  EXPECT_EQ(asked, 1);
  EXPECT_EQ(CancelledWorkCount(), 1);

  // Asked all along and never given up: the same union.
  int polls = 0;
  {
    CancelPoll poll([&] {
      ++polls;
      return false;
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_NEAR(UnitePolygons(Discs(20), nullptr, "test")->get_Area(), wholeArea, 1e-9 * wholeArea);
  }
  EXPECT_GE(polls, 1);
  // Without a front end nothing is ever given up.
  EXPECT_FALSE(WorkCancelled());
}

// The copies made from coordinates must be exactly GDAL's own conversions,
// and shapes they do not take (Z, curves, open or short rings, empty,
// not areas) must still be converted, by GDAL.
TEST(GeosOgrCopyTest, CopiesBothWaysAreGdalsOwnConversions) {
  GEOSContextHandle_t h = GeosHandle();
  auto wkb = [](const OGRGeometry& g) {
    std::vector<unsigned char> bytes(g.WkbSize());
    g.exportToWkb(wkbNDR, bytes.data(), wkbVariantIso);
    return bytes;
  };
  const char* cases[] = {
      "POLYGON ((0.1 0.2,10.3 0.2,10.3 7.7,0.1 0.2))",
      "POLYGON ((0 0,10 0,10 10,0 10,0 0),(2 2,2 4,4 4,2 2),(6 6,6 8,8 8,6 6))",
      "MULTIPOLYGON (((-96.123456789 40.1,-95 40.1,-95 41,-96.123456789 40.1)),((0 0,1 0,1 1,0 0)))",
      "POLYGON ((0 0,2 2,2 0,0 2,0 0))", // invalid, copied as it is
      "POLYGON Z ((0 0 1,1 0 2,1 1 3,0 0 1))",
      "POLYGON ((0 0,1 0,1 1,0 1))", // open
      "POLYGON ((0 0,1 0,0 0))",     // too short
      "CURVEPOLYGON (CIRCULARSTRING (0 0,1 1,2 0,1 -1,0 0))",
      "POLYGON EMPTY",
      "MULTIPOLYGON EMPTY",
      "LINESTRING (0 0,1 1)",
  };
  for (const char* text : cases) {
    SCOPED_TRACE(text);
    OGRGeometry* parsed = nullptr;
    ASSERT_EQ(OGRGeometryFactory::createFromWkt(text, nullptr, &parsed), OGRERR_NONE);
    std::unique_ptr<OGRGeometry> ogr(parsed);
    GEOSGeometry* byGdal = ogr->exportToGEOS(h);
    GEOSGeometry* copied = GeosCopyOf(h, *ogr);
    ASSERT_EQ(byGdal == nullptr, copied == nullptr);
    if (!copied) continue;
    EXPECT_EQ(GEOSGeomTypeId_r(h, copied), GEOSGeomTypeId_r(h, byGdal));
    EXPECT_EQ(GEOSHasZ_r(h, copied), GEOSHasZ_r(h, byGdal));
    EXPECT_EQ(GEOSEqualsExact_r(h, copied, byGdal, 0.0), 1);

    std::unique_ptr<OGRGeometry> back(OGRGeometryFactory::createFromGEOS(h, byGdal));
    std::unique_ptr<OGRGeometry> copiedBack = OgrCopyOf(h, copied);
    ASSERT_TRUE(back && copiedBack);
    EXPECT_EQ(wkb(*copiedBack), wkb(*back));
    GEOSGeom_destroy_r(h, byGdal);
    GEOSGeom_destroy_r(h, copied);
  }
}

// Coordinate systems: projecting, their parameters, their text form.
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
  EXPECT_NEAR(std::hypot(origin->X(), origin->Y()), 0.0, 0.001);

  PointPtr east = ProjectedPoint(-90, 23, Projected(5070));
  EXPECT_GT(east->X(), 500000);
  east->Project(Geographic(4269));
  EXPECT_NEAR(std::hypot(east->X() + 90, east->Y() - 23), 0.0, 1e-9);
}

TEST_F(SpatialReferenceTest, EnvelopeReachingPastTheProjectionStillProjectsToWhatLands) {
  // The whole sample country in Albers, enlarged as the zoom to a study area
  // does: its far corners have no geographic position.
  EnvelopePtr world = Box(-180, 13, 180, 72, Geographic(4269));
  world->Project(Projected(5070));
  world->Expand(1.44, 1.44, true);
  world->Project(Geographic(4269));
  EXPECT_TRUE(!world->IsEmpty() && world->XMin() <= -170 && world->YMax() >= 72)
      << ::testing::PrintToString(Corners(world));
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

TEST_F(SpatialReferenceTest, ChangedAlbersCentralMeridianShowsInTheProjection) {
  SpatialReferencePtr albers = Projected(5070);
  EXPECT_DOUBLE_EQ(albers->CentralMeridian(), -96);
  albers->SetCentralMeridian(-100);
  albers->SetStandardParallel1(30);
  EXPECT_EQ(std::make_pair(albers->CentralMeridian(), albers->StandardParallel1()), std::make_pair(-100.0, 30.0));
  EXPECT_NE(albers->FactoryCode(), 5070);

  EXPECT_NEAR(ProjectedPoint(-100, 23, albers)->X(), 0.0, 0.001);
}

TEST_F(SpatialReferenceTest, CodesAreKeptOrRefusedAndGeographicParametersRefused) {
  auto factory = CreateAs<SpatialReferenceFactory>("orvaCore.SpatialReferenceEnvironment");
  // The authalic sphere is a system of its own, not an unknown code.
  EXPECT_EQ(Geographic(4035)->FactoryCode(), 4035);
  EXPECT_TRUE(Geographic(4035)->IsGeographic());
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
  EXPECT_EQ(std::make_tuple(copy->CentralMeridian(), copy->Name(), copy->IsSame(albers)),
            std::make_tuple(-100.5, albers->Name(), true));
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
  // The last: native already, shown as it is.
  EXPECT_EQ((std::vector<std::string>{ToNativePath("\\work\\a\\b.lyr"), ToPlatformPath("/work/a/b.lyr"),
                                      JoinPlatformPath("\\work\\a\\", "b.lyr"), DisplayPath("\\work\\a\\b.lyr"),
                                      DisplayPath("/work/odd\\name")}),
            (std::vector<std::string>{"/work/a/b.lyr", "\\work\\a\\b.lyr", "\\work\\a\\b.lyr", "/work/a/b.lyr",
                                      "/work/odd\\name"}));
  EXPECT_EQ(ErrorOf([] { ToPlatformPath("/work/odd\\name"); }).number, 76) << "a backslash in a native path";
}

// Resolved paths are the library's, whatever their form, also where a folder
// was resolved before and links are met.
TEST_F(SpatialReferenceTest, ResolvedPathsAreTheLibrarysInEveryForm) {
  namespace fs = std::filesystem;
  fs::create_directories(Native("real/inner"));
  std::ofstream(Native("real/file.txt")) << "x";
  fs::create_directory_symlink(Native("real"), Native("link"));
  fs::create_directory_symlink(Native("real/inner"), Native("real/leaflink"));
  for (int round = 0; round < 2; ++round) {
    for (const char* name : {"real/inner", "real/inner/", "real/inner//", "real/missing", "real/missing/",
                             "real/file.txt", "real/file.txt/", "link/inner", "link/inner/", "real/leaflink",
                             "real/leaflink/", "real/inner/.", "real/inner/..", "missing/deeper/", "link"}) {
      const std::string path = Native(name);
      std::error_code ec;
      fs::path expected = fs::weakly_canonical(path, ec);
      EXPECT_EQ(ResolvedPath(path), ec ? path : expected.string()) << name << " in round " << round;
    }
  }
  EXPECT_EQ(ResolvedPath("relative/name"), fs::weakly_canonical("relative/name").string());
  // Right under the root, where the folder is "/" itself (and may be a link).
  for (const char* top : {"/", "/usr", "/usr/", "/bin", "/no-such-top"})
    EXPECT_EQ(ResolvedPath(top), fs::weakly_canonical(top).string()) << top;
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
  for (int round = 0; round < 2; ++round)
    for (auto c = std::rbegin(classes); c != std::rend(classes); ++c)
      EXPECT_EQ(CodeOf(again->OpenFeatureClass(c->first)), c->second->FactoryCode()) << c->first;
}

} // namespace
} // namespace tov::test
