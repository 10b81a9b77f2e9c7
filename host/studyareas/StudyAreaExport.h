#pragma once
#include "host/framework/Analysis.h"

#include <string>

namespace tov {

// Writes the study area's polygon, with its name, method, main layer and
// features list as attributes, to a new file that other programs read. The
// format follows the file's extension: .geojson/.json (GeoJSON), .gpkg
// (GeoPackage), .shp (shapefile), .kml (KML) and .fgb (FlatGeobuf). Each
// is written in its format's usual coordinate system unless epsgCode names
// another: GeoJSON as RFC 7946 (WGS 84 longitude and latitude, no "crs"
// member; with another system, the older form that names it in "crs"), KML
// always in WGS 84 (another system is refused), the others in the study
// area's own system. An existing file is refused rather than overwritten.
// Failures raise HostError with a sentence for the user; nothing
// half-written is left.
void ExportStudyArea(const Analysis& analysis, const std::string& name, const std::string& nativeOutPath,
                     long epsgCode = 0);

// The same, replacing an existing file (all the files of a shapefile): the
// export is written beside it first, so that a failure leaves the old file
// as it was.
void ExportStudyAreaReplacing(const Analysis& analysis, const std::string& name, const std::string& nativeOutPath);

// The format name for a path's extension, or "" when it is not one of the
// formats above.
std::string ExportFormatForPath(const std::string& nativePath);

// Why the file's format cannot be written in that system ("" when it can;
// 0 is the format's own choice).
std::string ExportSystemRefusal(const std::string& nativePath, long epsgCode);

} // namespace tov
