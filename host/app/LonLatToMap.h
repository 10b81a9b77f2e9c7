#pragma once
// Longitude and latitude given on the command line, put into a map's
// coordinate system: map coordinates are what the map's tools take, and for
// a projected map (metres in EPSG:5070 for the sample data set) a user
// rarely knows them.
#include "platform/gis/GisForward.h"

#include <string>

class OGRGeometry;

namespace tov {

// What is wrong with a longitude and latitude rectangle, or "" when it
// lies within -180 to 180 and -90 to 90 degrees.
std::string LonLatRangeProblem(double west, double south, double east, double north);

// The smallest rectangle of the map's system that holds the rectangle of
// longitudes and latitudes (degrees, WGS 84): its edges bend under most
// projections. Raises HostError when the map has no system yet or the
// rectangle lies where the map's system is not defined.
EnvelopePtr LonLatExtentToMap(const Map& map, double west, double south, double east, double north);

// Raises HostError when no part of extent (map coordinates) has a place on
// the globe in the map's system: numbers far outside the map's range, such
// as degrees on a map in metres the other way round or metres on a map in
// degrees. A map without a system takes any extent.
void RequireExtentOnGlobe(const Map& map, const Envelope& extent);

// Transforms geometry, given in longitude and latitude (degrees, WGS 84),
// into the map's system. Its edges are densified first, so that they keep
// following the lines they follow in degrees. Raises HostError as above.
void LonLatGeometryToMap(OGRGeometry& geometry, const Map& map);

} // namespace tov
