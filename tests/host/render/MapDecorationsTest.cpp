// The scale bar's round lengths in both kinds of units.
#include "QtApp.h"
#include "TestWorld.h"

#include "host/gis/HostMap.h"
#include "host/render/MapDecorations.h"

namespace tov::test {
namespace {

TEST(MapDecorationsTest, TheBarIsTheLongestRoundLengthThatFits) {
  // metres per pixel, longest bar in pixels; then km or m, mi or ft
  struct Case {
    double metresPerPixel, maxPixels;
    double metric;
    const char* metricUnit;
    double imperial;
    const char* imperialUnit;
  };
  const Case cases[] = {
      {2000, 160, 200, "km", 100, "mi"},  // 320 km, 199 mi
      {1, 150, 100, "m", 200, "ft"},      // 150 m, 492 ft
      {10, 150, 1, "km", 2000, "ft"},     // 1.5 km, 4,921 ft
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.metresPerPixel));
    const auto metric = MapDecorations::FitBar(c.metresPerPixel, c.maxPixels, 1000, "km", 1, "m");
    EXPECT_DOUBLE_EQ(metric.length, c.metric);
    EXPECT_EQ(metric.unit, c.metricUnit);
    EXPECT_NEAR(metric.pixels * c.metresPerPixel, c.metric * (metric.unit == "km" ? 1000 : 1), 1e-6);
    EXPECT_LE(metric.pixels, c.maxPixels);
    const auto imperial = MapDecorations::FitBar(c.metresPerPixel, c.maxPixels, 1609.344, "mi", 0.3048, "ft");
    EXPECT_DOUBLE_EQ(imperial.length, c.imperial);
    EXPECT_EQ(imperial.unit, c.imperialUnit);
    EXPECT_LE(imperial.pixels, c.maxPixels);
  }
  EXPECT_EQ(MapDecorations::FitBar(1000, 150, 1000, "km", 1, "m").Label(), "100 km");
  // Nothing fits, or nothing to measure.
  EXPECT_EQ(MapDecorations::FitBar(0.001, 150, 1000, "km", 1, "m").length, 0);
  EXPECT_EQ(MapDecorations::FitBar(0, 150, 1000, "km", 1, "m").length, 0);
}

TEST(MapDecorationsTest, AProjectedMapIsMeasuredInItsMetres) {
  App();
  HostMap map;
  map.SetSpatialReference(Projected(5070));
  // 100 km across 1000 pixels: 100 m a pixel, a bar of at most 160 pixels.
  const MapViewport viewport(0, 0, 100000, 50000, QSize(1000, 500));
  const auto metric = MapDecorations::MetricBar(map, viewport, 160);
  EXPECT_EQ(metric.Label(), "10 km");
  EXPECT_NEAR(metric.pixels, 100, 0.5);
}

} // namespace
} // namespace tov::test
