#include "host/datasets/RegionLabels.h"

#include <map>
#include <set>

namespace tov {

std::vector<std::string> MakeRegionLabels(const std::vector<std::string>& names, const std::vector<std::string>& extras) {
  std::vector<std::string> labels;
  labels.reserve(names.size());
  std::map<std::string, int> uses;
  for (size_t i = 0; i < names.size(); ++i) {
    std::string label = names[i].empty() ? "Unnamed" : names[i];
    if (i < extras.size() && !extras[i].empty()) label += ", " + extras[i];
    ++uses[label];
    labels.push_back(std::move(label));
  }
  // Numbers that a label already taken would repeat are skipped.
  std::set<std::string> taken(labels.begin(), labels.end());
  std::map<std::string, int> next;
  for (std::string& label : labels) {
    if (uses[label] < 2) continue;
    const std::string base = label;
    std::string numbered;
    do numbered = base + " (" + std::to_string(++next[base]) + ")";
    while (taken.count(numbered));
    taken.insert(numbered);
    label = numbered;
  }
  return labels;
}

bool NamesAreLabels(const std::vector<std::string>& names) {
  std::set<std::string> seen;
  for (const std::string& name : names)
    if (name.empty() || !seen.insert(name).second) return false;
  return true;
}

} // namespace tov
