#pragma once
#include "host/framework/JsonDataset.h"

#include <memory>
#include <string>
#include <vector>

namespace tov {

// The folders data sets are looked up in, first to last: the one the user
// names (--data-root), $TOVANA_DATA, the user's own
// ($XDG_DATA_HOME/tovana/datasets, default ~/.local/share/tovana/datasets)
// and the program's (<share folder>/datasets, which in the build folder is
// the checkout's data/). A data set found in an earlier folder hides one of
// the same name further down.
struct DataFolder {
  std::string folder; // native
  std::string origin; // how people know it: "--data-root", "$TOVANA_DATA", ...
};
std::vector<DataFolder> DataSearchPath(const std::string& explicitRoot = std::string());

struct FoundDatasets {
  std::vector<JsonDatasetPtr> datasets; // in search order, then by folder name
  std::vector<std::string> origins;     // of each data set, as DataFolder::origin
  std::vector<JsonDatasetPtr> hidden;   // a data set of an earlier folder has their name
  std::vector<DataFolder> searched;
};
// Every data set of the search path. A description that cannot be read
// raises HostError naming its file.
FoundDatasets FindDatasets(const std::string& explicitRoot = std::string());
std::vector<JsonDatasetPtr> LoadDatasets(const std::string& explicitRoot = std::string());

// Where the search looked, in one sentence for messages:
// "Looked in /a (--data-root), /b (your data sets) and /c (installed with the program)."
std::string DescribeSearch(const std::vector<DataFolder>& searched);

// The folder new data sets are written to when the user names none:
// $TOVANA_DATA, else the user's data set folder.
std::string DefaultDataRoot();

} // namespace tov
