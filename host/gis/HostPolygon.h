#pragma once
#include "host/gis/HostMultipartGeometry.h"
#include "host/gis/PolygonUnion.h"
#include "platform/gis/Polygon.h"

namespace tov {

// Parts are held as an OGR multipolygon; GEOS (through OGR and its C API)
// does the topology.
class HostPolygon : public HostMultipartGeometry<Polygon, OGRMultiPolygon> {
public:
  HostPolygon();
  HostPolygon(const HostPolygon& other);

  long GeometryType() const override { return geometryPolygon; }
  void SetEmpty() override;
  GeometryPtr Copy() const override { return std::make_shared<HostPolygon>(*this); }

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
  // ConstructUnion, telling how this union was computed.
  UnionMethod ConstructUnionReportingMethod(const GeometryEnumeratorPtr& geometries);

  std::unique_ptr<OGRGeometry> ToOgr() const override;
  void AssignOgr(const OGRGeometry& geometry) override;

protected:
  void AppendPart() override;
  OGRSimpleCurve* LastPath() override;
  void Edited() override { m_knownSimple = false; }

private:
  bool m_knownSimple = false;
};

} // namespace tov
