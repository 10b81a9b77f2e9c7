#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

namespace tov {

// ProgID "orvaCore.GeometryDef". What a geometry field holds.
class GeometryDef : public virtual Object {
public:
  virtual long GeometryType() const = 0;
  virtual void SetGeometryType(long type) = 0;
  virtual long GridCount() const = 0;
  virtual void SetGridCount(long count) = 0;
  virtual double GridSize(long index) const = 0;
  virtual void SetGridSize(long index, double size) = 0;
  virtual long AvgNumPoints() const = 0;
  virtual void SetAvgNumPoints(long count) = 0;
  virtual bool HasM() const = 0;
  virtual void SetHasM(bool value) = 0;
  virtual bool HasZ() const = 0;
  virtual void SetHasZ(bool value) = 0;
  virtual SpatialReferencePtr SpatialReference() const = 0;
  virtual void SetSpatialReference(const SpatialReferencePtr& sr) = 0;
};

using GeometryDefPtr = std::shared_ptr<GeometryDef>;

} // namespace tov
