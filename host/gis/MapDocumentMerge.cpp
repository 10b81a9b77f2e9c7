#include "host/gis/MapDocumentMerge.h"

#include <map>
#include <string>
#include <unordered_map>
#include <vector>

using nlohmann::json;

namespace tov {

namespace {

std::string TextOf(const json& j, const char* key) {
  auto it = j.find(key);
  return it != j.end() && it->is_string() ? it->get<std::string>() : std::string();
}

std::string BaseKey(const json& layer) {
  if (!layer.is_object()) return "?";
  std::string key = TextOf(layer, "type") + '\n' + TextOf(layer, "name");
  auto source = layer.find("source");
  if (source != layer.end() && source->is_object()) {
    // The relative path is the same in every process whatever path each
    // was given for the analysis folder.
    std::string path = TextOf(*source, "relativePath");
    if (path.empty()) path = TextOf(*source, "path");
    key += '\n' + TextOf(*source, "format") + '\n' + path + '\n' + TextOf(*source, "dataset");
  }
  return key;
}

// Keys of a layer list; a repeated layer gets its occurrence number.
std::vector<std::string> Keys(const json& layers) {
  std::vector<std::string> keys;
  std::map<std::string, int> seen;
  if (!layers.is_array()) return keys;
  for (const auto& layer : layers) {
    std::string key = BaseKey(layer);
    keys.push_back(key + '#' + std::to_string(seen[key]++));
  }
  return keys;
}

long Find(const std::vector<std::string>& keys, const std::string& key) {
  for (size_t i = 0; i < keys.size(); ++i)
    if (keys[i] == key) return static_cast<long>(i);
  return -1;
}

// Where each key of a list that does not change stands: a group may hold thousands.
using KeyIndex = std::unordered_map<std::string, long>;

KeyIndex IndexOf(const std::vector<std::string>& keys) {
  KeyIndex index;
  index.reserve(keys.size());
  for (size_t i = 0; i < keys.size(); ++i) index.emplace(keys[i], static_cast<long>(i));
  return index;
}

long Find(const KeyIndex& index, const std::string& key) {
  auto it = index.find(key);
  return it == index.end() ? -1 : it->second;
}

// A group's own members, without copying its children.
json WithoutChildren(const json& layer) {
  if (!layer.is_object()) return layer;
  json own = json::object();
  for (auto it = layer.begin(); it != layer.end(); ++it)
    if (it.key() != "layers") own[it.key()] = it.value();
  return own;
}

bool SameButChildren(const json& a, const json& b) {
  if (!a.is_object() || !b.is_object()) return a == b;
  auto ia = a.begin(), ib = b.begin();
  // Objects keep their members sorted by key, so both walks meet the same keys in order.
  for (;;) {
    if (ia != a.end() && ia.key() == "layers") ++ia;
    if (ib != b.end() && ib.key() == "layers") ++ib;
    if (ia == a.end() || ib == b.end()) return ia == a.end() && ib == b.end();
    if (ia.key() != ib.key() || ia.value() != ib.value()) return false;
    ++ia, ++ib;
  }
}

void MergeLayersInto(const json& base, const json& mine, json& theirs);

// The layer as theirs has it, changed in place by this process's changes to it.
void MergeLayerInto(const json& base, const json& mine, json& theirs) {
  if (mine.is_object() && TextOf(mine, "type") == "group" && theirs.is_object() && TextOf(theirs, "type") == "group") {
    const json empty = json::array();
    auto children = [&](const json& j) -> const json& {
      auto it = j.is_object() ? j.find("layers") : j.end();
      return it != j.end() && it->is_array() ? *it : empty;
    };
    // Theirs' children are merged where they are: a group may hold thousands.
    json merged = theirs.contains("layers") && theirs["layers"].is_array() ? std::move(theirs["layers"]) : json::array();
    theirs = !SameButChildren(mine, base) ? WithoutChildren(mine) : WithoutChildren(theirs);
    MergeLayersInto(children(base), children(mine), merged);
    theirs["layers"] = std::move(merged);
    return;
  }
  if (mine != base) theirs = mine;
}

// Places item after the layer keyed `after` in the result ("" or absent: first).
void InsertAfter(json& result, std::vector<std::string>& keys, const std::string& after, const std::string& key,
                 json item) {
  long at = after.empty() ? -1 : Find(keys, after);
  result.insert(result.begin() + (at + 1), std::move(item));
  keys.insert(keys.begin() + (at + 1), key);
}

void MergeLayersInto(const json& base, const json& mine, json& result) {
  const json empty = json::array();
  const json& b = base.is_array() ? base : empty;
  const json& m = mine.is_array() ? mine : empty;
  if (!result.is_array()) result = json::array();
  const std::vector<std::string> baseKeys = Keys(b), mineKeys = Keys(m);
  std::vector<std::string> keys = Keys(result);

  // The same layers in the same order everywhere (what most saves find):
  // only the layers changed here change, each in its place.
  if (baseKeys == mineKeys && mineKeys == keys) {
    for (size_t i = 0; i < m.size(); ++i)
      if (m[i] != b[i]) MergeLayerInto(b[i], m[i], result[i]);
    return;
  }

  const KeyIndex baseIndex = IndexOf(baseKeys), mineIndex = IndexOf(mineKeys);

  // Deleted here: gone from the result too.
  for (size_t i = 0; i < baseKeys.size(); ++i) {
    if (Find(mineIndex, baseKeys[i]) >= 0) continue;
    long at = Find(keys, baseKeys[i]);
    if (at < 0) continue;
    result.erase(result.begin() + at);
    keys.erase(keys.begin() + at);
  }

  // The neighbour above a layer, among the layers both lists hold.
  auto previousShared = [](const std::vector<std::string>& list, size_t index, const KeyIndex& other) {
    for (size_t k = index; k-- > 0;)
      if (Find(other, list[k]) >= 0) return list[k];
    return std::string();
  };

  std::string previous; // the last of mine's layers placed in the result
  for (size_t i = 0; i < mineKeys.size(); ++i) {
    const std::string& key = mineKeys[i];
    const long inBase = Find(baseIndex, key);
    long at = Find(keys, key);
    if (inBase < 0) {
      if (at >= 0) {
        MergeLayerInto(json(), m[i], result[at]);
      } else {
        InsertAfter(result, keys, previous, key, m[i]);
      }
      previous = key;
      continue;
    }
    if (at < 0) continue; // deleted meanwhile by another process: stays deleted
    MergeLayerInto(b[inBase], m[i], result[at]);
    // Moved here (its neighbour above changed): move it in the result too.
    if (previousShared(mineKeys, i, baseIndex) != previousShared(baseKeys, static_cast<size_t>(inBase), mineIndex)) {
      json merged = std::move(result[at]);
      result.erase(result.begin() + at);
      keys.erase(keys.begin() + at);
      InsertAfter(result, keys, previous, key, std::move(merged));
    }
    previous = key;
  }
}

// Into theirs' map, in place: a copy of a map of many layers is costly.
void MergeMapInto(const json& base, const json& mine, json& result) {
  if (!result.is_object()) result = json::object();
  for (const char* key : {"name", "spatialReference", "extent", "graphics"}) {
    if (!mine.contains(key)) continue;
    if (!base.is_object() || !base.contains(key) || base[key] != mine[key]) result[key] = mine[key];
  }
  const json empty = json::array();
  auto layers = [&](const json& j) -> const json& {
    auto it = j.is_object() ? j.find("layers") : j.end();
    return it != j.end() && it->is_array() ? *it : empty;
  };
  MergeLayersInto(layers(base), layers(mine), result["layers"]);
}

} // namespace

json MapDocumentMerge::Merge(const json& base, const json& mine, json theirs) {
  if (!theirs.is_object() || !theirs.contains("maps") || !theirs["maps"].is_array()) return mine;
  // Nobody else saved since the base: this process's document is the result.
  if (theirs == base) return mine;
  json result = std::move(theirs);
  const json empty = json::array(), none;
  const json& baseMaps = base.is_object() && base.contains("maps") && base["maps"].is_array() ? base["maps"] : empty;
  const json& mineMaps = mine.contains("maps") && mine["maps"].is_array() ? mine["maps"] : empty;
  json& maps = result["maps"];
  for (size_t i = 0; i < mineMaps.size(); ++i) {
    const json& baseMap = i < baseMaps.size() ? baseMaps[i] : none;
    if (i < maps.size())
      MergeMapInto(baseMap, mineMaps[i], maps[i]);
    else
      maps.push_back(mineMaps[i]);
  }
  if (mine.contains("focusMap") && (!base.is_object() || base.value("focusMap", json()) != mine["focusMap"]))
    result["focusMap"] = mine["focusMap"];
  if (!result["focusMap"].is_number_integer() || result["focusMap"].get<long>() < 0 ||
      result["focusMap"].get<long>() >= static_cast<long>(maps.size()))
    result["focusMap"] = 0;
  return result;
}

} // namespace tov
