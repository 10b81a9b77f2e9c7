#include "host/gis/HostSpatialReferenceFactory.h"

#include "host/gis/GisErrors.h"
#include "host/gis/HostSpatialReference.h"
#include "platform/runtime/ProgIds.h"
#include "platform/runtime/TextCase.h"

#include <cpl_conv.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>

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
// The installed PROJ (9.1) imports some malformed descriptions without
// complaint and then dereferences null when asked to transform between them
// and another system. What reaches the transformations is therefore what
// PROJ builds itself: the system of its EPSG code when the description is
// that system, or else the system of its PROJ definition under its name.
OGRSpatialReference Rebuilt(const OGRSpatialReference& sr) {
  const char* authority = sr.GetAuthorityName(nullptr);
  const char* code = sr.GetAuthorityCode(nullptr);
  if (authority && code) {
    // The system its identifier names. PROJ 9.1 crashes on a description
    // whose identifier names no system of its kind (EPSG:4387 on a
    // geographic one, say), so such a description goes no further.
    OGRSpatialReference registered;
    const std::string id = std::string(authority) + ":" + code;
    const bool plain = std::all_of(id.begin(), id.end(), [](unsigned char c) { return std::isalnum(c) || c == ':' || c == '_'; });
    ResetOgrError();
    const bool found = EqualsIgnoreCase(authority, "EPSG")
                           ? registered.importFromEPSG(std::atoi(code)) == OGRERR_NONE
                           : plain && registered.SetFromUserInput(id.c_str()) == OGRERR_NONE;
    ResetOgrError();
    if (!found || registered.IsGeographic() != sr.IsGeographic() || registered.IsProjected() != sr.IsProjected())
      throw HostError(gisErr::UnknownCoordSys, kSource,
                      "The coordinate system description carries the identifier " + id +
                          ", which names no coordinate system of its kind");
    const char* options[] = {"IGNORE_DATA_AXIS_TO_SRS_AXIS_MAPPING=YES", nullptr};
    if (registered.IsSame(&sr, options)) return registered;
  }
  char* definition = nullptr;
  ResetOgrError();
  const bool exported = sr.exportToProj4(&definition) == OGRERR_NONE && definition;
  const std::string text = exported ? definition : "";
  CPLFree(definition);
  OGRSpatialReference rebuilt;
  if (!exported || rebuilt.importFromProj4(text.c_str()) != OGRERR_NONE || !(rebuilt.IsGeographic() || rebuilt.IsProjected()))
    ThrowProjError(gisErr::UnknownCoordSys, kSource, "The coordinate system description cannot be used for a map");
  if (const char* name = sr.GetName(); name && rebuilt.IsProjected()) rebuilt.SetProjCS(name);
  ResetOgrError();
  return rebuilt;
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
  // A map's system is two-dimensional, geographic or projected.
  if (!(sr.IsGeographic() || sr.IsProjected()) || sr.IsCompound() || sr.GetAxesCount() != 2)
    throw HostError(gisErr::UnknownCoordSys, kSource,
                    "The coordinate system description is neither a two-dimensional geographic nor a projected "
                    "coordinate system");
  return std::make_shared<HostSpatialReference>(Rebuilt(sr));
}

} // namespace tov
