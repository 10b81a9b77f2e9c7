#pragma once
#include "host/gis/HostMultipartGeometry.h"
#include "host/gis/PolygonUnion.h"
#include "platform/gis/Polygon.h"

typedef struct GEOSContextHandle_HS* GEOSContextHandle_t;

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
  // The GEOS form of the polygon in the system `target` (its own when
  // none), made without a copy of its OGR form where it is already closed
  // and in that system.
  GEOSGeometry* ExportToGeos(GEOSContextHandle_t h, const SpatialReferencePtr& target) const;
  void AssignOgr(const OGRGeometry& geometry) override;
  // AssignOgr without a copy: the geometry's areas become the polygon's.
  void TakeOgr(std::unique_ptr<OGRGeometry> geometry);

protected:
  void AppendPart() override;
  OGRSimpleCurve* LastPath() override;
  void Edited() override { m_knownSimple = false; }

private:
  // Takes the parts of `parts` without copying them.
  void TakeParts(std::unique_ptr<OGRMultiPolygon> parts);

  bool m_knownSimple = false;
};

} // namespace tov
