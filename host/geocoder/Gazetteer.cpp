#include "host/geocoder/Gazetteer.h"

#include "host/common/CsvText.h"
#include "platform/runtime/TextCase.h"

#include "host/geocoder/PlaceNames.h"
#include "platform/runtime/HostError.h"

#include <algorithm>
#include <charconv>
#include <fstream>
#include <map>
#include <mutex>

namespace tov {

namespace {

constexpr char kSource[] = "TovGeocoder";
constexpr char kHeader[] = "kind,name,state,latitude,longitude,population";

// Numbers are read whatever the locale: the file always has a ".".
bool ParseDouble(const std::string& text, double& value) {
  const char* end = text.data() + text.size();
  auto r = std::from_chars(text.data(), end, value);
  return r.ec == std::errc() && r.ptr == end;
}

// Degrees with six decimals and a "." whatever the locale.
std::string Degrees(double value) {
  char text[32];
  const auto written = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
  return std::string(text, written.ptr);
}

const char* KindName(GazetteerEntry::Kind kind) {
  switch (kind) {
  case GazetteerEntry::Kind::Zip: return "zip";
  case GazetteerEntry::Kind::Code: return "code";
  case GazetteerEntry::Kind::Region: return "region";
  default: return "place";
  }
}

bool IsZipCode(const std::string& text) {
  return text.size() == 5 && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "Oklahoma City" -> "oklahoma"; "" when the name does not end in "city".
std::string WithoutCity(const std::string& folded) {
  constexpr char kCity[] = " city";
  const size_t n = sizeof kCity - 1;
  if (folded.size() <= n || folded.compare(folded.size() - n, n, kCity) != 0) return std::string();
  return folded.substr(0, folded.size() - n);
}

} // namespace

Gazetteer::Gazetteer(std::vector<GazetteerEntry> entries) : m_entries(std::move(entries)) {
  for (size_t i = 0; i < m_entries.size(); ++i) {
    const GazetteerEntry& e = m_entries[i];
    if (e.kind == GazetteerEntry::Kind::Zip || e.kind == GazetteerEntry::Kind::Code) {
      m_zips.emplace(UpperCase(e.name), i);
      continue;
    }
    if (e.kind == GazetteerEntry::Kind::Region) {
      ++m_regionCount;
      m_regions[FoldPlaceName(e.name)].push_back(i);
      continue;
    }
    const std::string folded = FoldPlaceName(e.name);
    m_places[folded].push_back(i);
    const std::string alias = WithoutCity(folded);
    if (!alias.empty()) m_aliases[alias].push_back(i);
    // "Washington, D.C.": the name before the comma alone.
    const size_t comma = e.name.find(',');
    if (comma != std::string::npos) {
      const std::string head = FoldPlaceName(e.name.substr(0, comma));
      if (!head.empty() && head != alias) m_aliases[head].push_back(i);
    }
  }
  auto byPopulation = [this](size_t a, size_t b) {
    const GazetteerEntry &x = m_entries[a], &y = m_entries[b];
    if (x.population != y.population) return x.population > y.population;
    return x.state < y.state;
  };
  for (auto* index : {&m_places, &m_aliases})
    for (auto& [name, list] : *index) std::stable_sort(list.begin(), list.end(), byPopulation);
}

const GazetteerEntry* Gazetteer::FindZip(const std::string& zip) const {
  auto it = m_zips.find(UpperCase(zip));
  return it == m_zips.end() ? nullptr : &m_entries[it->second];
}

std::vector<const GazetteerEntry*> Gazetteer::FindRegions(const std::string& name) const {
  std::vector<const GazetteerEntry*> found;
  auto it = m_regions.find(FoldPlaceName(name));
  if (it != m_regions.end())
    for (size_t i : it->second) found.push_back(&m_entries[i]);
  return found;
}

void Gazetteer::Save(const std::string& nativeFile, const std::vector<GazetteerEntry>& entries) {
  std::ofstream out(nativeFile, std::ios::binary | std::ios::trunc);
  out << kHeader << "\n";
  for (const GazetteerEntry& e : entries) {
    out << KindName(e.kind) << ',' << CsvField(e.name) << ',' << CsvField(e.state) << ',' << Degrees(e.latitude)
        << ',' << Degrees(e.longitude) << ',';
    if (e.population > 0) out << e.population;
    out << '\n';
  }
  if (!out.flush()) throw HostError(75, kSource, "The gazetteer " + nativeFile + " cannot be written");
}

std::vector<const GazetteerEntry*> Gazetteer::Pick(const NameIndex& index, const std::string& folded,
                                                   const std::string& state) const {
  std::vector<const GazetteerEntry*> found;
  auto it = index.find(folded);
  if (it == index.end()) return found;
  for (size_t i : it->second)
    if (state.empty() || m_entries[i].state == state) found.push_back(&m_entries[i]);
  return found;
}

std::vector<const GazetteerEntry*> Gazetteer::FindPlaces(const std::string& name, const std::string& state) const {
  const std::string folded = FoldPlaceName(name);
  if (folded.empty()) return {};
  std::vector<const GazetteerEntry*> found = Pick(m_places, folded, state);
  if (found.empty()) found = Pick(m_aliases, folded, state);
  return found;
}

std::shared_ptr<const Gazetteer> Gazetteer::Load(const std::string& nativeFile) {
  std::ifstream in(nativeFile, std::ios::binary);
  if (!in) throw HostError(53, kSource, "The gazetteer " + nativeFile + " cannot be read");
  auto bad = [&](long line, const std::string& what) {
    return HostError(5, kSource, "The gazetteer " + nativeFile + " is malformed at line " + std::to_string(line) +
                                     ": " + what + " (rebuild it with `make data`)");
  };
  std::string line;
  std::getline(in, line);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  if (line != kHeader) throw bad(1, "the first line is not \"" + std::string(kHeader) + "\"");

  std::vector<GazetteerEntry> entries;
  std::vector<std::string> fields;
  for (long number = 2; std::getline(in, line); ++number) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (!SplitCsvLine(line, fields)) throw bad(number, "a quote is not closed");
    if (fields.size() != 6) throw bad(number, std::to_string(fields.size()) + " fields instead of 6");
    GazetteerEntry e;
    if (fields[0] == "zip") e.kind = GazetteerEntry::Kind::Zip;
    else if (fields[0] == "place") e.kind = GazetteerEntry::Kind::Place;
    else if (fields[0] == "code") e.kind = GazetteerEntry::Kind::Code;
    else if (fields[0] == "region") e.kind = GazetteerEntry::Kind::Region;
    else throw bad(number, "unknown kind \"" + fields[0] + "\"");
    e.name = fields[1];
    e.state = fields[2];
    if (e.kind == GazetteerEntry::Kind::Zip && !IsZipCode(e.name))
      throw bad(number, "\"" + e.name + "\" is not a five-digit ZIP code");
    if (e.name.empty()) throw bad(number, "the name is empty");
    if (!ParseDouble(fields[3], e.latitude) || !ParseDouble(fields[4], e.longitude) || e.latitude < -90 ||
        e.latitude > 90 || e.longitude < -180 || e.longitude > 180)
      throw bad(number, "the latitude or longitude is not a number of degrees");
    if (!fields[5].empty()) {
      const char* end = fields[5].data() + fields[5].size();
      auto r = std::from_chars(fields[5].data(), end, e.population);
      if (r.ec != std::errc() || r.ptr != end) throw bad(number, "the population is not a whole number");
    }
    entries.push_back(std::move(e));
  }
  if (in.bad()) throw HostError(53, kSource, "The gazetteer " + nativeFile + " cannot be read");
  return std::make_shared<const Gazetteer>(std::move(entries));
}

std::shared_ptr<const Gazetteer> Gazetteer::Shared(const std::string& nativeFile) {
  // Every call comes from the user-interface thread; the lock only keeps a
  // command-line tool or a test that loads from threads honest.
  static std::mutex lock;
  static std::map<std::string, std::shared_ptr<const Gazetteer>> loaded;
  std::lock_guard<std::mutex> guard(lock);
  auto it = loaded.find(nativeFile);
  if (it != loaded.end()) return it->second;
  auto gazetteer = Load(nativeFile);
  loaded.emplace(nativeFile, gazetteer);
  return gazetteer;
}

} // namespace tov
