#pragma once
#include "platform/gis/GisForward.h"

#include <string>
#include <vector>

namespace tov {

class MapCanvas;

// The map's scale as a user reads it on the window (1:N, at 96 pixels per
// inch), and which layers it draws at that scale.

// The scale denominator the canvas shows its map at (0 before it has an
// extent).
double CanvasScale(const MapCanvas& canvas);
// Shows the map at 1:denominator around the centre it shows now. False,
// changing nothing, for a denominator that is not a positive number.
bool SetCanvasScale(MapCanvas& canvas, double denominator);
// "1:24,000", "24000", "1 : 24 000" -> 24000; 0 for text that is no scale.
double ParseScale(const std::string& text);
// 24000 -> "24,000".
std::string FormatScale(double denominator);

// Whether the map draws the layer at this scale: it and every group it is in
// are visible, and the scale lies in its range.
bool DrawnAtScale(const Map& map, const LayerPtr& layer, double scale);
// The feature layers the map draws at this scale, topmost first.
std::vector<FeatureLayerPtr> FeatureLayersDrawnAt(const Map& map, double scale);

// While it lives, only the feature layers the map draws at the scale can be
// selected; the layers' own settings come back when it ends.
class SelectableAtScale {
public:
  SelectableAtScale(const Map& map, double scale);
  ~SelectableAtScale();
  SelectableAtScale(const SelectableAtScale&) = delete;
  SelectableAtScale& operator=(const SelectableAtScale&) = delete;
  // Empties the selections of the layers it made unselectable.
  void ClearPassedOver();

private:
  std::vector<FeatureLayerPtr> m_switchedOff;
};

} // namespace tov
