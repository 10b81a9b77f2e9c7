// The scale bar's round lengths, and that it and the attribution line are
// drawn in their corners.
#include "GuiTestSupport.h"
#include "support/ComponentTestSupport.h"

#include "host/gis/HostMap.h"
#include "host/render/MapDecorations.h"

#include <QImage>
#include <QPainter>

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
      {1000, 150, 100, "km", 50, "mi"},   // 150 km, 93 mi
      {2000, 160, 200, "km", 100, "mi"},  // 320 km, 199 mi
      {1, 150, 100, "m", 200, "ft"},      // 150 m, 492 ft
      {10, 150, 1, "km", 2000, "ft"},     // 1.5 km, 4,921 ft
      {30, 150, 2, "km", 2, "mi"},        // 4.5 km, 2.8 mi
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

  QImage image(1000, 500, QImage::Format_ARGB32);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    MapDecorations::Draw(painter, map, viewport, "Boundaries: a survey office");
  }
  auto inkIn = [&](QRect r) {
    int ink = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) ink += image.pixelColor(x, y).lightness() < 128;
    return ink;
  };
  EXPECT_GT(inkIn(QRect(0, 440, 200, 60)), 50);    // the bar, bottom left
  EXPECT_GT(inkIn(QRect(700, 480, 300, 20)), 50);  // the attribution, bottom right
  EXPECT_EQ(inkIn(QRect(0, 0, 1000, 400)), 0);     // nothing over the map itself
}

} // namespace
} // namespace tov::test
