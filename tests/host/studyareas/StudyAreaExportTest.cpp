// A study area exported as one polygon named after it that other tools read,
// each format in the coordinate system its readers expect: GeoJSON as RFC
// 7946 unless another system is asked for, KML only in WGS 84, the others
// in the study area's own system.
#include "RingWorld.h"
#include "WorldTest.h"

#include "host/gis/HostSpatialReference.h"
#include "host/gis/OgrGeometrySource.h"
#include "host/studyareas/StudyAreaExport.h"
#include "host/studyareas/StudyAreaProperties.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace tov::test {
namespace {

// 3 miles in metres.
constexpr double kRadius = 3 * 1609.344;

// What OGR reads back from an exported file.
struct ReadBack {
  OGREnvelope extent;
  std::string system; // the layer's authority code, "" when it names none
  std::string name;
  double squareKilometres = 0;
};

ReadBack Read(const std::string& path) {
  GDALDatasetUniquePtr in(GDALDataset::Open(path.c_str(), GDAL_OF_VECTOR));
  ReadBack back;
  if (!in) {
    ADD_FAILURE() << path << " cannot be read";
    return back;
  }
  OGRLayer* layer = in->GetLayer(0);
  EXPECT_EQ(layer->GetFeatureCount(), 1) << path;
  OGRFeatureUniquePtr feature(layer->GetNextFeature());
  OGRGeometry* shape = feature ? feature->GetGeometryRef() : nullptr;
  if (!shape) {
    ADD_FAILURE() << path << " holds no shape";
    return back;
  }
  EXPECT_TRUE(wkbFlatten(shape->getGeometryType()) == wkbPolygon ||
              wkbFlatten(shape->getGeometryType()) == wkbMultiPolygon)
      << path;
  shape->getEnvelope(&back.extent);
  back.name = feature->GetFieldAsString("NAME");
  OGRSpatialReference* sr = layer->GetSpatialRef();
  const char* code = sr ? sr->GetAuthorityCode(nullptr) : nullptr;
  back.system = code ? code : "";
  shape->assignSpatialReference(sr);
  back.squareKilometres = GeodesicAreaSquareMetres(GeometryFromOgr(shape, 4, HostSpatialReference::FromOgr(sr))) / 1e6;
  return back;
}

class StudyAreaExportTest : public WorldTest {
protected:
  StudyAreaExportTest() : WorldTest(RingWorldOptions()) {}
  void SetUp() override {
    ASSERT_EQ(Tovana("setup ring --lat 40.7128 --lon -74.0060 --radius 3 --name Ring"), 0) << errors;
    analysis = world->Open();
  }
  // Exports the ring into that file of the world's folder; its path.
  std::string Export(const std::string& file, long system = 0) {
    const std::string path = world->Root() + "/" + file;
    ExportStudyArea(*analysis, "Ring", path, system);
    return path;
  }
};

TEST_F(StudyAreaExportTest, EachFormatHoldsOneNamedPolygonInTheSystemItsReadersExpect) {
  const double area = DescribeStudyArea(*analysis, "Ring").areaSquareKilometres;
  for (const char* file : {"ring.geojson", "ring.kml", "ring.gpkg", "ring.shp", "ring.fgb"}) {
    const ReadBack back = Read(Export(file));
    EXPECT_EQ(back.name, "Ring") << file;
    EXPECT_NEAR(back.squareKilometres, area, area * 1e-4) << file;
    if (Has(file, ".geojson") || Has(file, ".kml")) {
      // Degrees around the site; six miles north to south is about 0.087 degrees.
      EXPECT_NEAR((back.extent.MinX + back.extent.MaxX) / 2, -74.006, 0.005) << file;
      EXPECT_NEAR((back.extent.MinY + back.extent.MaxY) / 2, 40.7128, 0.005) << file;
      EXPECT_NEAR(back.extent.MaxY - back.extent.MinY, 2 * kRadius / 111035, 0.002) << file;
    } else {
      EXPECT_EQ(back.system, "5070") << file;
      EXPECT_NEAR(back.extent.MaxX - back.extent.MinX, 2 * kRadius, 2 * kRadius * 0.02) << file;
    }
  }
  EXPECT_FALSE(nlohmann::json::parse(ReadTextFile(world->Root() + "/ring.geojson")).contains("crs"));
}

TEST_F(StudyAreaExportTest, AnotherSystemOnRequestButKmlOnlyInWgs84AndNothingOverwritten) {
  const std::string albers = Export("albers.geojson", 5070);
  const auto json = nlohmann::json::parse(ReadTextFile(albers));
  ASSERT_TRUE(json.contains("crs"));
  EXPECT_TRUE(Has(json["crs"].dump(), "5070")) << json["crs"].dump();
  const ReadBack metres = Read(albers);
  EXPECT_EQ(metres.system, "5070");
  EXPECT_NEAR(metres.extent.MaxX - metres.extent.MinX, 2 * kRadius, 2 * kRadius * 0.02);
  EXPECT_NEAR(metres.extent.MaxY - metres.extent.MinY, 2 * kRadius, 2 * kRadius * 0.02);

  const std::string refused = world->Root() + "/albers.kml";
  EXPECT_EQ(Tovana("export Ring --srs EPSG:5070 --out '" + refused + "'"), 2);
  EXPECT_TRUE(Has(errors, "WGS 84")) << errors;
  EXPECT_FALSE(fs::exists(refused));
  // An existing file, an unknown format, an unknown study area.
  EXPECT_THROW(Export("albers.geojson"), HostError);
  EXPECT_THROW(Export("ring.txt"), HostError);
  EXPECT_THROW(ExportStudyArea(*analysis, "Nowhere", world->Root() + "/n.geojson", 0), HostError);
  EXPECT_FALSE(fs::exists(world->Root() + "/n.geojson"));
}

} // namespace
} // namespace tov::test
