// A data set description read under a comma-decimal locale: numbers written
// by hand keep their "." and convert as the component reads them.
#include "CommaLocale.h"
#include "TempFolder.h"

#include "host/framework/JsonDataset.h"
#include "Prelude.h"

#include <gtest/gtest.h>

#include <fstream>

namespace tov {
namespace {

TEST(CommaLocaleTest, DatasetNumbersKeepTheirPoint) {
  testing::CommaLocale german;
  if (!german.Active()) GTEST_SKIP() << german.SkipMessage();
  testing::TempFolder folder;
  std::ofstream(folder / "dataset.json") << R"({
    "name": "Numbers",
    "configuration": {"children": [{"name": "Projections", "children": [
      {"name": "Projection.ResultantDefault",
       "properties": {"Type": "Projected", "ID": 5070, "CentralMeridian": "-100.5", "StandardParallel1": 29.25,
                      "Scale": 1e-3}}]}]}
  })";
  JsonDatasetPtr ds = JsonDataset::Load(folder.Path());
  PropertyListPtr attributes =
      ds->Configuration()->ChildByName("Projections")->ChildByName("Projection.ResultantDefault")->Properties();
  EXPECT_EQ(attributes->GetValue("ID"), "5070");
  EXPECT_EQ(attributes->GetValue("StandardParallel1"), "29.25");
  EXPECT_DOUBLE_EQ(Variant(attributes->GetValue("StandardParallel1")).ToDouble(), 29.25);
  EXPECT_DOUBLE_EQ(Variant(attributes->GetValue("CentralMeridian")).ToDouble(), -100.5);
  EXPECT_DOUBLE_EQ(Variant(attributes->GetValue("Scale")).ToDouble(), 0.001);
}

} // namespace
} // namespace tov
