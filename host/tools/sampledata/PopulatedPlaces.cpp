#include "host/tools/sampledata/PopulatedPlaces.h"

#include "host/common/GeoNamesCities.h"
#include "host/tools/sampledata/SampleGeometry.h"
#include "platform/runtime/HostError.h"

#include <iostream>

namespace fs = std::filesystem;

namespace tov::sampledata {

std::vector<Place> ReadPlaces(const fs::path& pbfFile) {
  std::vector<PopulatedPlace> all;
  try {
    all = ReadGeoNamesPlaces(pbfFile.string(), [](const PopulatedPlace&) { return true; });
  } catch (const HostError& e) {
    throw BuildError(e.Description());
  }
  if (all.empty()) throw BuildError(pbfFile.string() + " holds no places");
  std::vector<Place> places;
  for (PopulatedPlace& p : all) {
    if (p.country != "US") continue;
    if (p.state.size() != 2) {
      std::cout << "  skipped place \"" << p.name << "\": no state\n";
      continue;
    }
    places.push_back({std::move(p.name), std::move(p.state), p.latitude, p.longitude, p.population});
  }
  return places;
}

} // namespace tov::sampledata
