// Text splitting and path pieces, where the edge rules are easy to get wrong.
#include "store/StrUtils.h"

#include <gtest/gtest.h>

#include <string>
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
  EXPECT_EQ(GetFileNameByPath("C:\\data\\area.shp"), "area.shp");
  EXPECT_EQ(GetFileNameByPath("C:\\a\\b\\"), "b");
  EXPECT_EQ(GetFileNameByPath(""), "");
  EXPECT_EQ(GetDirNameByPath("C:\\data\\area.shp"), "C:\\data\\");
  EXPECT_EQ(GetDirNameByPath("C:\\a\\b\\"), "C:\\a\\b");
  EXPECT_EQ(GetDirNameByPath("area.shp"), "");
  EXPECT_EQ(GetDirNameByPath(""), "");
}

TEST(StrUtilsTest, NumbersBeyondOneToTenHaveOneWord) {
  EXPECT_EQ(NumberToWord(1), "one");
  EXPECT_EQ(NumberToWord(7), "seven");
  EXPECT_EQ(NumberToWord(10), "ten");
  for (int32_t n : {0, -1, 11, 2147483647}) EXPECT_EQ(NumberToWord(n), "more then ten") << n;
}

} // namespace
} // namespace tov::test
