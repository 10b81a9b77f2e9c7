#pragma once
#include "host/gis/HostMultipartGeometry.h"
#include "platform/gis/Polyline.h"

namespace tov {

class HostPolyline : public HostMultipartGeometry<Polyline, OGRMultiLineString> {
public:
  HostPolyline();
  HostPolyline(const HostPolyline& other);

  long GeometryType() const override { return geometryPolyline; }
  void SetEmpty() override { m_geom.empty(); m_newPart = true; }
  GeometryPtr Copy() const override { return std::make_shared<HostPolyline>(*this); }

  long PointCount() const override;
  PointPtr Point(long index) const override;
  double Length() const override { return m_geom.get_Length(); }
  void Densify(double maxSegmentLength, double maxDeviation) override;
  void Generalize(double maxOffset) override;

  std::unique_ptr<OGRGeometry> ToOgr() const override;
  void AssignOgr(const OGRGeometry& geometry) override;

protected:
  void AppendPart() override { m_geom.addGeometryDirectly(new OGRLineString()); }
  OGRSimpleCurve* LastPath() override { return m_geom.getGeometryRef(m_geom.getNumGeometries() - 1); }
};

} // namespace tov
