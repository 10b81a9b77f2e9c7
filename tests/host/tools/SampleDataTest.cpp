// The USA sample data set as `make data` builds it: every shape valid and
// non-empty, the expected counts, county labels a list can be keyed by, and a
// description that offers the seven methods.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <gtest/gtest.h>

#include <memory>
#include <set>

#include "SampleDataset.h"

namespace fs = std::filesystem;

namespace {

class SampleData : public ::testing::Test {
protected:
  void SetUp() override {
    const fs::path gpkg = tov::test::SampleGeoPackage();
    if (gpkg.empty() || !fs::exists(gpkg)) GTEST_SKIP() << "the sample data set is not built (make data)";
    GDALAllRegister();
    m_dataset.reset(GDALDataset::Open(gpkg.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
    ASSERT_NE(m_dataset, nullptr);
  }

  OGRLayer* Layer(const char* name) {
    OGRLayer* layer = m_dataset->GetLayerByName(name);
    EXPECT_NE(layer, nullptr) << name;
    return layer;
  }

  // Number of features; fails the test on an invalid or empty shape.
  long CheckShapes(const char* name) {
    OGRLayer* layer = Layer(name);
    if (!layer) return 0;
    long count = 0, bad = 0;
    for (auto& feature : *layer) {
      ++count;
      const OGRGeometry* g = feature->GetGeometryRef();
      if (!g || g->IsEmpty() || !g->IsValid()) ++bad;
    }
    EXPECT_EQ(bad, 0) << bad << " invalid or empty shapes in " << name;
    return count;
  }

  std::unique_ptr<GDALDataset> m_dataset;
};

} // namespace

TEST_F(SampleData, LayersHaveTheExpectedCountsAndOnlyValidShapes) {
  EXPECT_GE(CheckShapes("states"), 50);
  EXPECT_GT(CheckShapes("counties"), 3000);
  const long zips = CheckShapes("zip_areas");
  EXPECT_TRUE(zips > 33700 && zips <= 33791) << zips;
}

TEST_F(SampleData, CountyLabelsAreUniqueAndZipCodesKeepTheirLeadingZeros) {
  std::set<std::string> labels;
  for (auto& feature : *Layer("counties")) {
    const std::string label = feature->GetFieldAsString("LABEL");
    EXPECT_TRUE(labels.insert(label).second) << "repeated label " << label;
    EXPECT_EQ(std::string(feature->GetFieldAsString("FIPS")).size(), 5u);
  }
  EXPECT_TRUE(labels.count("Kings, NY"));
  bool leadingZero = false;
  for (auto& feature : *Layer("zip_areas")) {
    const std::string zip = feature->GetFieldAsString("ZIP");
    ASSERT_EQ(zip.size(), 5u) << zip;
    leadingZero = leadingZero || zip[0] == '0';
  }
  EXPECT_TRUE(leadingZero);
}

TEST(SampleDataDescription, OffersTheSevenMethodsEachWithAMainLayer) {
  std::ifstream in(tov::test::SampleFolder() / "dataset.json");
  ASSERT_TRUE(in) << "data/usa/dataset.json is missing";
  const nlohmann::json description = nlohmann::json::parse(in);
  std::set<std::string> layers;
  for (const auto& l : description.at("layers")) layers.insert(l.at("name").get<std::string>());
  std::set<std::string> methods;
  for (const auto& task : description.at("tasks")) {
    if (task.at("name") != "SetupStudyArea") continue;
    for (const auto& child : task.at("children")) {
      methods.insert(child.at("name").get<std::string>());
      const std::string mainLayer = child.at("properties").value("MainLayer", "");
      EXPECT_TRUE(layers.count(mainLayer)) << child.at("name") << " names the unknown main layer " << mainLayer;
      for (const auto& taskLayer : child.at("layers"))
        EXPECT_TRUE(layers.count(taskLayer.at("name").get<std::string>())) << child.at("name");
    }
  }
  const std::set<std::string> expected = {
      "SetupStudyArea.CurrentExtent", "SetupStudyArea.SelectedShapes", "SetupStudyArea.DrawOwn",
      "SetupStudyArea.WildCard",      "SetupStudyArea.MapList",        "SetupStudyArea.UseWhole",
      "SetupStudyArea.SimpleRing"};
  EXPECT_EQ(methods, expected);
}
