// What the progress runner sees of the selected shapes method: ten features
// a step, one graphic a step, then the store, whatever the method does with
// the shapes between the steps.
#include "SelShapesWorld.h"

namespace tov::test {
namespace {

class SelectedShapesStepsTest : public SelectedShapesRunTest {};

TEST_F(SelectedShapesStepsTest, TwentyFiveFeaturesAndThreeGraphicsTakeTheSameNineSteps) {
  SpatialReferencePtr sr = Geographic(4269);
  SelectFirst(squares, 25);
  std::vector<size_t> copiedIn;
  for (int i = 0; i < 3; ++i)
    AddSelectedGraphic(std::make_shared<StepStampedPolygon>(Square(-73.9 + i * 0.3, 40.7, 0.2, sr), &steps, &copiedIn));

  HostTaskRunResult result = Run(Turns("Steps"));
  ASSERT_TRUE(result.Stored());
  EXPECT_TRUE(steps.started);
  // Steps 0 to 2 read 10, 10 and 5 features; step 3 opens the graphics;
  // steps 4 to 6 take one graphic each; step 7 finds no more; step 8 stores.
  const std::vector<bool> more = {true, true, true, true, true, true, true, true, false};
  EXPECT_EQ(steps.results, more);
  EXPECT_EQ(copiedIn, (std::vector<size_t>{4, 5, 6}));
  auto stored = As<Polygon>(StoredShape("Steps"));
  ASSERT_TRUE(stored);
  EXPECT_NEAR(stored->Area(), 25 * kSquareArea + 3 * 0.04, 1e-9);
}

} // namespace
} // namespace tov::test
