#pragma once
#include "platform/gis/GisConstants.h"
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <QColor>
#include <QPainterPath>
#include <QRectF>
#include <QSize>
#include <QTransform>

#include <map>
#include <memory>
#include <string>
#include <vector>

class QPainter;

namespace tov {

// Where a map extent lands on a device: the extent is fitted into the pixel
// size keeping its aspect and centred, y pointing up on the map.
struct MapViewport {
  MapViewport() = default;
  MapViewport(double xMin, double yMin, double xMax, double yMax, QSize size);

  QTransform MapToPixel() const { return m_toPixel; }
  QTransform PixelToMap() const { return m_toPixel.inverted(); }
  QPointF ToPixel(double x, double y) const { return m_toPixel.map(QPointF(x, y)); }
  QPointF ToMap(const QPointF& pixel) const { return m_toPixel.inverted().map(pixel); }
  // The map rectangle the whole device shows (wider or taller than asked).
  QRectF VisibleMapRect() const;
  // Map units per pixel.
  double Resolution() const { return m_resolution; }
  QSize Size() const { return m_size; }

private:
  QTransform m_toPixel;
  double m_resolution = 1;
  QSize m_size;
};

// Draws a map with QPainter on any paint device: feature layers through their
// simple renderers, group layers, the layers' selections, graphics and
// labels. Shapes are read once per feature class and kept in map
// coordinates, so redraws after a pan or zoom do not touch the data again.
class MapRenderer {
public:
  MapRenderer();
  ~MapRenderer();
  MapRenderer(const MapRenderer&) = delete;
  MapRenderer& operator=(const MapRenderer&) = delete;

  // Draws the phases asked for (DrawPhase flags) of map into the viewport.
  // Layers that cannot be read are skipped; Errors() says why.
  void Draw(QPainter& painter, const Map& map, const MapViewport& viewport, long phases = drawPhaseAll);
  // The scale denominator of a viewport of map (at 96 pixels per inch).
  static double ScaleOf(const Map& map, const MapViewport& viewport);

  // Forgets the shapes read so far (after data changed).
  void ClearCache();
  // Problems met during the last Draw, one line each.
  const std::vector<std::string>& Errors() const { return m_errors; }

  struct CachedFeature {
    long oid = 0;
    QRectF bounds;
    QPainterPath path;           // polygons and lines
    std::vector<QPointF> points; // points
    QPointF labelAt;
  };
  struct CachedClass {
    std::weak_ptr<Object> owner;
    SpatialReferencePtr mapSystem; // the system the shapes were projected into
    long shapeType = 0;
    long long featureCount = -1;
    std::vector<CachedFeature> features;
    // Label texts by expression, one per feature; read when first shown.
    std::map<std::string, std::vector<std::string>> labels;
    bool labelsPlaced = false; // polygon label points found
  };

private:
  // A layer whose labels are drawn after every layer's shapes.
  struct PendingLabels {
    const CachedClass* shapes;
    const std::vector<std::string>* labels;
    LabelClassPtr labelClass;
  };

  CachedClass* ShapesOf(const FeatureLayerPtr& layer, const Map& map);
  const std::vector<std::string>& LabelsOf(CachedClass& c, const FeatureLayerPtr& layer, const std::string& expression);
  void DrawLayer(QPainter& painter, const LayerPtr& layer, const Map& map, const MapViewport& viewport, double scale,
                 long phases, std::vector<PendingLabels>& labelled);
  void DrawLabels(QPainter& painter, const std::vector<PendingLabels>& layers, const MapViewport& viewport);
  void DrawGraphics(QPainter& painter, const Map& map, const MapViewport& viewport, long phases);

  std::map<const FeatureClass*, CachedClass> m_cache;
  std::vector<std::string> m_errors;
};

// The colour of an RgbColor with its transparency as alpha (black when null).
QColor ToQColor(const RgbColorPtr& color);
// Text for a feature from a label expression: each "[FIELD]" is replaced by
// the value of that field, other text is kept.
std::string ExpandLabelExpression(const std::string& expression,
                                  const std::map<std::string, std::string>& valuesByUpperName);

} // namespace tov
