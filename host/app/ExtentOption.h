#pragma once
// The --extent option of the commands that take one ("XMIN,YMIN,XMAX,YMAX",
// or WEST,SOUTH,EAST,NORTH with --lonlat): read once, refused alike.
#include <string>
#include <vector>

namespace tov {

// The four numbers, each minimum below its maximum and, with lonLat, within
// -180..180 and -90..90; a CLI::ValidationError naming --extent otherwise.
std::vector<double> ParseExtentOption(const std::string& text, bool lonLat);

} // namespace tov
