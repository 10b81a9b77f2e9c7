#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <QPainterPath>
#include <QPointF>
#include <QRectF>

#include <map>
#include <memory>
#include <string>
#include <vector>

class OGRGeometry;

namespace tov {

// The shapes of feature classes in map coordinates, read once per feature
// class and map system, so that redraws after a pan or zoom do not touch the
// data again; beside them the label texts of each label expression.
class ShapeCache {
public:
  struct Feature {
    long oid = 0;
    QRectF bounds;
    QPainterPath path;           // polygons and lines
    std::vector<QPointF> points; // points
    QPointF labelAt;
  };
  struct Shapes {
    std::weak_ptr<Object> owner;
    SpatialReferencePtr mapSystem; // the system the shapes were projected into
    long shapeType = 0;
    long long featureCount = -1;
    unsigned long revision = 0; // the class's edits when read
    // Which reading of the cache this is: a class read again gets a new one.
    unsigned long generation = 0;
    std::vector<Feature> features;
    // Label texts by expression, one per feature; read when first shown.
    std::map<std::string, std::vector<std::string>> labels;
    bool labelsPlaced = false; // polygon label points found
  };

  // The shapes of the layer's feature class in the map's system, read again
  // when the class, the system or the feature count changed, or a feature
  // was written through the class; null when the layer has no feature class
  // of this host.
  Shapes* ShapesOf(const FeatureLayerPtr& layer, const Map& map);
  // The label texts of expression for the shapes (the first call also finds
  // a point inside each polygon to put its label on).
  const std::vector<std::string>& LabelsOf(Shapes& shapes, const FeatureLayerPtr& layer,
                                           const std::string& expression);
  void Clear() { m_classes.clear(); }

  // One geometry as a feature to draw (map coordinates unchanged).
  static Feature FeatureOf(const OGRGeometry* geometry);

private:
  std::map<const FeatureClass*, Shapes> m_classes;
  unsigned long m_readings = 0;
};

} // namespace tov
