// A shared analysis's working copy and table cache live in the user's cache
// folder; one made first by someone else (a link, a folder others may write
// into) is refused, and nothing is pulled into it.
#include "AnalysisViews.h"
#include "Errors.h"
#include "Program.h"
#include "ScopedEnvironment.h"

#include <sys/stat.h>

namespace tov::test {
namespace {

TEST(SharedCacheFolderTest, AWorkingCopyIsNeverMadeInACacheFolderSomeoneElseCouldControl) {
  TestWorld world;
  TOV_REQUIRE_SHARED_WORLD(world);
  ProgramRun run = RunTovana(world, "setup extent --name Alpha --lonlat --extent=-74.3,40.3,-73.8,40.9");
  ASSERT_EQ(run.exitCode, 0) << run.errors;

  const std::string cacheHome = world.Root() + "/cache", cache = cacheHome + "/tovana";
  tov::testing::ScopedEnvironment variable("XDG_CACHE_HOME", cacheHome);
  fs::create_directories(cacheHome);
  fs::create_directory(world.Root() + "/theirs");
  fs::create_directory_symlink(world.Root() + "/theirs", cache);
  run = RunTovana(world, "list");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Has(run.errors, "The cache folder " + cache + " is a symbolic link")) << run.errors;
  EXPECT_TRUE(fs::is_empty(world.Root() + "/theirs"));

  fs::remove(cache);
  fs::create_directory(cache);
  chmod(cache.c_str(), 0777);
  run = RunTovana(world, "list");
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_TRUE(Has(run.errors, "The cache folder " + cache + " has mode 0777")) << run.errors;
  EXPECT_TRUE(fs::is_empty(cache));

  // A private folder of the user's own: the working copies go there.
  chmod(cache.c_str(), 0700);
  run = RunTovana(world, "list");
  EXPECT_EQ(run.exitCode, 0) << run.errors;
  EXPECT_TRUE(Has(run.output, "Alpha")) << run.output;
  EXPECT_TRUE(fs::is_directory(cache + "/shared"));
}

} // namespace
} // namespace tov::test
