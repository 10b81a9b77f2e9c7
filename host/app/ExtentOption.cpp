#include "host/app/ExtentOption.h"

#include "host/app/LonLatToMap.h"
#include "platform/runtime/Variant.h"

#include <CLI/CLI.hpp>

#include <sstream>

namespace tov {

std::vector<double> ParseExtentOption(const std::string& text, bool lonLat) {
  std::vector<double> values;
  std::stringstream in(text);
  std::string part;
  while (std::getline(in, part, ',')) {
    try {
      values.push_back(Variant(part).ToDouble());
    } catch (const HostError&) {
      throw CLI::ValidationError("--extent", "\"" + part + "\" is not a number");
    }
  }
  if (values.size() != 4) throw CLI::ValidationError("--extent", "give four numbers: XMIN,YMIN,XMAX,YMAX");
  if (!(values[0] < values[2]) || !(values[1] < values[3]))
    throw CLI::ValidationError("--extent", "XMIN must be below XMAX and YMIN below YMAX");
  if (lonLat)
    if (std::string problem = LonLatRangeProblem(values[0], values[1], values[2], values[3]); !problem.empty())
      throw CLI::ValidationError("--extent", "with --lonlat, " + problem);
  return values;
}

} // namespace tov
