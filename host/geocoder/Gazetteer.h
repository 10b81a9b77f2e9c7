#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tov {

// One row of the gazetteer, in WGS 84 degrees: a ZIP centroid (its code as
// the name), a populated place, a postal code of another form ("LS1",
// "H2X") or a region of the data set (a point inside it).
struct GazetteerEntry {
  enum class Kind { Zip, Place, Code, Region };
  Kind kind = Kind::Place;
  std::string name;
  std::string state; // two-letter postal code, "" when unknown
  double latitude = 0;
  double longitude = 0;
  uint64_t population = 0;
};

// The gazetteer of a data set (gazetteer.csv beside its GeoPackage), indexed
// for look-ups by ZIP code and by folded place name.
//
// File: a header "kind,name,state,latitude,longitude,population", then one
// row per entry, kind "zip", "place", "code" or "region"; names may be
// quoted as in CSV.
class Gazetteer {
public:
  // Reads a gazetteer file (native path). A file that cannot be read or a
  // malformed row raises HostError naming the file and the line.
  static std::shared_ptr<const Gazetteer> Load(const std::string& nativeFile);
  // The same, read once per process: later calls with the same path return
  // the gazetteer read first.
  static std::shared_ptr<const Gazetteer> Shared(const std::string& nativeFile);
  // Writes entries as a gazetteer file (native path); HostError 75 naming
  // the file when it cannot be written.
  static void Save(const std::string& nativeFile, const std::vector<GazetteerEntry>& entries);
  // Builds one from entries (tests, and Load).
  explicit Gazetteer(std::vector<GazetteerEntry> entries);

  // The entry of a ZIP code or other postal code, in any letter case, or null.
  const GazetteerEntry* FindZip(const std::string& zip) const;
  // The regions with this name (folded as places are), in file order.
  std::vector<const GazetteerEntry*> FindRegions(const std::string& name) const;
  // Places with this name (any spelling FoldPlaceName takes as the same), in
  // one state when state is given, most populous first. A name that matches
  // no place as written also matches places called "<name> City" ("New
  // York" is "New York City") or "<name>, <more>" ("Washington" in DC is
  // "Washington, D.C.").
  std::vector<const GazetteerEntry*> FindPlaces(const std::string& name, const std::string& state = "") const;

  // ZIP and other postal codes.
  size_t ZipCount() const { return m_zips.size(); }
  size_t RegionCount() const { return m_regionCount; }
  size_t PlaceCount() const { return m_entries.size() - m_zips.size() - m_regionCount; }

private:
  using NameIndex = std::unordered_map<std::string, std::vector<size_t>>;
  std::vector<const GazetteerEntry*> Pick(const NameIndex& index, const std::string& folded,
                                          const std::string& state) const;

  std::vector<GazetteerEntry> m_entries;
  std::unordered_map<std::string, size_t> m_zips; // upper-case code -> entry
  size_t m_regionCount = 0;
  NameIndex m_regions; // folded name -> entries
  NameIndex m_places;  // folded name -> entries, most populous first
  NameIndex m_aliases; // folded name without a final "city" or what follows a comma
};

using GazetteerPtr = std::shared_ptr<const Gazetteer>;

} // namespace tov
