// `datasets create` from tables of a PostGIS database, in the run against
// the throwaway cluster ("PostGIS.<test>").
#include "DatasetsTestSupport.h"
#include "PostgisCluster.h"

#include "host/datasets/DatasetCreate.h"
#include "host/framework/JsonDataset.h"
#include "host/framework/PostgisDatasetImport.h"

namespace tov::test {
namespace {

TEST(DatasetFromDatabase, TablesOfADatabaseBecomeADataSetOfItsOwn) {
  if (!PostgisRun()) GTEST_SKIP() << "runs as PostGIS.DatasetFromDatabase.*, against the test cluster";
  TOV_REQUIRE_POSTGIS_IF_ASKED();
  const std::string connection = *PostgisConnection();
  tov::testing::TempFolder temp;
  const std::string gpkg = temp / "source.gpkg";
  std::vector<SourceFeature> areas;
  for (int i = 0; i < 4; ++i) areas.push_back({SquareWkt(-1.6 + 0.1 * i, 53.7, 0.1), {"Area " + std::to_string(i + 1)}});
  WriteLayer(gpkg, "areas", 4326, {"NAME"}, areas);
  PostgisDatasetImport::CopyTables(gpkg, {"areas"}, connection, "dataset_source", true);

  DatasetCreateOptions o;
  o.name = "FromDatabase";
  o.source = connection + " schemas=dataset_source";
  o.regions = {"areas", "NAME"};
  o.dataRoot = temp / "data";
  const DatasetCreateReport report = CreateDataset(o);
  EXPECT_EQ(report.layers.at(0).features, 4);
  EXPECT_EQ(JsonDataset::Load(temp / "data/FromDatabase")->LayerCount(), 1);
  // The password of a connection is never shown.
  o.source = connection + " password=secret schemas=dataset_source";
  o.name = "Other";
  o.regions = {"nothing", ""};
  const std::string refusal = ErrorOf([&] { CreateDataset(o); }).description;
  EXPECT_TRUE(Has(refusal, "no layer \"nothing\"") && !Has(refusal, "secret")) << refusal;
  PostgisDatasetImport::DropSchema(connection, "dataset_source");
}

} // namespace
} // namespace tov::test
