#pragma once
#include <string>
#include <vector>

namespace tov {

// The names the list page shows for a data set's regions, one per region and
// each used once, as the sample's counties are labelled ("Kings, NY"): the
// name, followed by ", " and the extra text when one is given (the
// --label-field's value); a region without a name is "Unnamed"; names that
// are still alike are numbered in the order given ("Halton (1)", "Halton
// (2)").
std::vector<std::string> MakeRegionLabels(const std::vector<std::string>& names, const std::vector<std::string>& extras);

// True when the names can serve as labels as they are: none empty, none twice.
bool NamesAreLabels(const std::vector<std::string>& names);

} // namespace tov
