// Text splitting and path pieces, where the edge rules are easy to get wrong.
#include "store/StrUtils.h"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

namespace tov::test {
namespace {

std::vector<std::string> Split(const std::string& text, const std::string& delimiter) {
  CollectionPtr items = StrToCollection(text, delimiter);
  std::vector<std::string> out;
  for (long i = 1; i <= items->Count(); ++i) out.push_back(items->Item(i).ToString());
  return out;
}

TEST(StrUtilsTest, SplittingKeepsInnerAndLeadingEmptiesButNoTrailingOne) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split("", ","), V{});
  EXPECT_EQ(Split("a,,b", ","), (V{"a", "", "b"}));
  EXPECT_EQ(Split(",a,", ","), (V{"", "a"}));
  EXPECT_EQ(Split("aXbxc", "X"), (V{"a", "bxc"}));
  EXPECT_EQ(Split("a<>b<>", "<>"), (V{"a", "b"}));
}

TEST(StrUtilsTest, PathPiecesSplitAtTheLastBackslash) {
  // Path, file name, folder.
  for (const auto& [path, file, folder] : {std::tuple{"C:\\data\\area.shp", "area.shp", "C:\\data\\"},
                                           {"C:\\a\\b\\", "b", "C:\\a\\b"}, {"", "", ""}}) {
    EXPECT_EQ(GetFileNameByPath(path), file) << path;
    EXPECT_EQ(GetDirNameByPath(path), folder) << path;
  }
  EXPECT_EQ(GetDirNameByPath("area.shp"), "");
}

TEST(StrUtilsTest, NumbersBeyondOneToTenHaveOneWord) {
  EXPECT_EQ(NumberToWord(1) + NumberToWord(7) + NumberToWord(10), "oneseventen");
  for (int32_t n : {0, -1, 11, 2147483647}) EXPECT_EQ(NumberToWord(n), "more then ten") << n;
}

} // namespace
} // namespace tov::test
