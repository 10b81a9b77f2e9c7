#include "host/gis/HostEnvelope.h"

#include "host/gis/GisErrors.h"
#include "platform/gis/SpatialReference.h"
#include "platform/runtime/ProgIds.h"

#include <ogr_spatialref.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace tov {

void HostEnvelope::PutCoords(double xMin, double yMin, double xMax, double yMax) {
  m_xMin = std::min(xMin, xMax);
  m_xMax = std::max(xMin, xMax);
  m_yMin = std::min(yMin, yMax);
  m_yMax = std::max(yMin, yMax);
  m_empty = false;
}

void HostEnvelope::Expand(double dx, double dy, bool asRatio) {
  if (m_empty) return;
  if (asRatio) {
    const double cx = (m_xMin + m_xMax) / 2, cy = (m_yMin + m_yMax) / 2;
    const double hw = Width() * dx / 2, hh = Height() * dy / 2;
    PutCoords(cx - hw, cy - hh, cx + hw, cy + hh);
  } else {
    PutCoords(m_xMin - dx, m_yMin - dy, m_xMax + dx, m_yMax + dy);
  }
}

void HostEnvelope::Union(const EnvelopePtr& other) {
  if (!other || other->IsEmpty()) return;
  auto copy = std::dynamic_pointer_cast<tov::Envelope>(other->Copy());
  if (m_sr && copy->SpatialReference()) copy->Project(m_sr);
  if (m_empty) {
    PutCoords(copy->XMin(), copy->YMin(), copy->XMax(), copy->YMax());
    if (!m_sr) m_sr = copy->SpatialReference();
    return;
  }
  PutCoords(std::min(m_xMin, copy->XMin()), std::min(m_yMin, copy->YMin()), std::max(m_xMax, copy->XMax()),
            std::max(m_yMax, copy->YMax()));
}

void HostEnvelope::Project(const SpatialReferencePtr& sr) {
  RequireTargetSystem(sr, kEnvelopeProgId);
  if (!m_empty && m_sr && !SameSystem(m_sr, sr)) {
    // Edges bend under most projections: transform a grid of points over
    // the envelope and take the extent of those that land. A view enlarged around a
    // large study area reaches past where the target system is defined, and
    // that must not make the whole extent fail.
    auto ct = TransformationBetween(m_sr, sr, kEnvelopeProgId);
    constexpr int kSteps = 20;
    std::vector<double> xs, ys;
    for (int i = 0; i <= kSteps; ++i) {
      for (int j = 0; j <= kSteps; ++j) {
        xs.push_back(m_xMin + (m_xMax - m_xMin) * i / kSteps);
        ys.push_back(m_yMin + (m_yMax - m_yMin) * j / kSteps);
      }
    }
    std::vector<int> ok(xs.size(), FALSE);
    ct->Transform(static_cast<int>(xs.size()), xs.data(), ys.data(), nullptr, ok.data());
    ResetOgrError();
    OGREnvelope landed;
    for (size_t k = 0; k < xs.size(); ++k)
      if (ok[k] && std::isfinite(xs[k]) && std::isfinite(ys[k])) landed.Merge(xs[k], ys[k]);
    if (!landed.IsInit())
      ThrowProjError(gisErr::ProjectionFailed, kEnvelopeProgId,
                     "The extent lies outside the area where \"" + sr->Name() + "\" can be used");
    PutCoords(landed.MinX, landed.MinY, landed.MaxX, landed.MaxY);
  }
  m_sr = sr;
}

std::unique_ptr<OGRGeometry> HostEnvelope::ToOgr() const {
  if (m_empty) return nullptr;
  auto ring = new OGRLinearRing();
  ring->addPoint(m_xMin, m_yMin);
  ring->addPoint(m_xMin, m_yMax);
  ring->addPoint(m_xMax, m_yMax);
  ring->addPoint(m_xMax, m_yMin);
  ring->addPoint(m_xMin, m_yMin);
  auto poly = std::make_unique<OGRPolygon>();
  poly->addRingDirectly(ring);
  return poly;
}

void HostEnvelope::AssignOgr(const OGRGeometry& geometry) {
  if (geometry.IsEmpty()) {
    SetEmpty();
    return;
  }
  OGREnvelope e;
  geometry.getEnvelope(&e);
  PutCoords(e.MinX, e.MinY, e.MaxX, e.MaxY);
}

} // namespace tov
