#pragma once
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/Polygon.h"

#include <string>

namespace tov {

// Parts are held as an OGR multipolygon; GEOS (through OGR and its C API)
// does the topology.
class HostPolygon : public Polygon, public OgrGeometrySource {
public:
  HostPolygon() = default;
  HostPolygon(const HostPolygon& other);

  long GeometryType() const override { return geometryPolygon; }
  bool IsEmpty() const override;
  void SetEmpty() override;
  EnvelopePtr Envelope() const override;
  SpatialReferencePtr SpatialReference() const override { return m_sr; }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_sr = sr; }
  void Project(const SpatialReferencePtr& sr) override;
  GeometryPtr Copy() const override { return std::make_shared<HostPolygon>(*this); }

  void AddPoint(const PointPtr& point) override;
  void StartNewPart() override { m_newPart = true; }
  long PartCount() const override;
  long RingCount() const override;
  long PointCount() const override;
  PointPtr Point(long index) const override;
  double Area() const override;
  bool IsClosed() const override;
  bool IsKnownSimple() const override { return m_knownSimple; }
  void SetIsKnownSimple(bool value) override { m_knownSimple = value; }
  void Simplify() override;
  void Densify(double maxSegmentLength, double maxDeviation) override;
  void Generalize(double maxOffset) override;
  GeometryPtr Union(const GeometryPtr& other) const override;
  void ConstructUnion(const GeometryEnumeratorPtr& geometries) override;

  std::unique_ptr<OGRGeometry> ToOgr() const override;
  void AssignOgr(const OGRGeometry& geometry) override;

  // How the last ConstructUnion in this process was done: "coverage" or
  // "unary" (for diagnostics and tests).
  static std::string LastUnionMethod();

private:
  OGRMultiPolygon m_geom;
  bool m_newPart = true;
  bool m_knownSimple = false;
  SpatialReferencePtr m_sr;
};

} // namespace tov
