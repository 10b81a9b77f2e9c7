#include "host/common/GeoNamesCities.h"

#include "platform/runtime/HostError.h"

#include <fstream>
#include <iterator>

namespace tov {
namespace {
constexpr char kSource[] = "GeoNames places";

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

} // namespace tov
