// The layering holds in the sources, not just in the drawing:
// - the component sees its host only through platform/: no file outside the
//   host (and the host's own tests, benchmarks and fuzz targets) may include
//   a GIS, database or GUI library header;
// - inside the component an include points only to its own folder or a
//   lower rank (platform, store, pages, framework, manage and methods,
//   setup, component), never into host/, and a method folder never includes
//   a sibling method folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <regex>
#include <string>

namespace fs = std::filesystem;

namespace {

bool Exempt(const std::string& rel) {
  for (const char* prefix : {"host/", "tests/host/", "bench/", "fuzz/", "build", ".git/", "data/cache/"})
    if (rel.rfind(prefix, 0) == 0) return true;
  return false;
}

// "file:line: why" for every line of every C++ source under the folders
// `wanted` passes that matches `include` and for which `why` (given the
// first group) says something.
std::string Offenders(const std::function<bool(const std::string& rel)>& wanted, const std::regex& include,
                      const std::function<std::string(const std::string& rel, const std::string& target)>& why) {
  const fs::path root = TOVANA_SOURCE_ROOT;
  std::string offenders;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator(); ++it) {
    const std::string rel = fs::relative(it->path(), root).generic_string();
    if (it->is_directory() && !wanted(rel + "/")) {
      it.disable_recursion_pending();
      continue;
    }
    const std::string ext = it->path().extension().string();
    if (!it->is_regular_file() || (ext != ".h" && ext != ".hpp" && ext != ".cpp" && ext != ".cc")) continue;
    std::ifstream in(it->path());
    std::string line;
    std::smatch m;
    for (int n = 1; std::getline(in, line); ++n)
      if (std::regex_search(line, m, include))
        if (const std::string said = why(rel, m[1].str()); !said.empty())
          offenders += rel + ":" + std::to_string(n) + ": " + said + "\n";
  }
  return offenders;
}

// The component's folders, lowest first; the host sits above them all.
const std::map<std::string, int> kRanks = {
    {"platform", 0}, {"store", 1}, {"pages", 2},     {"framework", 3}, {"manage", 4},
    {"methods", 4},  {"setup", 5}, {"component", 6}, {"host", 7},
};
constexpr int kHostRank = 7;

std::string TopFolder(const std::string& path) { return path.substr(0, path.find('/')); }

// The method folder of a path under methods/ ("" for any other path).
std::string MethodFolder(const std::string& path) {
  if (TopFolder(path) != "methods") return std::string();
  const auto first = path.find('/');
  return path.substr(0, path.find('/', first + 1));
}

// Why a component file may not include `target` ("" when it may). Both are
// paths from the source root.
std::string LayerOffence(const std::string& file, const std::string& target) {
  const std::string from = TopFolder(file), to = TopFolder(target);
  const auto fromRank = kRanks.find(from), toRank = kRanks.find(to);
  if (fromRank == kRanks.end() || fromRank->second == kHostRank) return std::string(); // not the component
  if (toRank == kRanks.end()) return "outside the component";
  if (toRank->second == kHostRank) return "into the host";
  if (toRank->second > fromRank->second) return "up, from " + from + " to " + to;
  if (toRank->second == fromRank->second && from != to) return "sideways, from " + from + " to " + to;
  if (from == "methods" && to == "methods" && MethodFolder(file) != MethodFolder(target))
    return "sideways, from " + MethodFolder(file) + " to " + MethodFolder(target);
  return std::string();
}

} // namespace

TEST(Boundary, NoLibraryHeaderOutsideTheHost) {
  const std::regex include(
      R"re(^\s*#\s*include\s*[<"](Q[A-Za-z]+|Qt[A-Za-z]*/.*|gdal.*|ogr.*|cpl_.*|geos.*|proj.*|sqlite3.*)[>"])re");
  EXPECT_EQ(Offenders([](const std::string& rel) { return !Exempt(rel); }, include,
                      [](const std::string&, const std::string& header) { return header; }),
            "");
}

TEST(Boundary, TheRuleKnowsUpSidewaysAndTheHost) {
  const std::pair<const char*, const char*> allowed[] = {
      {"store/A.cpp", "platform/runtime/B.h"}, {"store/A.cpp", "store/B.h"},
      {"methods/drawn/A.h", "pages/mappage/B.h"}, {"methods/drawn/A.cpp", "methods/drawn/B.h"},
      {"component/A.cpp", "methods/drawn/B.h"},   {"host/app/A.cpp", "setup/B.h"}};
  for (const auto& [file, target] : allowed) EXPECT_EQ(LayerOffence(file, target), "") << file << " " << target;
  EXPECT_EQ(LayerOffence("store/A.cpp", "pages/B.h"), "up, from store to pages");
  EXPECT_EQ(LayerOffence("platform/gis/A.h", "store/B.h"), "up, from platform to store");
  EXPECT_EQ(LayerOffence("methods/drawn/A.h", "methods/maplist/B.h"),
            "sideways, from methods/drawn to methods/maplist");
  EXPECT_EQ(LayerOffence("manage/A.cpp", "methods/whole/B.h"), "sideways, from manage to methods");
  EXPECT_EQ(LayerOffence("store/A.cpp", "host/common/Paths.h"), "into the host");
  EXPECT_EQ(LayerOffence("setup/A.cpp", "tests/support/B.h"), "outside the component");
}

TEST(Boundary, ComponentIncludesPointOnlyDownTheLayers) {
  const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
  const auto component = [](const std::string& rel) {
    const auto rank = kRanks.find(TopFolder(rel));
    return rank != kRanks.end() && rank->second != kHostRank;
  };
  EXPECT_EQ(Offenders(component, include,
                      [](const std::string& rel, const std::string& target) {
                        const std::string why = LayerOffence(rel, target);
                        return why.empty() ? why : target + " (" + why + ")";
                      }),
            "")
      << "Includes against the layer order";
}

// Only host/join joins host and component: every other host folder sees the
// component through platform/ alone, so a component's internals can change
// without the host noticing.
TEST(Boundary, OnlyTheJoinIncludesComponentInternals) {
  const std::regex include(R"re(^\s*#\s*include\s*[<"]([^>"]+)[>"])re");
  EXPECT_EQ(Offenders([](const std::string& rel) { return rel.rfind("host/", 0) == 0 && rel.rfind("host/join/", 0) != 0; },
                      include,
                      [](const std::string&, const std::string& target) {
                        const auto rank = kRanks.find(TopFolder(target));
                        const bool internal = rank != kRanks.end() && rank->first != "platform" && rank->second != kHostRank;
                        return internal ? target : std::string();
                      }),
            "")
      << "Component internals included outside host/join";
}
