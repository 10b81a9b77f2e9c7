#include "host/tools/sampledata/PopulatedPlaces.h"

#include "host/tools/sampledata/SampleGeometry.h"

#include <fstream>
#include <iostream>
#include <iterator>

namespace fs = std::filesystem;

namespace tov::sampledata {

namespace {

// Reader of the protocol buffer stream in cities.pbf: a sequence of
// length-prefixed messages, one per place.
class PbfReader {
public:
  PbfReader(const uint8_t* data, size_t size) : m_pos(data), m_end(data + size) {}
  bool AtEnd() const { return m_pos >= m_end; }
  uint64_t Varint() {
    uint64_t value = 0;
    for (int shift = 0; shift < 64; shift += 7) {
      if (m_pos >= m_end) throw BuildError("cities.pbf ends inside a number");
      const uint8_t byte = *m_pos++;
      value |= static_cast<uint64_t>(byte & 0x7f) << shift;
      if (!(byte & 0x80)) return value;
    }
    throw BuildError("cities.pbf holds a number longer than 64 bits");
  }
  int64_t SVarint() {
    const uint64_t v = Varint();
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
  }
  // The next length-delimited block, consumed.
  PbfReader Block() {
    const uint64_t length = Varint();
    if (length > static_cast<uint64_t>(m_end - m_pos)) throw BuildError("cities.pbf is cut short");
    PbfReader inner(m_pos, static_cast<size_t>(length));
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
    default: throw BuildError("cities.pbf holds an unknown field type " + std::to_string(wireType));
    }
  }

private:
  void Advance(size_t n) {
    if (n > static_cast<size_t>(m_end - m_pos)) throw BuildError("cities.pbf is cut short");
    m_pos += n;
  }
  const uint8_t* m_pos;
  const uint8_t* m_end;
};

} // namespace

std::vector<Place> ReadPlaces(const fs::path& pbfFile) {
  std::ifstream in(pbfFile, std::ios::binary);
  if (!in) throw BuildError("cannot read " + pbfFile.string());
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  PbfReader file(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
  int64_t lastLon = 0, lastLat = 0;
  std::vector<Place> places;
  size_t all = 0;
  while (!file.AtEnd()) {
    PbfReader message = file.Block();
    ++all;
    Place p;
    std::string country;
    while (!message.AtEnd()) {
      const uint64_t key = message.Varint();
      const int field = static_cast<int>(key >> 3);
      const int wireType = static_cast<int>(key & 7);
      if (field == 2 && wireType == 2) p.name = message.String();
      else if (field == 3 && wireType == 2) country = message.String();
      else if (field == 8 && wireType == 2) p.state = message.String();
      else if (field == 9 && wireType == 0) p.population = message.Varint();
      else if (field == 10 && wireType == 0) lastLon += message.SVarint();
      else if (field == 11 && wireType == 0) lastLat += message.SVarint();
      else message.Skip(wireType);
    }
    p.lon = static_cast<double>(lastLon) / 1e5;
    p.lat = static_cast<double>(lastLat) / 1e5;
    if (country != "US" || p.name.empty()) continue;
    if (p.state.size() != 2) {
      std::cout << "  skipped place \"" << p.name << "\": no state\n";
      continue;
    }
    places.push_back(std::move(p));
  }
  if (all == 0) throw BuildError(pbfFile.string() + " holds no places");
  return places;
}

} // namespace tov::sampledata
