// The component sees its host only through platform/: no file outside the
// host (and the host's own tests, benchmarks and fuzz targets) may include a GIS, database
// or GUI library header.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {
bool Exempt(const std::string& rel) {
  for (const char* prefix : {"host/", "tests/host/", "bench/", "fuzz/", "build", ".git/", "data/cache/"})
    if (rel.rfind(prefix, 0) == 0) return true;
  return false;
}
} // namespace

TEST(Boundary, NoLibraryHeaderOutsideTheHost) {
  const fs::path root = TOVANA_SOURCE_ROOT;
  const std::regex include(
      R"re(^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/.*|gdal.*|ogr.*|cpl_.*|geos.*|proj.*|sqlite3.*)[>"])re");
  std::vector<std::string> offenders;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string rel = fs::relative(it->path(), root).generic_string();
    if (it->is_directory() && Exempt(rel + "/")) {
      it.disable_recursion_pending();
      continue;
    }
    const std::string ext = it->path().extension().string();
    if (!it->is_regular_file() || (ext != ".h" && ext != ".hpp" && ext != ".cpp" && ext != ".cc")) continue;
    std::ifstream in(it->path());
    std::string line;
    int n = 0;
    while (std::getline(in, line)) {
      ++n;
      if (std::regex_search(line, include)) offenders.push_back(rel + ":" + std::to_string(n) + ": " + line);
    }
  }
  std::string all;
  for (auto& o : offenders) all += o + "\n";
  EXPECT_TRUE(offenders.empty()) << all;
}

// Only host/join joins host and component: every other host folder sees the
// component through platform/ alone, so a component's internals can change
// without the host noticing.
TEST(Boundary, OnlyTheJoinIncludesComponentInternals) {
  const fs::path root = fs::path(TOVANA_SOURCE_ROOT) / "host";
  const std::regex internal(R"re(^\s*#\s*include\s*[<"](store|pages|framework|manage|methods|setup|component)/)re");
  std::vector<std::string> offenders;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string rel = "host/" + fs::relative(it->path(), root).generic_string();
    if (it->is_directory() && rel == "host/join") {
      it.disable_recursion_pending();
      continue;
    }
    const std::string ext = it->path().extension().string();
    if (!it->is_regular_file() || (ext != ".h" && ext != ".cpp")) continue;
    std::ifstream in(it->path());
    std::string line;
    for (int n = 1; std::getline(in, line); ++n)
      if (std::regex_search(line, internal)) offenders.push_back(rel + ":" + std::to_string(n) + ": " + line);
  }
  std::string all;
  for (const auto& o : offenders) all += o + "\n";
  EXPECT_TRUE(offenders.empty()) << all;
}
