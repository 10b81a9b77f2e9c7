#include "host/datasets/GeoNamesPlaces.h"

#include "platform/runtime/HostError.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <iterator>
#include <map>

namespace tov {
namespace {
constexpr char kSource[] = "tovana datasets create";

// The protocol buffer stream of cities.pbf: length-prefixed messages, one per
// place.
class PbfReader {
public:
  PbfReader(const uint8_t* data, size_t size, const std::string& file) : m_pos(data), m_end(data + size), m_file(&file) {}
  bool AtEnd() const { return m_pos >= m_end; }
  uint64_t Varint() {
    uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (m_pos >= m_end) Bad("it ends inside a number");
      const uint8_t byte = *m_pos++;
      value |= static_cast<uint64_t>(byte & 0x7f) << shift;
      if (!(byte & 0x80)) return value;
    }
    Bad("it holds a number longer than 64 bits");
  }
  int64_t SVarint() {
    const uint64_t v = Varint();
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
  }
  PbfReader Block() {
    const uint64_t length = Varint();
    if (length > static_cast<uint64_t>(m_end - m_pos)) Bad("it is cut short");
    PbfReader inner(m_pos, static_cast<size_t>(length), *m_file);
    m_pos += length;
    return inner;
  }
  std::string String() {
    PbfReader block = Block();
    return std::string(reinterpret_cast<const char*>(block.m_pos), static_cast<size_t>(block.m_end - block.m_pos));
  }
  void Skip(int wireType) {
    switch (wireType) {
    case 0: Varint(); break;
    case 1: Advance(8); break;
    case 2: Block(); break;
    case 5: Advance(4); break;
    default: Bad("it holds an unknown field type");
    }
  }

private:
  [[noreturn]] void Bad(const std::string& what) const {
    throw HostError(err::InvalidCall, kSource, "The places file " + *m_file + " cannot be read: " + what + ".");
  }
  void Advance(size_t n) {
    if (n > static_cast<size_t>(m_end - m_pos)) Bad("it is cut short");
    m_pos += n;
  }
  const uint8_t* m_pos;
  const uint8_t* m_end;
  const std::string* m_file;
};

bool SplitCsv(const std::string& line, std::vector<std::string>& fields) {
  fields.assign(1, std::string());
  bool quoted = false;
  for (size_t i = 0; i < line.size(); ++i) {
    const char c = line[i];
    if (quoted) {
      if (c == '"' && i + 1 < line.size() && line[i + 1] == '"') fields.back() += '"', ++i;
      else if (c == '"') quoted = false;
      else fields.back() += c;
    } else if (c == '"') {
      quoted = true;
    } else if (c == ',') {
      fields.emplace_back();
    } else {
      fields.back() += c;
    }
  }
  return !quoted;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return text;
}

bool Number(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto r = std::from_chars(text.data(), end, value);
  return !text.empty() && r.ec == std::errc() && r.ptr == end;
}
} // namespace

std::vector<PopulatedPlace> ReadGeoNamesPlaces(const std::string& nativeFile,
                                               const std::function<bool(const PopulatedPlace&)>& keep) {
  std::ifstream in(nativeFile, std::ios::binary);
  if (!in) throw HostError(err::FileNotFound, kSource, "The places file " + nativeFile + " cannot be read.");
  const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  PbfReader file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), nativeFile);
  // Coordinates are differences from the previous place, in 1e-5 degrees,
  // across the whole file.
  int64_t lastLon = 0, lastLat = 0;
  std::vector<PopulatedPlace> places;
  while (!file.AtEnd()) {
    PbfReader message = file.Block();
    PopulatedPlace p;
    while (!message.AtEnd()) {
      const uint64_t key = message.Varint();
      const int field = static_cast<int>(key >> 3), wireType = static_cast<int>(key & 7);
      if (field == 2 && wireType == 2) p.name = message.String();
      else if (field == 3 && wireType == 2) p.country = message.String();
      else if (field == 8 && wireType == 2) p.state = message.String();
      else if (field == 9 && wireType == 0) p.population = message.Varint();
      else if (field == 10 && wireType == 0) lastLon += message.SVarint();
      else if (field == 11 && wireType == 0) lastLat += message.SVarint();
      else message.Skip(wireType);
    }
    p.longitude = static_cast<double>(lastLon) / 1e5;
    p.latitude = static_cast<double>(lastLat) / 1e5;
    if (!p.name.empty() && keep(p)) places.push_back(std::move(p));
  }
  return places;
}

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
  SplitCsv(line, fields);
  std::map<std::string, size_t> columns;
  for (size_t i = 0; i < fields.size(); ++i) columns[Lower(Trim(fields[i]))] = i;
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
    if (!SplitCsv(line, fields)) throw bad(number, "a quote is not closed");
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
