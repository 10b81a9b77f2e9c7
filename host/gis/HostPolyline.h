#pragma once
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/Polyline.h"

namespace tov {

class HostPolyline : public Polyline, public OgrGeometrySource {
public:
  HostPolyline() = default;
  HostPolyline(const HostPolyline& other);

  long GeometryType() const override { return geometryPolyline; }
  bool IsEmpty() const override { return PointCount() == 0; }
  void SetEmpty() override { m_geom.empty(); m_newPart = true; }
  EnvelopePtr Envelope() const override;
  SpatialReferencePtr SpatialReference() const override { return m_sr; }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_sr = sr; }
  void Project(const SpatialReferencePtr& sr) override;
  GeometryPtr Copy() const override { return std::make_shared<HostPolyline>(*this); }

  void AddPoint(const PointPtr& point) override;
  void StartNewPart() override { m_newPart = true; }
  long PartCount() const override { return m_geom.getNumGeometries(); }
  long PointCount() const override;
  PointPtr Point(long index) const override;
  double Length() const override { return m_geom.get_Length(); }
  void Densify(double maxSegmentLength, double maxDeviation) override;
  void Generalize(double maxOffset) override;

  std::unique_ptr<OGRGeometry> ToOgr() const override;
  void AssignOgr(const OGRGeometry& geometry) override;

private:
  OGRMultiLineString m_geom;
  bool m_newPart = true;
  SpatialReferencePtr m_sr;
};

} // namespace tov
