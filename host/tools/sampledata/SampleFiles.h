#pragma once
// The two files of the sample data set: usa.gpkg (states, counties and ZIP
// areas) and gazetteer.csv (ZIP centroids and populated places).
#include "host/tools/sampledata/PopulatedPlaces.h"
#include "host/tools/sampledata/ZipAreas.h"

#include <filesystem>
#include <vector>

namespace tov::sampledata {

void WriteGeoPackage(const std::filesystem::path& file, const std::vector<Region>& states,
                     const std::vector<Region>& counties, const std::vector<ZipArea>& zipAreas);

// One row per ZIP centroid ("zip", its code as the name) and per populated
// place ("place"); WGS 84 degrees.
void WriteGazetteer(const std::filesystem::path& file, const std::vector<ZipPoint>& zips,
                    const std::vector<Place>& places);

} // namespace tov::sampledata
