// The index on the code field: a LIKE condition is answered from it, as
// LIKE compares (without regard to case), and making it twice is harmless.
// That `datasets create` makes it is DatasetCreateTest's.
#include "DatasetsTestSupport.h"

#include "host/gis/CodeFieldIndex.h"

namespace tov::test {
namespace {

std::string Square(double x, double y) { return SquareWkt(x, y, 1); }

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

  EXPECT_TRUE(HasIndex(*ds, "codes", "CODE"));
  const std::string plan = "EXPLAIN QUERY PLAN SELECT COUNT(*) FROM codes WHERE CODE LIKE 'ls1%'";
  std::string detail;
  for (const std::string& row : Column(*ds, plan, 3)) detail += row + "\n";
  EXPECT_NE(detail.find(CodeFieldIndexName("codes", "CODE")), std::string::npos) << detail;

  // Through OGR as the ZIP method asks: the same count as without an index.
  OGRLayer* layer = ds->GetLayerByName("codes");
  for (const auto& [filter, count] : {std::pair{"(CODE LIKE 'ls1%')", 4}, {"(CODE LIKE 'LS_')", 3}}) {
    ASSERT_EQ(layer->SetAttributeFilter(filter), OGRERR_NONE);
    EXPECT_EQ(layer->GetFeatureCount(), count) << filter;
  }

  EXPECT_THROW(IndexCodeField(*ds, "codes", "ZIP"), HostError);
  EXPECT_THROW(IndexCodeField(*ds, "zips", "CODE"), HostError);
}

} // namespace
} // namespace tov::test
