#pragma once
#include "platform/gis/SpatialReference.h"

#include <nlohmann/json.hpp>

#include <string>
#include <utility>
#include <vector>

namespace tov {

// A shape that `tovana setup draw` draws on the drawing page, as the user
// gave it.
class DrawnShape {
public:
  enum class Kind { Rectangle, Polygon, Circle };

  // "XMIN,YMIN,XMAX,YMAX", "X Y, X Y, X Y, ..." and "X,Y,R". Text that is
  // not such a shape raises std::invalid_argument saying why.
  static DrawnShape Rectangle(const std::string& text);
  static DrawnShape Polygon(const std::string& text);
  static DrawnShape Circle(const std::string& text);

  // Why no study area can be drawn from the shape ("" when one can): a
  // polygon of fewer than three distinct points, a polygon whose ring
  // crosses or touches itself (the method stores a shape as drawn and
  // repairs nothing), a circle whose radius is not above 0.
  std::string Refusal() const;
  // Why the shape is no longitude and latitude ("" when it is).
  std::string LonLatRefusal() const;

  // The shape given in longitude and latitude (WGS 84, a circle's radius in
  // metres) in the units of a map in sr. The radius becomes the distance on
  // the map from the centre to the point that many metres north of it.
  DrawnShape InMapUnits(const SpatialReferencePtr& sr) const;

  // The drawing page's turn: the shape's tool, the mouse down on the map
  // that draws the shape, Next.
  nlohmann::json PageTurn() const;

  Kind kind = Kind::Rectangle;
  // Rectangle: its two corners; polygon: its vertices; circle: its centre.
  std::vector<std::pair<double, double>> points;
  double radius = 0;
};

} // namespace tov
