// `tovana export` writes each format in the coordinate system its readers
// expect: GeoJSON as RFC 7946 unless another system is asked for, KML only
// in WGS 84, the others in the study area's own system.
#include "Program.h"

#include <gdal_priv.h>
#include <nlohmann/json.hpp>
#include <ogrsf_frmts.h>

#include <filesystem>

namespace tov::test {
namespace {

// 3 miles in metres.
constexpr double kRadius = 3 * 1609.344;

TestWorldOptions RingWorld() {
  TestWorldOptions options;
  options.extraMethods = R"({ "name": "SetupStudyArea.SimpleRing", "caption": "A ring around a site",
      "properties": { "MainLayer": "Regions" }, "layers": [], "children": [] })";
  return options;
}

// What OGR reads back from an exported file.
struct ReadBack {
  OGREnvelope extent;
  std::string system; // the layer's authority code, "" when it names none
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
  if (feature && feature->GetGeometryRef()) feature->GetGeometryRef()->getEnvelope(&back.extent);
  const OGRSpatialReference* sr = layer->GetSpatialRef();
  const char* code = sr ? sr->GetAuthorityCode(nullptr) : nullptr;
  back.system = code ? code : "";
  return back;
}

class StudyAreaExportTest : public ::testing::Test {
protected:
  StudyAreaExportTest() : world(RingWorld()) {}
  void SetUp() override {
    const ProgramRun ring = RunTovana(world, "setup ring --lat 40.7128 --lon -74.0060 --radius 3 --name Ring");
    ASSERT_EQ(ring.exitCode, 0) << ring.errors;
  }
  // Exports the ring; the path of the file.
  std::string Export(const std::string& file, const std::string& options = "") {
    const std::string path = world.Root() + "/" + file;
    const ProgramRun run = RunTovana(world, "export Ring --out '" + path + "' " + options);
    EXPECT_EQ(run.exitCode, 0) << run.errors;
    return path;
  }
  TestWorld world;
};

TEST_F(StudyAreaExportTest, GeoJsonIsLongitudeAndLatitudeWithoutCrsUnlessAnotherSystemIsAsked) {
  const std::string plain = Export("ring.geojson");
  EXPECT_FALSE(nlohmann::json::parse(ReadTextFile(plain)).contains("crs"));
  const ReadBack degrees = Read(plain);
  EXPECT_NEAR((degrees.extent.MinX + degrees.extent.MaxX) / 2, -74.006, 0.005);
  EXPECT_NEAR((degrees.extent.MinY + degrees.extent.MaxY) / 2, 40.7128, 0.005);
  // Six miles north to south is about 0.087 degrees of latitude.
  EXPECT_NEAR(degrees.extent.MaxY - degrees.extent.MinY, 2 * kRadius / 111035, 0.002);

  const std::string albers = Export("ring-albers.geojson", "--srs EPSG:5070");
  const auto json = nlohmann::json::parse(ReadTextFile(albers));
  ASSERT_TRUE(json.contains("crs"));
  EXPECT_NE(json["crs"].dump().find("5070"), std::string::npos) << json["crs"].dump();
  const ReadBack metres = Read(albers);
  EXPECT_EQ(metres.system, "5070");
  EXPECT_NEAR(metres.extent.MaxX - metres.extent.MinX, 2 * kRadius, 2 * kRadius * 0.02);
  EXPECT_NEAR(metres.extent.MaxY - metres.extent.MinY, 2 * kRadius, 2 * kRadius * 0.02);
}

TEST_F(StudyAreaExportTest, KmlIsOnlyWgs84AndTheOtherFormatsKeepTheStudyAreasSystem) {
  const ReadBack kml = Read(Export("ring.kml"));
  EXPECT_NEAR((kml.extent.MinX + kml.extent.MaxX) / 2, -74.006, 0.005);
  const std::string refused = world.Root() + "/albers.kml";
  const ProgramRun run = RunTovana(world, "export Ring --srs EPSG:5070 --out '" + refused + "'");
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_NE(run.errors.find("WGS 84"), std::string::npos) << run.errors;
  EXPECT_FALSE(std::filesystem::exists(refused));

  for (const char* file : {"ring.gpkg", "ring.shp", "ring.fgb"}) {
    const ReadBack own = Read(Export(file));
    EXPECT_EQ(own.system, "5070") << file;
    EXPECT_NEAR(own.extent.MaxX - own.extent.MinX, 2 * kRadius, 2 * kRadius * 0.02) << file;
  }
}

} // namespace
} // namespace tov::test
