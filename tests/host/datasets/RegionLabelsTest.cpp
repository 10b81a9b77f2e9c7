// The names the list page shows for a new data set's regions.
#include "host/datasets/RegionLabels.h"

#include <gtest/gtest.h>

namespace tov {
namespace {

TEST(RegionLabelsTest, ALabelFieldIsAddedToEveryNameAndWhatIsStillAlikeIsNumbered) {
  EXPECT_EQ(MakeRegionLabels({"Kings", "Queens", "Kings", "Kings"}, {"NY", "NY", "CA", "CA"}),
            (std::vector<std::string>{"Kings, NY", "Queens, NY", "Kings, CA (1)", "Kings, CA (2)"}));
  EXPECT_EQ(MakeRegionLabels({"Halton", "Leeds", "Halton", ""}, {}),
            (std::vector<std::string>{"Halton (1)", "Leeds", "Halton (2)", "Unnamed"}));
  // A number another region already carries is skipped.
  EXPECT_EQ(MakeRegionLabels({"A (1)", "A", "A"}, {}), (std::vector<std::string>{"A (1)", "A (2)", "A (3)"}));
}

TEST(RegionLabelsTest, NamesServeAsLabelsOnlyWhenAllAreGivenAndDifferent) {
  EXPECT_TRUE(NamesAreLabels({"Leeds", "York"}));
  EXPECT_FALSE(NamesAreLabels({"Leeds", "Leeds"}));
  EXPECT_FALSE(NamesAreLabels({"Leeds", ""}));
}

} // namespace
} // namespace tov
