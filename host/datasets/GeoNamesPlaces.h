#pragma once
#include "host/common/GeoNamesCities.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace tov {

// One's own places: a CSV file with a header naming its columns, among them
// "name", "latitude" and "longitude", and optionally "state" and
// "population" (any order, any case). HostError naming the file and the line
// for a file that cannot be read or a row that is not right.
std::vector<PopulatedPlace> ReadPlacesFile(const std::string& nativeFile);

} // namespace tov
