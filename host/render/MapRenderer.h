#pragma once
#include "host/render/MapLabels.h"
#include "host/render/MapViewport.h"
#include "host/render/ShapeCache.h"
#include "host/render/SymbolStyle.h"
#include "platform/gis/GisConstants.h"
#include "platform/gis/GisForward.h"

#include <string>
#include <vector>

class QPainter;

namespace tov {

// Draws a map with QPainter on any paint device: feature layers through their
// simple renderers, group layers, the layers' selections, graphics and
// labels. Shapes come from a cache kept across drawings (ShapeCache).
class MapRenderer {
public:
  MapRenderer() = default;
  MapRenderer(const MapRenderer&) = delete;
  MapRenderer& operator=(const MapRenderer&) = delete;

  // Draws the phases asked for (DrawPhase flags) of map into the viewport.
  // Layers that cannot be read are skipped, the others drawn; Undrawn() and
  // Errors() say which and why.
  void Draw(QPainter& painter, const Map& map, const MapViewport& viewport, long phases = drawPhaseAll);
  // The scale denominator of a viewport of map (at 96 pixels per inch).
  static double ScaleOf(const Map& map, const MapViewport& viewport);

  // Forgets the shapes read so far (after data changed).
  void ClearCache() {
    m_shapes.Clear();
    m_labelsPlaced = false;
  }
  // Problems met during the last Draw, one line each ("LAYER: why").
  const std::vector<std::string>& Errors() const { return m_errors; }
  // The visible layers the last Draw could not draw, by name.
  const std::vector<std::string>& Undrawn() const { return m_undrawn; }

private:
  void DrawLayer(QPainter& painter, const LayerPtr& layer, const Map& map, const MapViewport& viewport, double scale,
                 long phases, MapLabels& labels);
  void DrawGraphics(QPainter& painter, const Map& map, const MapViewport& viewport, long phases);

  ShapeCache m_shapes;
  // The labels of the last drawing and what placed them: finding where
  // thousands of labels go is much of a drawing, and a redraw of the same
  // view (a selection changed) places them the same way.
  bool m_labelsPlaced = false;
  MapLabels::Key m_labelKey;
  std::vector<MapLabels::Placed> m_placedLabels;
  std::vector<std::string> m_errors;
  std::vector<std::string> m_undrawn;
};

} // namespace tov
