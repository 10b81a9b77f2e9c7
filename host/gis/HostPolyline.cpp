#include "host/gis/HostPolyline.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostEnvelope.h"
#include "host/gis/HostPoint.h"

namespace tov {

namespace {
const char kSource[] = "orvaCore.Polyline";
}

HostPolyline::HostPolyline(const HostPolyline& other)
    : Object(), Polyline(), OgrGeometrySource(), m_geom(other.m_geom), m_newPart(other.m_newPart), m_sr(other.m_sr) {}

EnvelopePtr HostPolyline::Envelope() const {
  auto env = std::make_shared<HostEnvelope>();
  env->SetSpatialReference(m_sr);
  if (!IsEmpty()) env->AssignOgr(m_geom);
  return env;
}

void HostPolyline::Project(const SpatialReferencePtr& sr) {
  if (!IsEmpty()) TransformOgr(m_geom, m_sr, sr);
  m_sr = sr;
}

void HostPolyline::AddPoint(const PointPtr& point) {
  if (!point || point->IsEmpty())
    throw HostError(err::InvalidCall, kSource, "An empty point cannot be added to a line");
  if (m_newPart || m_geom.getNumGeometries() == 0) {
    m_geom.addGeometryDirectly(new OGRLineString());
    m_newPart = false;
  }
  m_geom.getGeometryRef(m_geom.getNumGeometries() - 1)->addPoint(point->X(), point->Y());
}

long HostPolyline::PointCount() const {
  long n = 0;
  for (const auto* line : m_geom) n += line->getNumPoints();
  return n;
}

PointPtr HostPolyline::Point(long index) const {
  long i = index;
  if (i >= 0)
    for (const auto* line : m_geom) {
      if (i < line->getNumPoints()) return std::make_shared<HostPoint>(line->getX(i), line->getY(i), m_sr);
      i -= line->getNumPoints();
    }
  throw HostError(err::SubscriptOutOfRange, kSource, "The line has no point number " + std::to_string(index));
}

void HostPolyline::Densify(double maxSegmentLength, double) {
  if (!(maxSegmentLength > 0))
    throw HostError(err::InvalidCall, kSource, "The maximum segment length for densifying must be greater than 0");
  m_geom.segmentize(maxSegmentLength);
}

void HostPolyline::Generalize(double maxOffset) {
  if (IsEmpty() || !(maxOffset > 0)) return;
  ResetOgrError();
  std::unique_ptr<OGRGeometry> g(m_geom.SimplifyPreserveTopology(maxOffset));
  if (!g) ThrowOgrError(gisErr::GeometryFailed, kSource, "The line cannot be generalised");
  AssignOgr(*g);
}

std::unique_ptr<OGRGeometry> HostPolyline::ToOgr() const {
  if (m_geom.getNumGeometries() == 1) return std::unique_ptr<OGRGeometry>(m_geom.getGeometryRef(0)->clone());
  return std::unique_ptr<OGRGeometry>(m_geom.clone());
}

void HostPolyline::AssignOgr(const OGRGeometry& geometry) {
  m_geom.empty();
  m_newPart = true;
  const OGRwkbGeometryType t = wkbFlatten(geometry.getGeometryType());
  if (t == wkbLineString) {
    m_geom.addGeometry(&geometry);
  } else if (t == wkbMultiLineString || t == wkbGeometryCollection) {
    for (const auto* part : *geometry.toGeometryCollection())
      if (wkbFlatten(part->getGeometryType()) == wkbLineString) m_geom.addGeometry(part);
  } else if (t == wkbPolygon || t == wkbMultiPolygon) {
    std::unique_ptr<OGRGeometry> boundary(geometry.Boundary());
    if (boundary) AssignOgr(*boundary);
  } else {
    throw HostError(err::TypeMismatch, kSource, "This shape cannot be held by a line");
  }
}

} // namespace tov
