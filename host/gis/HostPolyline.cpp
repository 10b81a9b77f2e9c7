#include "host/gis/HostPolyline.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostPoint.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

namespace {
const char* const kSource = kPolylineProgId;
}

HostPolyline::HostPolyline() : HostMultipartGeometry(kSource) {}

HostPolyline::HostPolyline(const HostPolyline& other) : Object(), HostMultipartGeometry(other) {}

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
