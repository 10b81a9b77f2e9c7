#pragma once
#include "platform/gis/GisConstants.h"
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// Base of every geometry. A geometry carries its spatial reference (possibly
// none) and its coordinates in it.
class Geometry : public virtual Object {
public:
  // geometryPoint, geometryPolyline, geometryPolygon or geometryEnvelope.
  virtual long GeometryType() const = 0;
  virtual bool IsEmpty() const = 0;
  virtual void SetEmpty() = 0;
  // A new envelope around the geometry (empty for an empty geometry).
  virtual EnvelopePtr Envelope() const = 0;
  virtual SpatialReferencePtr SpatialReference() const = 0;
  // Assigns the coordinate system without changing the coordinates.
  virtual void SetSpatialReference(const SpatialReferencePtr& sr) = 0;
  // Transforms the coordinates into sr and takes sr. A geometry without a
  // spatial reference only takes sr. A missing sr raises 91.
  virtual void Project(const SpatialReferencePtr& sr) = 0;
  // A deep copy.
  virtual GeometryPtr Copy() const = 0;
};

using GeometryPtr = std::shared_ptr<Geometry>;

} // namespace tov
