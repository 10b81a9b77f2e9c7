#include "host/join/RegionNameText.h"

#include "platform/runtime/TextCase.h"

#include <algorithm>
#include <numeric>
#include <utility>

namespace tov {

namespace {

size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<size_t> row(b.size() + 1);
  std::iota(row.begin(), row.end(), size_t{0});
  for (size_t i = 1; i <= a.size(); ++i) {
    size_t diagonal = row[0];
    row[0] = i;
    for (size_t j = 1; j <= b.size(); ++j) {
      const size_t above = row[j];
      row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (a[i - 1] == b[j - 1] ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

} // namespace

std::vector<std::string> FeaturesListIdentifiers(const std::string& featuresList) {
  std::vector<std::string> identifiers;
  if (featuresList.size() < 2 || featuresList.front() != '\'' || featuresList.back() != '\'') return identifiers;
  const std::string inner = featuresList.substr(1, featuresList.size() - 2);
  const std::string separator = "','";
  size_t start = 0;
  for (;;) {
    const size_t at = inner.find(separator, start);
    identifiers.push_back(inner.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) break;
    start = at + separator.size();
  }
  return identifiers;
}

std::vector<std::string> ClosestNames(const std::vector<std::string>& names, const std::string& wanted, size_t count) {
  const std::string folded = LowerCase(wanted);
  std::vector<std::pair<size_t, size_t>> ranked; // distance, position
  ranked.reserve(names.size());
  for (size_t i = 0; i < names.size(); ++i) ranked.emplace_back(EditDistance(LowerCase(names[i]), folded), i);
  const size_t n = std::min(count, ranked.size());
  std::partial_sort(ranked.begin(), ranked.begin() + static_cast<long>(n), ranked.end());
  std::vector<std::string> closest;
  for (size_t i = 0; i < n; ++i) closest.push_back(names[ranked[i].second]);
  return closest;
}

} // namespace tov
