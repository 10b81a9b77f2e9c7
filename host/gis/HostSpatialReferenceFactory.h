#pragma once
#include "platform/gis/SpatialReferenceFactory.h"

namespace tov {

class HostSpatialReferenceFactory : public SpatialReferenceFactory {
public:
  SpatialReferencePtr CreateGeographicCoordinateSystem(long code) override;
  SpatialReferencePtr CreateProjectedCoordinateSystem(long code) override;
  // A map's system from its text: two-dimensional, geographic or projected,
  // rebuilt by PROJ from its EPSG code or its PROJ definition.
  SpatialReferencePtr CreateFromWkt(const std::string& wkt) override;
};

} // namespace tov
