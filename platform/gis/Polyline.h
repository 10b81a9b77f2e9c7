#pragma once
#include "platform/gis/Geometry.h"

namespace tov {

// ProgID "orvaCore.Polyline". One or more paths.
class Polyline : public Geometry {
public:
  // Appends to the last path (a first path is started when there is none).
  virtual void AddPoint(const PointPtr& point) = 0;
  // The next AddPoint starts a new path.
  virtual void StartNewPart() = 0;
  virtual long PartCount() const = 0;
  // Vertices of all paths, in order.
  virtual long PointCount() const = 0;
  virtual PointPtr Point(long index) const = 0;
  virtual double Length() const = 0;
  // No segment longer than maxSegmentLength afterwards.
  virtual void Densify(double maxSegmentLength, double maxDeviation) = 0;
  // Drops vertices within maxOffset of the simplified line.
  virtual void Generalize(double maxOffset) = 0;
};

using PolylinePtr = std::shared_ptr<Polyline>;

} // namespace tov
