#pragma once
#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/Point.h"

#include <ogr_geometry.h>

namespace tov {

// What polygons and polylines share: parts held as one OGR multi-geometry,
// the spatial reference, and building them point by point. `Interface` is
// the platform interface (Polygon or Polyline), `Parts` the OGR collection
// that holds its parts.
template <class Interface, class Parts>
class HostMultipartGeometry : public Interface, public OgrGeometrySource {
public:
  bool IsEmpty() const override { return this->PointCount() == 0; }
  EnvelopePtr Envelope() const override;
  SpatialReferencePtr SpatialReference() const override { return m_sr; }
  void SetSpatialReference(const SpatialReferencePtr& sr) override { m_sr = sr; }
  // Without a target system there is nothing to project into: raises 91.
  void Project(const SpatialReferencePtr& sr) override;

  void AddPoint(const PointPtr& point) override;
  void StartNewPart() override { m_newPart = true; }
  long PartCount() const override { return m_geom.getNumGeometries(); }

protected:
  explicit HostMultipartGeometry(const char* source) : m_source(source) {}
  HostMultipartGeometry(const HostMultipartGeometry& other)
      : Object(), Interface(), OgrGeometrySource(), m_geom(other.m_geom), m_newPart(other.m_newPart),
        m_sr(other.m_sr), m_source(other.m_source) {}
  HostMultipartGeometry& operator=(const HostMultipartGeometry&) = delete;

  // Appends a new, empty part to m_geom.
  virtual void AppendPart() = 0;
  // The path that AddPoint extends: the last part's line or outer ring.
  virtual OGRSimpleCurve* LastPath() = 0;
  // Called after the coordinates changed through this class.
  virtual void Edited() {}

  Parts m_geom;
  bool m_newPart = true;
  SpatialReferencePtr m_sr;
  const char* m_source; // error source: the ProgID of the class
};

} // namespace tov
