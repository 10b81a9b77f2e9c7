#include "host/app/LonLatToMap.h"

#include "host/gis/OgrGeometrySource.h"
#include "platform/gis/Envelope.h"
#include "platform/gis/Map.h"
#include "platform/gis/SpatialReference.h"
#include "platform/gis/SpatialReferenceFactory.h"
#include "platform/runtime/HostError.h"
#include "platform/runtime/ObjectRegistry.h"
#include "platform/runtime/ProgIds.h"

#include <ogr_geometry.h>

namespace tov {

namespace {
const char kSource[] = "LonLatToMap";
// About 5 km: edges that long bend visibly under a conic projection.
constexpr double kDensifyDegrees = 0.05;

SpatialReferencePtr Wgs84() {
  return CreateAs<SpatialReferenceFactory>(kSpatialReferenceFactoryProgId)->CreateGeographicCoordinateSystem(4326);
}

SpatialReferencePtr MapSystem(const Map& map) {
  SpatialReferencePtr system = map.SpatialReference();
  if (!system)
    throw HostError(err::InvalidCall, kSource,
                    "The map has no coordinate system yet (no layer with data), so longitude and latitude cannot be "
                    "placed on it; give map coordinates instead");
  return system;
}
} // namespace

std::string LonLatRangeProblem(double west, double south, double east, double north) {
  for (double lon : {west, east})
    if (!(lon >= -180 && lon <= 180)) return "a longitude is from -180 to 180 degrees";
  for (double lat : {south, north})
    if (!(lat >= -90 && lat <= 90)) return "a latitude is from -90 to 90 degrees";
  return std::string();
}

EnvelopePtr LonLatExtentToMap(const Map& map, double west, double south, double east, double north) {
  const SpatialReferencePtr system = MapSystem(map);
  auto envelope = CreateAs<Envelope>(kEnvelopeProgId);
  envelope->PutCoords(west, south, east, north);
  envelope->SetSpatialReference(Wgs84());
  envelope->Project(system);
  return envelope;
}

void RequireExtentOnGlobe(const Map& map, const Envelope& extent) {
  const SpatialReferencePtr system = map.SpatialReference();
  if (!system || extent.IsEmpty()) return;
  auto copy = CreateAs<Envelope>(kEnvelopeProgId);
  copy->PutCoords(extent.XMin(), extent.YMin(), extent.XMax(), extent.YMax());
  copy->SetSpatialReference(system);
  try {
    copy->Project(Wgs84());
  } catch (const HostError&) {
    throw HostError(err::InvalidCall, kSource,
                    "No part of the extent lies on the globe in the map's coordinate system \"" + system->Name() +
                        "\", whose coordinates are " +
                        (system->IsGeographic() ? "longitude and latitude in degrees"
                                                : "projected (for the sample data set, metres in EPSG:5070)") +
                        "; --lonlat takes longitude and latitude");
  }
}

void LonLatGeometryToMap(OGRGeometry& geometry, const Map& map) {
  const SpatialReferencePtr system = MapSystem(map);
  geometry.segmentize(kDensifyDegrees);
  TransformOgr(geometry, Wgs84(), system);
}

} // namespace tov
