// tovana setup draw: the shape drawn on the drawing page through the
// chooser; shapes no study area can be drawn from are refused before the
// analysis is touched.
#include "DrawnWorld.h"

#include "store/StudyAreaDataset.h"

namespace tov::test {
namespace {

class CommandLineDrawTest : public WorldTest {
protected:
  CommandLineDrawTest() : WorldTest(DrawnWorldOptions()) {}

  // The stored shape of a study area, in the analysis system (EPSG:5070).
  PolygonPtr Stored(const std::string& name) {
    analysis = world->Open();
    PolygonPtr shape;
    if (Catalog()->Exists(name)) {
      EXPECT_EQ(RecordProperty(name, "TYPE"), kDrawnAreaMethod);
      FeatureLayerPtr layer = OpenLayerFileLayer(Catalog()->Item(name)->FilePath());
      if (layer) shape = As<Polygon>(layer->FeatureClass()->Search(nullptr, false)->NextFeature()->ShapeCopy());
    }
    analysis.reset();
    return shape;
  }
};

TEST_F(CommandLineDrawTest, EachShapeIsDrawnThroughTheChooserInMapUnitsOrLongitudeAndLatitude) {
  ASSERT_EQ(Tovana("setup draw --polygon '-74.5 40.5, -74 40.5, -74 41, -74.5 40.5' --name Triangle"), 0) << errors;
  PolygonPtr triangle = Stored("Triangle");
  ASSERT_TRUE(triangle);
  triangle->Project(Geographic(4269));
  EXPECT_NEAR(triangle->Area(), 0.125, 1e-8);

  ASSERT_EQ(Tovana("setup draw --rectangle -74.5,40.5,-74,41 --name Square"), 0) << errors;
  PolygonPtr square = Stored("Square");
  ASSERT_TRUE(square);
  square->Project(Geographic(4269));
  EXPECT_NEAR(square->Area(), 0.25, 1e-8);

  // 2000 metres north to south: the radius is measured along the meridian.
  ASSERT_EQ(Tovana("setup draw --circle -74,40.8,1000 --lonlat --name Ring"), 0) << errors;
  PolygonPtr ring = Stored("Ring");
  ASSERT_TRUE(ring);
  EXPECT_NEAR(ring->Envelope()->Height(), 2000, 2000 * 0.02);
}

TEST_F(CommandLineDrawTest, ShapesWithoutAnAreaAreRefusedWithStatus1AndNothingIsMade) {
  const std::pair<const char*, const char*> refused[] = {
      {"--polygon '-74 40, -74 40, -73 41'", "three distinct points"},
      {"--polygon '-74 40, -73 41, -73 40, -74 41'", "crosses or touches itself"},
      {"--circle -74,40.8,0", "radius"},
      {"--circle -74,40.8,-5 --lonlat", "radius"}};
  for (const auto& [shape, reason] : refused) {
    SCOPED_TRACE(shape);
    EXPECT_EQ(Tovana(std::string("setup draw ") + shape + " --name Nothing"), 1);
    EXPECT_NE(errors.find(reason), std::string::npos) << errors;
  }
  EXPECT_FALSE(world->AnalysisExists()) << "a refused shape touched the analysis";

  EXPECT_EQ(Tovana("setup draw --circle -74,40.8,1 --rectangle -74,40,-73,41 --name Two"), 2);
  EXPECT_EQ(Tovana("setup draw --polygon '-74 40, -73' --name Broken"), 2);
}

} // namespace
} // namespace tov::test
