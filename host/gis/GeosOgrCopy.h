#pragma once
#include <geos_c.h>
#include <ogr_geometry.h>

#include <memory>

namespace tov {

// Copies of areas between OGR and GEOS, built from their coordinates.
// GDAL's own conversions go through WKB, which for the shapes of a union
// costs about a tenth of a coverage union of them. For plain areas (flat,
// closed rings of four points or more) a copy is the same geometry; any
// other shape goes through GDAL's conversion.

// Null when GEOS refuses.
GEOSGeometry* GeosCopyOf(GEOSContextHandle_t h, const OGRGeometry& geometry);
// Null when GDAL cannot read the shape back.
std::unique_ptr<OGRGeometry> OgrCopyOf(GEOSContextHandle_t h, const GEOSGeometry* geometry);

} // namespace tov
