#pragma once
// The options of `tovana setup METHOD` that are more than a text: read when
// the command line is parsed, so that a bad one is a usage error (a
// CLI::ValidationError naming the option) before anything runs.
#include "platform/gis/Envelope.h"

#include <memory>
#include <string>
#include <vector>

class OGRGeometry;

namespace tov {

// Said by every option that takes map coordinates.
inline constexpr char kMapCoordinates[] =
    "in the map's coordinate system (metres in EPSG:5070 for the sample data set USA), or in longitude and "
    "latitude (degrees) with --lonlat";
inline constexpr char kLonLatHelp[] =
    "Coordinates are longitude and latitude in degrees (WGS 84), put into the map's system";

EnvelopePtr MakeEnvelope(double xMin, double yMin, double xMax, double yMax);

// "XMIN,YMIN,XMAX,YMAX" in map coordinates (or WEST,SOUTH,EAST,NORTH).
EnvelopePtr ParseExtent(const std::string& text, bool lonLat);

// A number option as the user wrote it.
double NumberOption(const std::string& option, const std::string& text);

// "LON,LAT" or "LONMIN,LATMIN,LONMAX,LATMAX": count numbers separated by
// commas, each a longitude or a latitude in turn.
std::vector<double> LonLatNumbers(const std::string& text, size_t count, const char* option);

// --select "LAYER:WHERE" (the where clause may hold colons itself).
struct LayerSelection {
  std::string layer;
  std::string where;
};
LayerSelection ParseSelection(const std::string& text);

// --graphic: a WKT polygon in map coordinates (or longitude and latitude).
std::shared_ptr<OGRGeometry> ParseGraphic(const std::string& wkt, bool lonLat);

} // namespace tov
