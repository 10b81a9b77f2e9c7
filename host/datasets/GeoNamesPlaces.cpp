#include "host/datasets/GeoNamesPlaces.h"

#include "host/common/CsvText.h"

#include "platform/runtime/HostError.h"
#include "platform/runtime/TextCase.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>

namespace tov {
namespace {
constexpr char kSource[] = "tovana datasets create";

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool Number(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto r = std::from_chars(text.data(), end, value);
  return !text.empty() && r.ec == std::errc() && r.ptr == end;
}
} // namespace

std::vector<PopulatedPlace> ReadPlacesFile(const std::string& nativeFile) {
  std::ifstream in(nativeFile, std::ios::binary);
  if (!in) throw HostError(err::FileNotFound, kSource, "--places: the file " + nativeFile + " cannot be read.");
  auto bad = [&](long line, const std::string& what) {
    return HostError(err::InvalidCall, kSource,
                     "--places: " + nativeFile + ", line " + std::to_string(line) + ": " + what + ".");
  };
  std::string line;
  std::vector<std::string> fields;
  if (!std::getline(in, line)) throw bad(1, "the file is empty; its first line names the columns (name,latitude,longitude)");
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line.compare(0, 3, "\xEF\xBB\xBF") == 0) line.erase(0, 3);
  SplitCsvLine(line, fields);
  std::map<std::string, size_t> columns;
  for (size_t i = 0; i < fields.size(); ++i) columns[LowerCase(Trim(fields[i]))] = i;
  for (const char* needed : {"name", "latitude", "longitude"})
    if (!columns.count(needed))
      throw bad(1, std::string("there is no column \"") + needed + "\" (the first line names the columns: name,latitude,longitude[,state][,population])");
  auto column = [&](const char* name) { return columns.count(name) ? static_cast<long>(columns[name]) : -1L; };
  const long name = column("name"), lat = column("latitude"), lon = column("longitude"), state = column("state"),
             population = column("population");

  std::vector<PopulatedPlace> places;
  for (long number = 2; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (Trim(line).empty()) continue;
    if (!SplitCsvLine(line, fields)) throw bad(number, "a quote is not closed");
    if (fields.size() != columns.size() && fields.size() < static_cast<size_t>(std::max({name, lat, lon})) + 1)
      throw bad(number, std::to_string(fields.size()) + " fields where the header has " + std::to_string(columns.size()));
    auto at = [&](long i) { return i >= 0 && static_cast<size_t>(i) < fields.size() ? Trim(fields[static_cast<size_t>(i)]) : std::string(); };
    PopulatedPlace p;
    p.name = at(name);
    p.state = at(state);
    if (p.name.empty()) throw bad(number, "the name is empty");
    if (!Number(at(lat), p.latitude) || !Number(at(lon), p.longitude) || p.latitude < -90 || p.latitude > 90 ||
        p.longitude < -180 || p.longitude > 180)
      throw bad(number, "the latitude or longitude is not a number of degrees");
    const std::string people = at(population);
    if (!people.empty()) {
      const char* end = people.data() + people.size();
      auto r = std::from_chars(people.data(), end, p.population);
      if (r.ec != std::errc() || r.ptr != end) throw bad(number, "the population is not a whole number");
    }
    places.push_back(std::move(p));
  }
  return places;
}

} // namespace tov
