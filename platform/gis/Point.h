#pragma once
#include "platform/gis/Geometry.h"

namespace tov {

// ProgID "orvaCore.Point". A new point is empty until it gets coordinates.
class Point : public Geometry {
public:
  virtual double X() const = 0;
  virtual double Y() const = 0;
  virtual void SetX(double x) = 0;
  virtual void SetY(double y) = 0;
  virtual void PutCoords(double x, double y) = 0;
};

using PointPtr = std::shared_ptr<Point>;

} // namespace tov
