// Longitude and latitude on the command line of the sample data set, whose
// map is in metres (EPSG:5070): a study area made with --lonlat covers every
// county that its degrees hold, as when the map was in degrees.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>
#include <sstream>
#include <string>

#include "TempFolder.h"

namespace fs = std::filesystem;

namespace {

const fs::path kSample = fs::path(TOVANA_SOURCE_ROOT) / "data" / "usa";
const fs::path kTovana = fs::path(TOVANA_BINARY_ROOT) / "host" / "app" / "tovana";

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

class LonLatCommand : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fs::exists(kSample / "usa.gpkg")) GTEST_SKIP() << "the sample data set is not built (make data)";
    if (!fs::exists(kTovana)) GTEST_SKIP() << "the tovana program is not built";
    GDALAllRegister();
  }

  // Runs tovana on a new analysis of the sample; its exit code, stderr in errors.
  int Tovana(const std::string& arguments) {
    const std::string command = "'" + kTovana.string() + "' --analysis '" + analysis + "' --data-root '" +
                                kSample.parent_path().string() + "' --dataset USA " + arguments + " >/dev/null 2>'" +
                                (temp / "errors.txt") + "'";
    const int status = std::system(command.c_str());
    errors = ReadAll(temp / "errors.txt");
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  // The polygon of a stored study area, in NAD83 degrees.
  std::unique_ptr<OGRGeometry> StoredShape(const std::string& name) {
    const std::string json = temp / "show.json";
    const std::string command = "'" + kTovana.string() + "' --analysis '" + analysis + "' show '" + name +
                                "' --json >'" + json + "' 2>/dev/null";
    if (std::system(command.c_str()) != 0) return nullptr;
    const std::string folder = nlohmann::json::parse(ReadAll(json)).at("data").get<std::string>();
    std::unique_ptr<GDALDataset> ds(
        GDALDataset::Open((folder + "/StudyArea.shp").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    if (!ds) return nullptr;
    std::unique_ptr<OGRFeature> feature(ds->GetLayer(0)->GetNextFeature());
    if (!feature) return nullptr;
    std::unique_ptr<OGRGeometry> shape(feature->StealGeometry());
    EXPECT_STREQ(shape->getSpatialReference()->GetAuthorityCode(nullptr), "5070");
    OGRSpatialReference nad83;
    nad83.importFromEPSG(4269);
    nad83.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
    EXPECT_EQ(shape->transformTo(&nad83), OGRERR_NONE);
    shape->assignSpatialReference(nullptr);
    return shape;
  }

  // The labels of the counties whose label point lies in area (NAD83).
  static std::set<std::string> CountiesIn(const OGRGeometry& area) {
    std::unique_ptr<GDALDataset> ds(
        GDALDataset::Open((kSample / "usa.gpkg").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    OGRLayer* counties = ds->GetLayerByName("counties");
    OGREnvelope e;
    area.getEnvelope(&e);
    counties->SetSpatialFilterRect(e.MinX - 1, e.MinY - 1, e.MaxX + 1, e.MaxY + 1);
    std::set<std::string> labels;
    for (auto& county : *counties) {
      std::unique_ptr<OGRGeometry> inside(
          OGRGeometry::FromHandle(OGR_G_PointOnSurface(OGRGeometry::ToHandle(county->GetGeometryRef()))));
      if (inside && inside->Within(&area)) labels.insert(county->GetFieldAsString("LABEL"));
    }
    return labels;
  }

  static std::unique_ptr<OGRGeometry> FromWkt(const std::string& wkt) {
    OGRGeometry* g = nullptr;
    OGRGeometryFactory::createFromWkt(wkt.c_str(), nullptr, &g);
    return std::unique_ptr<OGRGeometry>(g);
  }

  tov::testing::TempFolder temp;
  std::string analysis = temp / "analysis";
  std::string errors;
};

TEST_F(LonLatCommand, AnExtentAndAPolygonInDegreesCoverTheCountiesTheirDegreesHold) {
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent=-74.3,40.45,-73.65,40.95"), 0) << errors;
  const auto rectangle = FromWkt("POLYGON((-74.3 40.45,-73.65 40.45,-73.65 40.95,-74.3 40.95,-74.3 40.45))");
  std::unique_ptr<OGRGeometry> harbour = StoredShape("Harbour");
  ASSERT_TRUE(harbour);
  // The map shows the smallest rectangle of its metres around the degrees:
  // all of them, and at its corners a little more (the meridians lean at New
  // York in this projection).
  std::unique_ptr<OGRGeometry> left(rectangle->Difference(harbour.get()));
  EXPECT_LT(OGR_G_Area(OGRGeometry::ToHandle(left.get())), 1e-9);
  const auto grown = FromWkt("POLYGON((-74.55 40.2,-73.4 40.2,-73.4 41.2,-74.55 41.2,-74.55 40.2))");
  EXPECT_TRUE(harbour->Within(grown.get()));
  const std::set<std::string> before = CountiesIn(*rectangle), now = CountiesIn(*harbour);
  EXPECT_TRUE(before.count("Kings, NY") && before.count("Hudson, NJ") && before.count("Bronx, NY"));
  for (const std::string& county : before) EXPECT_TRUE(now.count(county)) << county;

  // A drawn polygon keeps its edges where the degrees put them.
  const std::string triangle = "POLYGON((-75 40,-73 40,-74 42,-75 40))";
  ASSERT_EQ(Tovana("setup selected --name Triangle --lonlat --graphic '" + triangle + "'"), 0) << errors;
  std::unique_ptr<OGRGeometry> stored = StoredShape("Triangle");
  ASSERT_TRUE(stored);
  const auto asked = FromWkt(triangle);
  EXPECT_EQ(CountiesIn(*stored), CountiesIn(*asked));
  std::unique_ptr<OGRGeometry> apart(stored->SymDifference(asked.get()));
  ASSERT_TRUE(apart);
  EXPECT_LT(OGR_G_Area(OGRGeometry::ToHandle(apart.get())), 1e-4 * OGR_G_Area(OGRGeometry::ToHandle(asked.get())));
}

TEST_F(LonLatCommand, DegreesOutOfRangeOrWithoutCoordinatesAreUsageErrors) {
  const std::pair<const char*, const char*> cases[] = {
      {"setup extent --name A --lonlat", "--extent"},
      {"setup extent --name A --lonlat --extent=-200,40,-190,41", "longitude"},
      {"setup selected --name A --lonlat --graphic 'POLYGON((-74 40,-73 40,-73 91,-74 40))'", "latitude"},
  };
  for (const auto& [arguments, mention] : cases) {
    EXPECT_EQ(Tovana(arguments), 2) << arguments << "\n" << errors;
    EXPECT_NE(errors.find(mention), std::string::npos) << arguments << "\n" << errors;
    EXPECT_FALSE(fs::exists(analysis)) << arguments;
  }
  // Map coordinates that put the extent nowhere on the globe are refused,
  // the message pointing to --lonlat.
  EXPECT_EQ(Tovana("setup extent --name A --extent=1e9,1e9,2e9,2e9"), 1);
  EXPECT_NE(errors.find("--lonlat"), std::string::npos) << errors;
}

} // namespace
