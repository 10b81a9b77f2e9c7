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
#include <vector>

namespace fs = std::filesystem;

namespace {

bool Exempt(const std::string& rel) {
  for (const char* prefix : {"host/", "tests/host/", "bench/", "fuzz/", "build", ".git/", "data/cache/"})
    if (rel.rfind(prefix, 0) == 0) return true;
  return false;
}

// Calls visit(relative path, line number, line) for every line of every
// C++ source under the tree whose top folder passes `wanted`.
void ForEachSourceLine(const std::function<bool(const std::string& rel)>& wanted,
                       const std::function<void(const std::string&, int, const std::string&)>& visit) {
  const fs::path root = TOVANA_SOURCE_ROOT;
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
    int n = 0;
    while (std::getline(in, line)) visit(rel, ++n, line);
  }
}

std::string Lines(const std::vector<std::string>& lines) {
  std::string all;
  for (const std::string& l : lines) all += l + "\n";
  return all;
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
  std::vector<std::string> offenders;
  ForEachSourceLine([](const std::string& rel) { return !Exempt(rel); },
                    [&](const std::string& rel, int n, const std::string& line) {
                      if (std::regex_search(line, include))
                        offenders.push_back(rel + ":" + std::to_string(n) + ": " + line);
                    });
  EXPECT_TRUE(offenders.empty()) << Lines(offenders);
}

TEST(Boundary, TheRuleKnowsUpSidewaysAndTheHost) {
  EXPECT_EQ(LayerOffence("store/A.cpp", "platform/runtime/B.h"), "");
  EXPECT_EQ(LayerOffence("store/A.cpp", "store/B.h"), "");
  EXPECT_EQ(LayerOffence("methods/drawn/A.h", "pages/mappage/B.h"), "");
  EXPECT_EQ(LayerOffence("methods/drawn/A.cpp", "methods/drawn/B.h"), "");
  EXPECT_EQ(LayerOffence("component/A.cpp", "methods/drawn/B.h"), "");
  EXPECT_EQ(LayerOffence("host/app/A.cpp", "setup/B.h"), "");
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
  std::vector<std::string> offenders;
  std::smatch m;
  ForEachSourceLine(
      [](const std::string& rel) {
        const auto rank = kRanks.find(TopFolder(rel));
        return rank != kRanks.end() && rank->second != kHostRank;
      },
      [&](const std::string& rel, int n, const std::string& line) {
        if (!std::regex_search(line, m, include)) return;
        const std::string why = LayerOffence(rel, m[1].str());
        if (!why.empty()) offenders.push_back(rel + ":" + std::to_string(n) + ": " + m[1].str() + " (" + why + ")");
      });
  EXPECT_TRUE(offenders.empty()) << "Includes against the layer order:\n" << Lines(offenders);
}

// Only host/join joins host and component: every other host folder sees the
// component through platform/ alone, so a component's internals can change
// without the host noticing.
TEST(Boundary, OnlyTheJoinIncludesComponentInternals) {
  const std::regex include(R"re(^\s*#\s*include\s*[<"]([^>"]+)[>"])re");
  std::vector<std::string> offenders;
  std::smatch m;
  ForEachSourceLine(
      [](const std::string& rel) { return rel.rfind("host/", 0) == 0 && rel.rfind("host/join/", 0) != 0; },
      [&](const std::string& rel, int n, const std::string& line) {
        if (!std::regex_search(line, m, include)) return;
        const auto rank = kRanks.find(TopFolder(m[1].str()));
        if (rank != kRanks.end() && rank->first != "platform" && rank->second != kHostRank)
          offenders.push_back(rel + ":" + std::to_string(n) + ": " + m[1].str());
      });
  EXPECT_TRUE(offenders.empty()) << "Component internals included outside host/join:\n" << Lines(offenders);
}
