#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace tov {

// One row of the gazetteer: a ZIP centroid (its code as the name) or a
// populated place, in WGS 84 degrees.
struct GazetteerEntry {
  enum class Kind { Zip, Place };
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
// row per entry, kind "zip" or "place"; names may be quoted as in CSV.
class Gazetteer {
public:
  // Reads a gazetteer file (native path). A file that cannot be read or a
  // malformed row raises HostError naming the file and the line.
  static std::shared_ptr<const Gazetteer> Load(const std::string& nativeFile);
  // The same, read once per process: later calls with the same path return
  // the gazetteer read first.
  static std::shared_ptr<const Gazetteer> Shared(const std::string& nativeFile);
  // Builds one from entries (tests, and Load).
  explicit Gazetteer(std::vector<GazetteerEntry> entries);

  // The ZIP centroid of a five-digit code, or null.
  const GazetteerEntry* FindZip(const std::string& zip) const;
  // Places with this name (any spelling FoldPlaceName takes as the same), in
  // one state when state is given, most populous first. A name that matches
  // no place as written also matches places called "<name> City" ("New
  // York" is "New York City") or "<name>, <more>" ("Washington" in DC is
  // "Washington, D.C.").
  std::vector<const GazetteerEntry*> FindPlaces(const std::string& name, const std::string& state = "") const;

  size_t ZipCount() const { return m_zips.size(); }
  size_t PlaceCount() const { return m_entries.size() - m_zips.size(); }

private:
  using NameIndex = std::unordered_map<std::string, std::vector<size_t>>;
  std::vector<const GazetteerEntry*> Pick(const NameIndex& index, const std::string& folded,
                                          const std::string& state) const;

  std::vector<GazetteerEntry> m_entries;
  std::unordered_map<std::string, size_t> m_zips;
  NameIndex m_places;  // folded name -> entries, most populous first
  NameIndex m_aliases; // folded name without a final "city" or what follows a comma
};

using GazetteerPtr = std::shared_ptr<const Gazetteer>;

} // namespace tov
