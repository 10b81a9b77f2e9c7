// The management commands end to end, as a user runs them on one analysis,
// in a folder and (PostGIS.*) shared, where each study area is a table.
#include "AnalysisViews.h"
#include "WorldTest.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

namespace tov::test {
namespace {

using StudyAreaCommandsTest = WorldTest;

TEST_F(StudyAreaCommandsTest, CreateRenameDeleteOpenShowExportRenderAndCheckAndWhatIsRefusedSaysWhy) {
  ASSERT_EQ(Tovana("setup extent --name Harbour --lonlat --extent -74.6,40.2,-74.1,40.8"), 0) << errors;
  if (world->Shared()) {
    EXPECT_TRUE(Has(output, "stored in PG:")) << output;
  }
  ASSERT_EQ(Tovana("setup extent --name Midtown --lonlat --extent -74.0,40.3,-73.6,40.7"), 0) << errors;
  ASSERT_EQ(Tovana("setup extent --name Uptown --lonlat --extent -74.0,40.7,-73.8,40.9"), 0) << errors;
  ASSERT_EQ(Tovana("list"), 0) << errors;
  EXPECT_TRUE(Has(output, "Harbour") && Has(output, "Midtown") && Has(output, "Uptown")) << output;
  // Unknown names, refused names and bad options say why and change nothing.
  EXPECT_EQ(Tovana("open Nowhere"), 1);
  EXPECT_TRUE(Has(errors, "no study area named \"Nowhere\"")) << errors;
  EXPECT_EQ(Tovana("delete Harbour Nowhere"), 1);
  EXPECT_EQ(Tovana("show Nowhere"), 1);
  EXPECT_EQ(Tovana("delete Harbour --answers maybe"), 2);
  EXPECT_EQ(Tovana("export Harbour --out '" + world->Root() + "/h.txt'"), 2);
  EXPECT_EQ(Tovana("export Harbour --srs EPSG:abc --out '" + world->Root() + "/h.geojson'"), 2);
  // An existing name and a name the checker refuses: the dialog's message.
  EXPECT_EQ(Tovana("rename Harbour Midtown"), 1);
  EXPECT_TRUE(Has(errors, "already the name of a study area")) << errors;
  EXPECT_EQ(Tovana("rename Harbour 'Bad/Name'"), 1);
  EXPECT_EQ(Tovana("rename Harbour Harbour"), 2);
  EXPECT_EQ(CatalogueNames(*world), (std::vector<std::string>{"Harbour", "Midtown", "Uptown"}));

  ASSERT_EQ(Tovana("rename Midtown \"Mid Town\""), 0) << errors;
  // No to the first asked (list order), Yes to the second.
  ASSERT_EQ(Tovana("delete Harbour Uptown --answers no,yes"), 0) << errors;
  EXPECT_TRUE(Has(output, "Are you sure you want to delete Harbour? No")) << output;
  EXPECT_TRUE(Has(output, "Are you sure you want to delete Uptown? Yes")) << output;
  EXPECT_EQ(CatalogueNames(*world), (std::vector<std::string>{"Harbour", "Mid Town"}));
  ASSERT_EQ(Tovana("open Harbour"), 0) << errors;
  ASSERT_EQ(Tovana("open \"Mid Town\""), 0) << errors;
  EXPECT_EQ(world->Open()->extension->ExtensionProperties()->GetProperty("CurrentExtent"), "Mid Town");

  ASSERT_EQ(Tovana("show \"Mid Town\" --json"), 0) << errors;
  const auto properties = nlohmann::json::parse(output);
  EXPECT_EQ(properties["name"], "Mid Town");
  EXPECT_TRUE(properties["current"].get<bool>());
  const double area = properties["areaSquareKilometres"].get<double>();

  const std::string file = world->Root() + "/midtown.geojson";
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
  EXPECT_NEAR(OGR_G_Area(OGRGeometry::ToHandle(shape)) / 1e6, area, area * 1e-4);

  const std::string png = world->Root() + "/map.png";
  EXPECT_EQ(Tovana("render --size 200x150 --out '" + png + "'"), 0) << errors;
  EXPECT_TRUE(std::filesystem::exists(png));
  EXPECT_EQ(Tovana("check"), 0) << errors;
  EXPECT_TRUE(Has(output, "consistent")) << output;
  EXPECT_EQ(Inconsistencies(*world), std::vector<std::string>{});
  if (!world->Shared()) {
    // A deleted layer file: open says so, with the native path on a line of its own.
    std::filesystem::remove(world->AnalysisFolder() + "/StudyAreas/1/StudyArea.lyr");
    EXPECT_EQ(Tovana("open Harbour"), 1);
    EXPECT_TRUE(Has(errors, "unable to locate the following file")) << errors;
    EXPECT_TRUE(Has(errors, "file:  " + world->AnalysisFolder() + "/StudyAreas/1/StudyArea.lyr")) << errors;
    EXPECT_EQ(Tovana("show Harbour"), 1);
    return; // the layer file of a shared analysis is not in reach
  }
  // The study areas are PostGIS tables in the analysis's system; the new
  // analysis's default options were published with it; nothing of the copies
  // the processes worked on is left in the document.
  auto db = TestConnection();
  const std::string s = PgConnection::QuoteIdentifier(world->Schema()) + ".";
  const std::string table =
      db->Scalar("SELECT table_name FROM " + s + "record_tables t JOIN " + s + "study_areas a ON a.id = t.record_id")
          .value_or("");
  EXPECT_EQ(db->Scalar("SELECT ST_SRID(shape) FROM " + s + PgConnection::QuoteIdentifier(table)).value_or(""), "5070");
  EXPECT_EQ(db->Scalar("SELECT value FROM " + s + "settings WHERE facet = 'ExtensionOptions' AND key = "
                       "'Use Group Layer For Analysis'")
                .value_or(""),
            "True");
  EXPECT_EQ(db->Scalar("SELECT count(*) FROM " + s + "document WHERE content LIKE '%tovana-shared-%'").value_or(""), "0");
}

} // namespace
} // namespace tov::test
