// The selected shapes method unites what it gathered once, as the host unites
// many shapes; the result must cover what uniting them one at a time covered,
// and a shape the host cannot unite must still be left out alone.
#include "PostgisCluster.h"
#include "SelShapesWorld.h"

#include "store/PolygonRepair.h"

namespace tov::test {
namespace {

constexpr long kCounties = 300;

class SelectedShapesUnionTest : public SelectedShapesRunTest {
protected:
  void SetUp() override {
    if (PostgisRun()) GTEST_SKIP() << "the union does not depend on where the analysis is kept";
    const std::string sample = std::string(TOVANA_SOURCE_ROOT) + "/data/usa/usa.gpkg";
    if (!std::filesystem::exists(sample)) GTEST_SKIP() << "the sample data set is not built (make data)";
    SelectedShapesRunTest::SetUp();
    auto factory = CreateAs<WorkspaceFactory>(kAccessWorkspaceFactoryProgId);
    counties = NamedLayer("Counties");
    counties->SetFeatureClass(factory->OpenFromFile(ToPlatformPath(sample))->OpenFeatureClass("counties"));
    FocusMap()->AddLayer(counties);
  }

  // The union as the method made it before it gathered: each shape
  // generalised, repaired and projected, then united with all before it.
  double PairwiseArea(long count, const PolygonPtr& extra = nullptr) {
    SpatialReferencePtr sr = Geographic(4269);
    std::vector<PolygonPtr> shapes;
    FeatureCursorPtr cursor = counties->SelectionSet()->Search(nullptr, false);
    while (FeaturePtr f = cursor->NextFeature()) shapes.push_back(As<Polygon>(f->ShapeCopy()));
    EXPECT_EQ(static_cast<long>(shapes.size()), count);
    if (extra) shapes.push_back(extra);
    PolygonPtr united;
    for (const PolygonPtr& shape : shapes) {
      shape->Generalize(0.0001);
      SimplifyIgnoringFailure(shape);
      shape->Project(sr);
      if (!united) {
        united = shape;
        continue;
      }
      try {
        united = As<Polygon>(shape->Union(united));
      } catch (const HostError&) {
        continue;
      }
      SimplifyIgnoringFailure(united);
    }
    return united ? united->Area() : 0.0;
  }

  FeatureLayerPtr counties;
};

TEST_F(SelectedShapesUnionTest, AFewHundredCountiesCoverWhatUnitingThemOneByOneCovered) {
  SelectFirst(counties, kCounties);
  const double stored = StoredArea("Counties");
  // Ten a step, one that finds no more, one that finds no graphics, the store.
  EXPECT_EQ(steps.results.size(), static_cast<size_t>(kCounties / 10 + 3));
  const double pairwise = PairwiseArea(kCounties);
  ASSERT_GT(pairwise, 0);
  EXPECT_NEAR(stored, pairwise, 1e-4 * pairwise);
}

TEST_F(SelectedShapesUnionTest, AShapeTheHostCannotUniteIsLeftOutAndTheRestUnited) {
  constexpr long kFew = 40;
  SelectFirst(counties, kFew);
  // Far from the counties, so that its area would show.
  SpatialReferencePtr sr = Geographic(4269);
  AddSelectedGraphic(std::make_shared<FailingPolygon>(Square(-60.0, 30.0, 1.0, sr), FailingPolygon::Fails::Union));
  AddSelectedGraphic(Square(-62.0, 30.0, 0.5, sr));
  const double stored = StoredArea("Without the odd one");
  const double expected = PairwiseArea(kFew, Square(-62.0, 30.0, 0.5, sr));
  EXPECT_NEAR(stored, expected, 1e-4 * expected);
  EXPECT_GT(stored, 0.25);
}

} // namespace
} // namespace tov::test
