#pragma once
#include "host/render/MapViewport.h"
#include "platform/gis/GisForward.h"

#include <QSize>

#include <string>

class QPainter;

namespace tov {

// What is drawn over a map picture so that it can be read on its own: a
// scale bar in the bottom-left corner (kilometres above, miles below) and a
// short line naming the data's sources in the bottom-right corner.
class MapDecorations {
public:
  // One bar of the scale bar: a round length (1, 2 or 5 times a power of
  // ten) of a unit, and how many pixels it spans.
  struct Bar {
    double length = 0;
    std::string unit;
    double pixels = 0;
    std::string Label() const; // "200 km"
  };

  // The longest round length that spans at most maxPixels, in the large
  // unit when at least one of it fits, else in the small one; no length
  // (0) when even the smallest round length is too long.
  static Bar FitBar(double metresPerPixel, double maxPixels, double largeUnitMetres, const std::string& largeUnit,
                    double smallUnitMetres, const std::string& smallUnit);
  // The metric (km or m) and imperial (mi or ft) bars of a viewport of map.
  static Bar MetricBar(const Map& map, const MapViewport& viewport, double maxPixels);
  static Bar ImperialBar(const Map& map, const MapViewport& viewport, double maxPixels);

  // The scale bar and the attribution (none for an empty text); the bar
  // moves up when the two would overlap.
  static void Draw(QPainter& painter, const Map& map, const MapViewport& viewport, const std::string& attribution);
};

} // namespace tov
