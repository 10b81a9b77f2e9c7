// The index on the code field: a LIKE condition is answered from it, as
// LIKE compares (without regard to case), and making it twice is harmless.
#include "DatasetsTestSupport.h"

#include "host/datasets/DatasetCreate.h"
#include "host/gis/CodeFieldIndex.h"

namespace tov::test {
namespace {

std::string Square(double x, double y) { return SquareWkt(x, y, 1); }

// The rows of one SQL statement's first column, run by the GeoPackage driver.
std::vector<std::string> Column(GDALDataset& ds, const std::string& sql, int column = 0) {
  std::vector<std::string> rows;
  OGRLayer* result = ds.ExecuteSQL(sql.c_str(), nullptr, nullptr);
  if (!result) return rows;
  for (auto& f : *result) rows.push_back(f->GetFieldAsString(column));
  ds.ReleaseResultSet(result);
  return rows;
}

TEST(CodeFieldIndexTest, ALikeConditionReadsTheIndexAndCountsWithoutRegardToCase) {
  tov::testing::TempFolder temp;
  const std::string gpkg = temp / "codes.gpkg";
  std::vector<SourceFeature> areas;
  const char* codes[] = {"LS1", "ls10", "LS11", "LS2", "M1", "ls1"};
  for (int i = 0; i < 6; ++i) areas.push_back({Square(i, 0), {codes[i]}});
  WriteLayer(gpkg, "codes", 4326, {"CODE"}, areas);

  std::unique_ptr<GDALDataset> ds(GDALDataset::Open(gpkg.c_str(), GDAL_OF_VECTOR | GDAL_OF_UPDATE));
  ASSERT_TRUE(ds);
  IndexCodeField(*ds, "codes", "CODE");
  IndexCodeField(*ds, "codes", "CODE"); // kept, not refused

  EXPECT_EQ(Column(*ds, "SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'codes' AND name = '" +
                             CodeFieldIndexName("codes", "CODE") + "'")
                .size(),
            1u);
  const std::string plan = "EXPLAIN QUERY PLAN SELECT COUNT(*) FROM codes WHERE CODE LIKE 'ls1%'";
  std::string detail;
  for (const std::string& row : Column(*ds, plan, 3)) detail += row + "\n";
  EXPECT_NE(detail.find(CodeFieldIndexName("codes", "CODE")), std::string::npos) << detail;

  // Through OGR as the ZIP method asks: the same count as without an index.
  OGRLayer* layer = ds->GetLayerByName("codes");
  ASSERT_EQ(layer->SetAttributeFilter("(CODE LIKE 'ls1%')"), OGRERR_NONE);
  EXPECT_EQ(layer->GetFeatureCount(), 4);
  ASSERT_EQ(layer->SetAttributeFilter("(CODE LIKE 'LS_')"), OGRERR_NONE);
  EXPECT_EQ(layer->GetFeatureCount(), 3);

  EXPECT_THROW(IndexCodeField(*ds, "codes", "ZIP"), HostError);
  EXPECT_THROW(IndexCodeField(*ds, "zips", "CODE"), HostError);
}

TEST(CodeFieldIndexTest, ADataSetMadeFromTheUsersLayersHasItsCodesIndexed) {
  tov::testing::TempFolder temp;
  const std::string source = temp / "source.gpkg";
  WriteLayer(source, "regions", 4326, {"NAME"}, {{Square(0, 0), {"North"}}, {Square(1, 0), {"South"}}});
  WriteLayer(source, "zips", 4326, {"ZIP"}, {{Square(0, 0), {"10001"}}, {Square(1, 0), {"10002"}}});
  DatasetCreateOptions o;
  o.name = "Two";
  o.source = source;
  o.regions = {"regions", "NAME"};
  o.codes = LayerChoice{"zips", "ZIP"};
  o.dataRoot = temp / "data";
  o.geonamesFile = temp / "no-places.pbf";
  fs::create_directories(o.dataRoot);
  CreateDataset(o);

  std::unique_ptr<GDALDataset> ds(GDALDataset::Open((o.dataRoot + "/Two/Two.gpkg").c_str(), GDAL_OF_VECTOR));
  ASSERT_TRUE(ds);
  EXPECT_EQ(Column(*ds, "SELECT name FROM sqlite_master WHERE type = 'index' AND name = '" +
                             CodeFieldIndexName("zips", "ZIP") + "'")
                .size(),
            1u);
}

} // namespace
} // namespace tov::test
