#pragma once
#include "platform/gis/Geometry.h"

namespace tov {

// ProgID "orvaCore.Polygon". One or more parts (outer rings with their holes).
class Polygon : public Geometry {
public:
  // Appends to the outer ring of the last part (a first part is started when
  // there is none). Rings need not be closed by hand: Simplify closes them.
  virtual void AddPoint(const PointPtr& point) = 0;
  // The next AddPoint starts a new part.
  virtual void StartNewPart() = 0;
  virtual long PartCount() const = 0;
  // Number of rings (outer and inner) over all parts.
  virtual long RingCount() const = 0;
  // Vertices of all rings, in order.
  virtual long PointCount() const = 0;
  virtual PointPtr Point(long index) const = 0;
  virtual double Area() const = 0;
  // True when every ring ends where it starts.
  virtual bool IsClosed() const = 0;

  // Whether the polygon is known to be topologically correct. Editing
  // clears it; Simplify sets it.
  virtual bool IsKnownSimple() const = 0;
  virtual void SetIsKnownSimple(bool value) = 0;
  // Topological repair: closes rings, resolves self-intersections, orients
  // rings, drops empty parts.
  virtual void Simplify() = 0;
  // No segment longer than maxSegmentLength afterwards (maxDeviation is
  // accepted for curves; these polygons have straight segments only).
  virtual void Densify(double maxSegmentLength, double maxDeviation) = 0;
  // Removes vertices that deviate less than maxOffset, keeping the topology.
  virtual void Generalize(double maxOffset) = 0;
  // A new polygon covering this one and other.
  virtual GeometryPtr Union(const GeometryPtr& other) const = 0;
  // Replaces this polygon by the union of every geometry of the enumerator.
  // Without a spatial reference of its own the polygon takes the one of the
  // enumerated geometries.
  virtual void ConstructUnion(const GeometryEnumeratorPtr& geometries) = 0;
};

using PolygonPtr = std::shared_ptr<Polygon>;

} // namespace tov
