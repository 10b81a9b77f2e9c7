#pragma once
#include "platform/gis/SpatialReferenceFactory.h"

namespace tov {

class HostSpatialReferenceFactory : public SpatialReferenceFactory {
public:
  SpatialReferencePtr CreateGeographicCoordinateSystem(long code) override;
  SpatialReferencePtr CreateProjectedCoordinateSystem(long code) override;
  SpatialReferencePtr CreateFromWkt(const std::string& wkt) override;
};

} // namespace tov
