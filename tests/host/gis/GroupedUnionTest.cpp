// Shapes that are no coverage as a whole are united in groups of neighbours:
// whatever groups unite as coverages, the result must cover exactly what the
// shapes cover.
#include "GisTestSupport.h"

namespace tov::test {
namespace {

using GroupedUnionTest = GisTest;

// A side x side grid of unit squares, as many groups' worth as wanted.
std::vector<GeometryPtr> Grid(int side) {
  std::vector<GeometryPtr> cells;
  for (int x = 0; x < side; ++x)
    for (int y = 0; y < side; ++y) cells.push_back(Square(x, y, 1));
  return cells;
}

TEST_F(GroupedUnionTest, OneOverlappingShapeLeavesTheOtherGroupsCoveragesAndTheAreaRight) {
  // 400 cells and a square over four of them, in one corner: the whole is
  // no coverage, most groups are.
  std::vector<GeometryPtr> shapes = Grid(20);
  shapes.push_back(Square(2.5, 2.5, 1));
  UnionMethod method = UnionMethod::None;
  PolygonPtr u = UnionOf(shapes, &method);
  EXPECT_EQ(method, UnionMethod::Unary);
  EXPECT_NEAR(u->Area(), 400.0, 1e-9);
  EXPECT_EQ(u->PartCount(), 1);
  EXPECT_EQ(u->RingCount(), 1);
}

TEST_F(GroupedUnionTest, ShapesThatOverlapEverywhereStillUniteWhole) {
  // Every cell overlapped by a shifted one, and a few apart from the grid:
  // no group is a coverage, and the groups stop trying early.
  std::vector<GeometryPtr> shapes = Grid(15);
  for (int x = 0; x < 15; ++x)
    for (int y = 0; y < 15; ++y) shapes.push_back(Square(x + 0.5, y + 0.5, 1));
  shapes.push_back(Square(40, 40, 2));
  shapes.push_back(Square(41, 41, 2));
  UnionMethod method = UnionMethod::None;
  PolygonPtr u = UnionOf(shapes, &method);
  EXPECT_EQ(method, UnionMethod::Unary);
  // The grid grows by half a cell to the upper right; the two squares overlap by one.
  EXPECT_NEAR(u->Area(), 15.5 * 15.5 - 2 * 0.25 + 7.0, 1e-9);
  EXPECT_EQ(u->PartCount(), 2);
}

TEST_F(GroupedUnionTest, AFewShapesThatAreNoCoverageAreUnitedAsBefore) {
  // Fewer than one group: an invalid bow tie is repaired, overlaps united.
  std::vector<GeometryPtr> shapes = {Square(0, 0, 2), Square(1, 1, 2),
                                     MakePolygon({{5, 0}, {7, 2}, {7, 0}, {5, 2}, {5, 0}})};
  UnionMethod method = UnionMethod::None;
  PolygonPtr u = UnionOf(shapes, &method);
  EXPECT_EQ(method, UnionMethod::Unary);
  EXPECT_NEAR(u->Area(), 7.0 + 2.0, 1e-9);
}

} // namespace
} // namespace tov::test
