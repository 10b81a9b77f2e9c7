#include "host/gis/HostMultipartGeometry.h"

#include "host/gis/HostEnvelope.h"
#include "platform/gis/Polygon.h"
#include "platform/gis/Polyline.h"
#include "platform/runtime/HostError.h"

namespace tov {

template <class Interface, class Parts>
EnvelopePtr HostMultipartGeometry<Interface, Parts>::Envelope() const {
  auto env = std::make_shared<HostEnvelope>();
  env->SetSpatialReference(m_sr);
  if (!IsEmpty()) env->AssignOgr(m_geom);
  return env;
}

template <class Interface, class Parts>
void HostMultipartGeometry<Interface, Parts>::Project(const SpatialReferencePtr& sr) {
  RequireTargetSystem(sr, m_source);
  if (!IsEmpty()) TransformOgr(m_geom, m_sr, sr);
  m_sr = sr;
}

template <class Interface, class Parts>
void HostMultipartGeometry<Interface, Parts>::AddPoint(const PointPtr& point) {
  if (!point || point->IsEmpty())
    throw HostError(err::InvalidCall, m_source, "An empty point cannot be added to this shape");
  if (m_newPart || m_geom.getNumGeometries() == 0) {
    AppendPart();
    m_newPart = false;
  }
  LastPath()->addPoint(point->X(), point->Y());
  Edited();
}

template class HostMultipartGeometry<Polygon, OGRMultiPolygon>;
template class HostMultipartGeometry<Polyline, OGRMultiLineString>;

} // namespace tov
