#pragma once
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/Point.h"

namespace tov {

class HostPoint : public Point, public OgrGeometrySource {
public:
  HostPoint() = default;
  HostPoint(double x, double y, SpatialReferencePtr sr) : m_x(x), m_y(y), m_empty(false), m_sr(std::move(sr)) {}

  long GeometryType() const override { return geometryPoint; }
  bool IsEmpty() const override { return m_empty; }
  void SetEmpty() override { m_empty = true; }
  EnvelopePtr Envelope() const override;
  SpatialReferencePtr SpatialReference() const override { return m_sr; }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_sr = sr; }
  void Project(const SpatialReferencePtr& sr) override;
  GeometryPtr Copy() const override { return std::make_shared<HostPoint>(*this); }

  double X() const override { return m_x; }
  double Y() const override { return m_y; }
  void SetX(double x) override { m_x = x; m_empty = false; }
  void SetY(double y) override { m_y = y; m_empty = false; }
  void PutCoords(double x, double y) override { m_x = x; m_y = y; m_empty = false; }

  std::unique_ptr<OGRGeometry> ToOgr() const override;
  void AssignOgr(const OGRGeometry& geometry) override;

private:
  double m_x = 0, m_y = 0;
  bool m_empty = true;
  SpatialReferencePtr m_sr;
};

} // namespace tov
