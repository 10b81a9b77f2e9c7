#include "host/gis/HostSpatialReferenceFactory.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostSpatialReference.h"

namespace tov {

namespace {
const char kSource[] = "orvaCore.SpatialReferenceEnvironment";
}

SpatialReferencePtr HostSpatialReferenceFactory::CreateGeographicCoordinateSystem(long code) {
  OGRSpatialReference sr = HostSpatialReference::FromCode(code);
  if (!sr.IsGeographic())
    throw HostError(gisErr::UnknownCoordSys, kSource,
                    "The code " + std::to_string(code) + " is not a geographic coordinate system");
  return std::make_shared<HostSpatialReference>(sr);
}

SpatialReferencePtr HostSpatialReferenceFactory::CreateProjectedCoordinateSystem(long code) {
  OGRSpatialReference sr = HostSpatialReference::FromCode(code);
  if (!sr.IsProjected())
    throw HostError(gisErr::UnknownCoordSys, kSource,
                    "The code " + std::to_string(code) + " is not a projected coordinate system");
  return std::make_shared<HostSpatialReference>(sr);
}

SpatialReferencePtr HostSpatialReferenceFactory::CreateFromWkt(const std::string& wkt) {
  OGRSpatialReference sr;
  ResetOgrError();
  if (sr.importFromWkt(wkt.c_str()) != OGRERR_NONE)
    ThrowProjError(gisErr::UnknownCoordSys, kSource, "The coordinate system description cannot be read");
  return std::make_shared<HostSpatialReference>(sr);
}

} // namespace tov
