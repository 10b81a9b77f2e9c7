#pragma once
#include "host/framework/Analysis.h"

#include <string>

namespace tov {

// Writes the study area's polygon, with its name, method, main layer and
// features list as attributes, to a new file that other programs read. The
// format follows the file's extension: .geojson/.json (GeoJSON), .gpkg
// (GeoPackage), .shp (shapefile), .kml (KML, always in WGS 84) and .fgb
// (FlatGeobuf). epsgCode 0 keeps the study area's own coordinate system.
// An existing file is refused rather than overwritten. Failures raise
// HostError with a sentence for the user; nothing half-written is left.
void ExportStudyArea(const Analysis& analysis, const std::string& name, const std::string& nativeOutPath,
                     long epsgCode = 0);

// The format name for a path's extension, or "" when it is not one of the
// formats above.
std::string ExportFormatForPath(const std::string& nativePath);

} // namespace tov
