#pragma once
#include "platform/gis/GisForward.h"
#include "platform/runtime/Object.h"

#include <string>

namespace tov {

// Makes coordinate systems from catalogue codes (ProgID
// "orvaCore.SpatialReferenceEnvironment"). An unknown code, or a projected
// code given as geographic (and the reverse), raises an error.
class SpatialReferenceFactory : public virtual Object {
public:
  virtual SpatialReferencePtr CreateGeographicCoordinateSystem(long code) = 0;
  virtual SpatialReferencePtr CreateProjectedCoordinateSystem(long code) = 0;
  // Either kind, from well-known text.
  virtual SpatialReferencePtr CreateFromWkt(const std::string& wkt) = 0;
};

using SpatialReferenceFactoryPtr = std::shared_ptr<SpatialReferenceFactory>;

} // namespace tov
