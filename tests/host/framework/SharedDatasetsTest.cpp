// Study area datasets kept as tables: both formats come back as they were
// stored, and a changed shape replaces its table.
#include "AnalysisViews.h"
#include "Program.h"

#include "host/common/Paths.h"
#include "host/framework/AnalysisCheck.h"
#include "host/session/HostTaskRun.h"
#include "platform/framework/StudyAreaCatalog.h"
#include "platform/framework/StudyAreaRecord.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/FeatureClass.h"
#include "platform/gis/FeatureLayer.h"
#include "platform/gis/LayerFile.h"
#include "platform/gis/Workspace.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <gdal_priv.h>
#include <ogrsf_frmts.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace tov::test {
namespace {

void Store(const Analysis& analysis, const std::string& name) {
  UseScript("[" + NameTurn(name) + "]");
  ASSERT_TRUE(RunHostTask(analysis, kCurExtentTaskProgId).Stored()) << name;
}

FeatureClassPtr ClassOf(const Analysis& analysis, const std::string& name) {
  auto layerFile = CreateAs<LayerFile>(kLayerFileProgId);
  layerFile->Open(analysis.dataManager->GetStudyAreaCatalog()->Item(name)->FilePath());
  auto layer = std::dynamic_pointer_cast<FeatureLayer>(layerFile->Layer());
  return layer ? layer->FeatureClass() : nullptr;
}

TEST(SharedDatasetsTest, GeoPackageAndShapefileStudyAreasComeBackAsStored) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  {
    AnalysisPtr analysis = world.Open();
    Store(*analysis, "AsShapefile");
    analysis->extension->ExtensionProperties()->SetProperty("Data Format", "Personal Geodatabase");
    Store(*analysis, "AsGeoPackage");
    SaveAnalysis(*analysis);
  }
  AnalysisPtr copy = world.Open();
  for (const char* name : {"AsShapefile", "AsGeoPackage"}) {
    EXPECT_EQ(AnalysisCheck::BrokenReason(*copy, name), "") << name;
    FeatureClassPtr fc = ClassOf(*copy, name);
    ASSERT_TRUE(fc) << name;
    EXPECT_EQ(fc->FeatureCount(nullptr), 1) << name;
  }
  FeatureClassPtr gpkg = ClassOf(*copy, "AsGeoPackage");
  EXPECT_EQ(gpkg->OIDFieldName(), "OID");
  EXPECT_EQ(fs::path(ToNativePath(gpkg->Workspace()->PathName())).extension(), ".gpkg");
  EXPECT_EQ(copy->extension->ExtensionProperties()->GetProperty("Data Format"), "Personal Geodatabase");
  EXPECT_EQ(ReadServer(world).problems, std::vector<std::string>{});
}

TEST(SharedDatasetsTest, AChangedShapeReplacesItsTable) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  double widthBefore = 0;
  {
    AnalysisPtr analysis = world.Open();
    Store(*analysis, "Moving");
    SaveAnalysis(*analysis);
  }
  auto db = TestConnection();
  const std::string s = PgConnection::QuoteIdentifier(world.Schema()) + ".";
  const std::string tableBefore = db->Scalar("SELECT table_name FROM " + s + "record_tables").value_or("");
  {
    AnalysisPtr analysis = world.Open();
    const std::string folder = ToNativePath(ClassOf(*analysis, "Moving")->Workspace()->PathName());
    widthBefore = ClassOf(*analysis, "Moving")->Extent()->Width();
    // Half as wide, written straight into the working copy's shapefile.
    GDALDatasetUniquePtr ds(GDALDataset::Open(folder.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE));
    ASSERT_TRUE(ds);
    OGRLayer* layer = ds->GetLayer(0);
    std::unique_ptr<OGRFeature> feature(layer->GetNextFeature());
    OGREnvelope e;
    feature->GetGeometryRef()->getEnvelope(&e);
    OGRPolygon half;
    OGRLinearRing ring;
    const double midX = (e.MinX + e.MaxX) / 2;
    for (auto [x, y] : {std::pair{e.MinX, e.MinY}, {e.MinX, e.MaxY}, {midX, e.MaxY}, {midX, e.MinY}, {e.MinX, e.MinY}})
      ring.addPoint(x, y);
    half.addRing(&ring);
    feature->SetGeometry(&half);
    ASSERT_EQ(layer->SetFeature(feature.get()), OGRERR_NONE);
    ds.reset();
    SaveAnalysis(*analysis);
  }
  const std::string tableAfter = db->Scalar("SELECT table_name FROM " + s + "record_tables").value_or("");
  EXPECT_NE(tableAfter, tableBefore);
  EXPECT_FALSE(db->Scalar("SELECT to_regclass($1)", {world.Schema() + "." + tableBefore}).has_value());
  AnalysisPtr copy = world.Open();
  EXPECT_NEAR(ClassOf(*copy, "Moving")->Extent()->Width(), widthBefore / 2, widthBefore * 1e-6);
  EXPECT_EQ(ReadServer(world).problems, std::vector<std::string>{});
}

} // namespace
} // namespace tov::test

namespace tov::test {
namespace {

TEST(SharedDatasetsTest, ASchemaMadeAgainDoesNotGetTheOldOnesStudyAreas) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  double west = 0;
  for (const char* extent : {"--lonlat --extent=-74.9,40.2,-74.5,40.8", "--lonlat --extent=-73.9,40.2,-73.1,40.8"}) {
    // The same names again: study area 1 in table study_area_1_1.
    TestConnection()->Execute("DROP SCHEMA IF EXISTS " + PgConnection::QuoteIdentifier(world.Schema()) + " CASCADE");
    const ProgramRun run = RunTovana(world, std::string("setup extent --name Here ") + extent);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    AnalysisPtr copy = world.Open();
    const double width = ClassOf(*copy, "Here")->Extent()->Width();
    if (west == 0) west = width;
    else EXPECT_GT(width, west * 1.5) << "the first schema's shape came back";
  }
}

} // namespace
} // namespace tov::test
