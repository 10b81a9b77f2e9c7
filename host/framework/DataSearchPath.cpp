#include "host/framework/DataSearchPath.h"

#include "host/common/UserFolders.h"

#include <cstdlib>
#include <filesystem>

namespace fs = std::filesystem;

namespace tov {

std::vector<DataFolder> DataSearchPath(const std::string& explicitRoot) {
  std::vector<DataFolder> candidates;
  if (!explicitRoot.empty()) candidates.push_back({explicitRoot, "--data-root"});
  if (const char* env = std::getenv("TOVANA_DATA"); env && *env) candidates.push_back({env, "$TOVANA_DATA"});
  candidates.push_back({UserDataFolder() + "/datasets", "your data sets"});
  if (const std::string share = ProgramShareFolder(); !share.empty())
    candidates.push_back({share + "/datasets", "the program's data sets"});

  // Shown as they really are (the build folder's link leads to the
  // checkout), and each folder once.
  std::vector<DataFolder> path;
  for (DataFolder& candidate : candidates) {
    std::error_code ec;
    const fs::path real = fs::weakly_canonical(fs::absolute(candidate.folder, ec), ec);
    if (!ec) candidate.folder = real.string();
    bool seen = false;
    for (const DataFolder& earlier : path) seen = seen || earlier.folder == candidate.folder;
    if (!seen) path.push_back(candidate);
  }
  return path;
}

FoundDatasets FindDatasets(const std::string& explicitRoot) {
  FoundDatasets found;
  found.searched = DataSearchPath(explicitRoot);
  for (const DataFolder& folder : found.searched)
    for (JsonDatasetPtr& dataset : JsonDataset::LoadAll(folder.folder)) {
      bool hidden = false;
      for (const JsonDatasetPtr& earlier : found.datasets) hidden = hidden || earlier->Name() == dataset->Name();
      if (hidden) {
        found.hidden.push_back(std::move(dataset));
      } else {
        found.datasets.push_back(std::move(dataset));
        found.origins.push_back(folder.origin);
      }
    }
  return found;
}

std::vector<JsonDatasetPtr> LoadDatasets(const std::string& explicitRoot) {
  return FindDatasets(explicitRoot).datasets;
}

std::string DescribeSearch(const std::vector<DataFolder>& searched) {
  std::string text = "Looked in ";
  for (size_t i = 0; i < searched.size(); ++i) {
    if (i > 0) text += i + 1 == searched.size() ? " and " : ", ";
    text += searched[i].folder + " (" + searched[i].origin + ")";
  }
  return text + ".";
}

std::string DefaultDataRoot() {
  if (const char* env = std::getenv("TOVANA_DATA"); env && *env) return env;
  return UserDataFolder() + "/datasets";
}

} // namespace tov
