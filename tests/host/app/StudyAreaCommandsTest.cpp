// The management commands end to end, as a user runs them on one analysis.
#include "TestWorld.h"

#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/TovExtension.h"

#include <gdal_priv.h>
#include <nlohmann/json.hpp>
#include <ogrsf_frmts.h>

#include <cstdlib>
#include <filesystem>
#include <sys/wait.h>

namespace tov::test {
namespace {

class StudyAreaCommandsTest : public ::testing::Test {
protected:
  // Runs tovana on the test analysis; its exit code, with stdout and stderr.
  int Tovana(const std::string& arguments) {
    const std::string outFile = world.Root() + "/stdout.txt", errFile = world.Root() + "/stderr.txt";
    const std::string command = std::string("'") + TOVANA_BINARY_ROOT + "/host/app/tovana' --data-root '" +
                                world.DataRoot() + "' --analysis '" + world.AnalysisFolder() + "' --dataset Test " +
                                arguments + " > '" + outFile + "' 2> '" + errFile + "'";
    const int status = std::system(command.c_str());
    output = ReadTextFile(outFile);
    errors = ReadTextFile(errFile);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }

  TestWorld world;
  std::string output, errors;
};

TEST_F(StudyAreaCommandsTest, CreateRenameDeleteOpenShowAndExport) {
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent -74.6,40.2,-74.1,40.8"), 0) << errors;
  ASSERT_EQ(Tovana("setup extent --name Midtown --lonlat --extent -74.0,40.3,-73.6,40.7"), 0) << errors;
  ASSERT_EQ(Tovana("setup extent --name Uptown --lonlat --extent -74.0,40.7,-73.8,40.9"), 0) << errors;

  ASSERT_EQ(Tovana("rename Midtown \"Mid Town\""), 0) << errors;
  // No to the first asked (list order), Yes to the second.
  ASSERT_EQ(Tovana("delete Harbour Uptown --answers no,yes"), 0) << errors;
  EXPECT_NE(output.find("Are you sure you want to delete Harbour? No"), std::string::npos) << output;
  EXPECT_NE(output.find("Are you sure you want to delete Uptown? Yes"), std::string::npos) << output;
  {
    AnalysisPtr analysis = world.Open();
    StudyAreaCatalogPtr catalog = analysis->dataManager->GetStudyAreaCatalog();
    EXPECT_TRUE(catalog->Exists("Harbour"));
    EXPECT_TRUE(catalog->Exists("Mid Town"));
    EXPECT_FALSE(catalog->Exists("Midtown"));
    EXPECT_FALSE(catalog->Exists("Uptown"));
    EXPECT_EQ(catalog->Count(), 2);
  }
  ASSERT_EQ(Tovana("open Harbour"), 0) << errors;
  ASSERT_EQ(Tovana("open \"Mid Town\""), 0) << errors;
  EXPECT_EQ(world.Open()->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "Mid Town");

  ASSERT_EQ(Tovana("show \"Mid Town\" --json"), 0) << errors;
  const auto properties = nlohmann::json::parse(output);
  EXPECT_EQ(properties["name"], "Mid Town");
  EXPECT_TRUE(properties["current"].get<bool>());
  const double area = properties["areaSquareKilometres"].get<double>();

  const std::string file = world.Root() + "/midtown.geojson";
  ASSERT_EQ(Tovana("export \"Mid Town\" --out '" + file + "'"), 0) << errors;
  GDALDatasetUniquePtr in(GDALDataset::Open(file.c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(in);
  ASSERT_EQ(in->GetLayer(0)->GetFeatureCount(), 1);
  OGRFeatureUniquePtr feature(in->GetLayer(0)->GetNextFeature());
  OGRGeometry* shape = feature->GetGeometryRef();
  ASSERT_TRUE(shape);
  // An RFC 7946 writer gives a shape of one part as a Polygon.
  EXPECT_TRUE(wkbFlatten(shape->getGeometryType()) == wkbPolygon ||
              wkbFlatten(shape->getGeometryType()) == wkbMultiPolygon);
  // The same area, measured independently on the exported shape: projected
  // to an equal-area system (Albers, EPSG:5070) it is its planar area.
  OGRSpatialReference albers;
  albers.importFromEPSG(5070);
  albers.SetAxisMappingStrategy(OAMS_TRADITIONAL_GIS_ORDER);
  shape->assignSpatialReference(in->GetLayer(0)->GetSpatialRef());
  ASSERT_EQ(shape->transformTo(&albers), OGRERR_NONE);
  EXPECT_NEAR(shape->toMultiPolygon()->get_Area() / 1e6, area, area * 1e-4);
}

TEST_F(StudyAreaCommandsTest, UnknownNamesRefusedNamesAndBadOptionsSayWhy) {
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent -74.6,40.2,-74.1,40.8"), 0) << errors;
  ASSERT_EQ(Tovana("setup extent --name Midtown --lonlat --extent -74.0,40.3,-73.6,40.7"), 0) << errors;
  EXPECT_EQ(Tovana("open Nowhere"), 1);
  EXPECT_NE(errors.find("no study area named \"Nowhere\""), std::string::npos) << errors;
  EXPECT_EQ(Tovana("delete Harbour Nowhere"), 1);
  EXPECT_TRUE(world.Open()->dataManager->GetStudyAreaCatalog()->Exists("Harbour")) << "nothing deleted";
  EXPECT_EQ(Tovana("show Nowhere"), 1);
  EXPECT_EQ(Tovana("delete Harbour --answers maybe"), 2);
  EXPECT_EQ(Tovana("export Harbour --out '" + world.Root() + "/h.txt'"), 2);
  EXPECT_EQ(Tovana("export Harbour --srs EPSG:abc --out '" + world.Root() + "/h.geojson'"), 2);
  // An existing name and a name the checker refuses: the dialog's message,
  // nothing renamed.
  EXPECT_EQ(Tovana("rename Harbour Midtown"), 1);
  EXPECT_NE(errors.find("already the name of a study area"), std::string::npos) << errors;
  EXPECT_EQ(Tovana("rename Harbour 'Bad/Name'"), 1);
  EXPECT_EQ(Tovana("rename Harbour Harbour"), 2);
  AnalysisPtr analysis = world.Open();
  EXPECT_TRUE(analysis->dataManager->GetStudyAreaCatalog()->Exists("Harbour"));
  EXPECT_FALSE(analysis->dataManager->GetStudyAreaCatalog()->Exists("Bad/Name"));
  // A deleted layer file: open says so and fails.
  std::filesystem::remove(world.AnalysisFolder() + "/StudyAreas/1/StudyArea.lyr");
  EXPECT_EQ(Tovana("open Harbour"), 1);
  EXPECT_NE(errors.find("unable to locate the following file"), std::string::npos) << errors;
  EXPECT_NE(errors.find(world.AnalysisFolder() + "/StudyAreas/1/StudyArea.lyr"), std::string::npos) << errors;
  EXPECT_NE(errors.find("file:  /"), std::string::npos) << errors; // native, on a line of its own
  EXPECT_EQ(Tovana("show Harbour"), 1);
}

} // namespace
} // namespace tov::test
