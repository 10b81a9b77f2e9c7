// The cache of study areas a list found whole: any text in it is read
// without failing, and what was read is written back and read again alike.
#include "FuzzSupport.h"

#include "host/framework/CheckedStudyAreas.h"

#include <cstdlib>
#include <sstream>

using namespace tov;
using namespace tov::fuzz;

namespace {
std::string AnalysisFolder() { return (ScratchFolder() / "analysis").string(); }
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("XDG_CACHE_HOME", (ScratchFolder() / "cache").c_str(), 1);
  std::filesystem::create_directories(AnalysisFolder());
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path file = CheckedStudyAreas::CacheFile(AnalysisFolder());
  std::filesystem::create_directories(file.parent_path());
  // The header names this analysis, so that the input's lines are read.
  WriteFile(file, "tovana checked study areas 1\t" + AnalysisFolder() + "\n" + Text(data, size));
  std::vector<std::string> layerFiles;
  std::istringstream lines(Text(data, size));
  for (std::string line; std::getline(lines, line);) layerFiles.push_back(line.substr(0, line.find('\t')));

  CheckedStudyAreas first(AnalysisFolder());
  std::vector<bool> whole;
  for (const std::string& layerFile : layerFiles) whole.push_back(first.StillWhole(layerFile));
  // Forgetting one makes the cache write itself.
  const std::string forgotten = layerFiles.empty() ? std::string() : layerFiles.back();
  first.Forget(forgotten);
  first.Save();

  CheckedStudyAreas second(AnalysisFolder());
  for (size_t i = 0; i < layerFiles.size(); ++i)
    if (layerFiles[i] != forgotten)
      Require(second.StillWhole(layerFiles[i]) == whole[i], "a cache entry changed by being written and read again");
  return 0;
}
