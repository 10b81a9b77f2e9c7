// AbsoluteNormalPath skips std::filesystem for paths that are normal
// already; whatever it is given, it must answer as the full rule does.
#include "host/common/Paths.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;

namespace tov {
namespace {

std::string FullRule(const std::string& path) {
  std::string p = fs::absolute(path.empty() ? std::string(".") : path).lexically_normal().string();
  while (p.size() > 1 && p.back() == '/') p.pop_back();
  return p;
}

TEST(Paths, AbsoluteNormalPathAgreesWithTheFullRuleOnEveryShapeOfPath) {
  for (const std::string path :
       {"/", "//", "/a", "/a/", "/a//", "/a/b/c", "/a//b", "//a/b", "/a/./b", "/a/.", "/a/./", "/a/..", "/a/b/../c",
        "/..", "/a/...", "/a/.b/..c", "/a/b.", "relative", "relative/./x/", "./x", "../x", "", ".", "x/../..",
        "/tmp/Study Areas/7/StudyArea.shp", "/a/b/c/../../d/"})
    EXPECT_EQ(AbsoluteNormalPath(path), FullRule(path)) << "\"" << path << "\"";
}

} // namespace
} // namespace tov
