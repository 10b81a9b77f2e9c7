#pragma once
#include "host/framework/Analysis.h"

#include <string>

namespace tov {

// Makes the data set `name` the analysis's current one: Study Area Setup
// then offers its methods, and the focus map shows its reference layers
// (below everything else, in its analysis system, at its initial extent)
// in place of those of the data set it replaces. The document is saved.
// HostError 5 naming the installed data sets when there is none of that name.
void SwitchDataset(Analysis& analysis, const std::string& name);

// Makes a data set made while the analysis is open known to it, in place
// of one of the same name (read from its folder).
JsonDatasetPtr InstallDataset(Analysis& analysis, const std::string& nativeFolder);

} // namespace tov
