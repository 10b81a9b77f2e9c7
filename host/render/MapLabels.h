#pragma once
#include "host/render/MapViewport.h"
#include "host/render/ShapeCache.h"
#include "platform/gis/GisForward.h"

#include <QColor>
#include <QPainterPath>

#include <map>
#include <string>
#include <vector>

class QPainter;

namespace tov {

// The labels of one drawing: each labelled layer queues its texts while the
// shapes are drawn, and all are drawn on top at the end, each centred on its
// feature's label point, leaving out any label that would overlap one drawn
// already, reach past the picture's edge or, for a polygon, stick out of it.
class MapLabels {
public:
  // The label class in force at scale (the first one whose range holds it),
  // or null when the layer shows no labels there.
  static LabelClassPtr LabelClassAt(const FeatureLayerPtr& layer, double scale);

  // Queues the labels (one per feature of shapes) of one layer.
  void Add(const ShapeCache::Shapes& shapes, const std::vector<std::string>& labels, LabelClassPtr labelClass);
  bool Empty() const { return m_layers.empty(); }
  void Draw(QPainter& painter, const MapViewport& viewport) const;

  // One label placed: its text as a path in pixels, and its colour.
  struct Placed {
    QPainterPath text;
    QColor colour;
  };
  // What the placement depends on: the viewport, and for each queued layer
  // its shapes' reading, its texts and its text symbol. Equal keys place
  // equal labels, so a redraw of an unchanged view (after a selection, say)
  // can keep the placement it found before.
  struct Key {
    std::vector<double> numbers;
    std::vector<const void*> sources;
    std::vector<std::string> fonts;
    bool operator==(const Key& other) const {
      return numbers == other.numbers && sources == other.sources && fonts == other.fonts;
    }
  };
  Key KeyOf(const MapViewport& viewport) const;
  // Where the queued labels go, in drawing order.
  std::vector<Placed> Place(const MapViewport& viewport) const;
  // Draws placed labels, each over a light halo.
  static void Paint(QPainter& painter, const std::vector<Placed>& placed);
  // True when a label box (pixels) may be drawn for the feature: inside the
  // picture and, for a polygon, inside the polygon.
  static bool Fits(const QRectF& box, const ShapeCache::Feature& feature, long shapeType, const MapViewport& viewport);

private:
  struct Layer {
    const ShapeCache::Shapes* shapes;
    const std::vector<std::string>* labels;
    LabelClassPtr labelClass;
  };
  std::vector<Layer> m_layers;
};

// Text for a feature from a label expression: each "[FIELD]" is replaced by
// the value of that field, other text is kept.
std::string ExpandLabelExpression(const std::string& expression,
                                  const std::map<std::string, std::string>& valuesByUpperName);
// The field names an expression uses, in order.
std::vector<std::string> LabelExpressionFields(const std::string& expression);

} // namespace tov
