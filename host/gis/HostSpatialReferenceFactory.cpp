#include "host/gis/HostSpatialReferenceFactory.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostSpatialReference.h"
#include "platform/runtime/ProgIds.h"

namespace tov {

namespace {
const char* const kSource = kSpatialReferenceFactoryProgId;

// A code of the other kind must not be made into a system the caller did
// not ask for; a compound system (with heights) is neither kind.
[[noreturn]] void WrongKind(long code, const char* wanted) {
  throw HostError(gisErr::UnknownCoordSys, kSource,
                  "The code " + std::to_string(code) + " is not a " + wanted +
                      " coordinate system. Check the code in the data set's projection settings");
}
} // namespace

SpatialReferencePtr HostSpatialReferenceFactory::CreateGeographicCoordinateSystem(long code) {
  OGRSpatialReference sr = HostSpatialReference::FromCode(code);
  if (!sr.IsGeographic() || sr.IsCompound()) WrongKind(code, "geographic");
  return std::make_shared<HostSpatialReference>(sr);
}

SpatialReferencePtr HostSpatialReferenceFactory::CreateProjectedCoordinateSystem(long code) {
  OGRSpatialReference sr = HostSpatialReference::FromCode(code);
  if (!sr.IsProjected() || sr.IsCompound()) WrongKind(code, "projected");
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
