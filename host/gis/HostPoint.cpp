#include "host/gis/HostPoint.h"

#include "host/gis/HostEnvelope.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

EnvelopePtr HostPoint::Envelope() const {
  auto env = std::make_shared<HostEnvelope>();
  env->SetSpatialReference(m_sr);
  if (!m_empty) env->PutCoords(m_x, m_y, m_x, m_y);
  return env;
}

void HostPoint::Project(const SpatialReferencePtr& sr) {
  RequireTargetSystem(sr, kPointProgId);
  if (!m_empty && m_sr) {
    OGRPoint p(m_x, m_y);
    TransformOgr(p, m_sr, sr);
    m_x = p.getX();
    m_y = p.getY();
  }
  m_sr = sr;
}

std::unique_ptr<OGRGeometry> HostPoint::ToOgr() const {
  if (m_empty) return nullptr;
  return std::make_unique<OGRPoint>(m_x, m_y);
}

void HostPoint::AssignOgr(const OGRGeometry& geometry) {
  if (geometry.IsEmpty()) {
    m_empty = true;
    return;
  }
  OGRPoint centre;
  if (wkbFlatten(geometry.getGeometryType()) == wkbPoint) {
    centre = *geometry.toPoint();
  } else {
    OGREnvelope e;
    geometry.getEnvelope(&e);
    centre.setX((e.MinX + e.MaxX) / 2);
    centre.setY((e.MinY + e.MaxY) / 2);
  }
  PutCoords(centre.getX(), centre.getY());
}

} // namespace tov
