#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace tov {

// The identifiers of a stored features list: '36047','36081' gives 36047
// and 36081.
std::vector<std::string> FeaturesListIdentifiers(const std::string& featuresList);

// Up to count names nearest to wanted by edit distance (letter case
// ignored), nearest first; among equals in the order given.
std::vector<std::string> ClosestNames(const std::vector<std::string>& names, const std::string& wanted, size_t count);

} // namespace tov
