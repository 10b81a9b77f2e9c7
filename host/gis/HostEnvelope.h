#pragma once
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/Envelope.h"

namespace tov {

class HostEnvelope : public tov::Envelope, public OgrGeometrySource {
public:
  long GeometryType() const override { return geometryEnvelope; }
  bool IsEmpty() const override { return m_empty; }
  void SetEmpty() override { m_empty = true; m_xMin = m_yMin = m_xMax = m_yMax = 0; }
  EnvelopePtr Envelope() const override { return std::make_shared<HostEnvelope>(*this); }
  SpatialReferencePtr SpatialReference() const override { return m_sr; }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_sr = sr; }
  void Project(const SpatialReferencePtr& sr) override;
  GeometryPtr Copy() const override { return std::make_shared<HostEnvelope>(*this); }

  double XMin() const override { return m_xMin; }
  double YMin() const override { return m_yMin; }
  double XMax() const override { return m_xMax; }
  double YMax() const override { return m_yMax; }
  void SetXMin(double v) override { m_xMin = v; m_empty = false; }
  void SetYMin(double v) override { m_yMin = v; m_empty = false; }
  void SetXMax(double v) override { m_xMax = v; m_empty = false; }
  void SetYMax(double v) override { m_yMax = v; m_empty = false; }
  double Width() const override { return m_empty ? 0 : m_xMax - m_xMin; }
  double Height() const override { return m_empty ? 0 : m_yMax - m_yMin; }
  void PutCoords(double xMin, double yMin, double xMax, double yMax) override;
  void Expand(double dx, double dy, bool asRatio) override;
  void Union(const EnvelopePtr& other) override;

  std::unique_ptr<OGRGeometry> ToOgr() const override;
  void AssignOgr(const OGRGeometry& geometry) override;

private:
  double m_xMin = 0, m_yMin = 0, m_xMax = 0, m_yMax = 0;
  bool m_empty = true;
  SpatialReferencePtr m_sr;
};

} // namespace tov
