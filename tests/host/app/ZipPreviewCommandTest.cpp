// `tovana zip-preview` on the built sample: the counts agree with what the
// GeoPackage holds, prefixes that match nothing are named, and a list the
// ZIP rules refuse gets the rule's message.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <sys/wait.h>

namespace fs = std::filesystem;

namespace {

struct Outcome {
  int status = -1;
  std::string output;
};

Outcome Tovana(const std::string& arguments) {
  const fs::path dataRoot = fs::path(TOVANA_SOURCE_ROOT) / "data";
  const fs::path tovana = fs::path(TOVANA_BINARY_ROOT) / "host" / "app" / "tovana";
  const fs::path analysis = fs::temp_directory_path() / ("tovana-zip-preview-" + std::to_string(getpid()));
  const std::string command = "'" + tovana.string() + "' --data-root '" + dataRoot.string() + "' --analysis '" +
                              analysis.string() + "' --dataset USA " + arguments + " 2>&1";
  Outcome run;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  std::array<char, 4096> buffer{};
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) run.output.append(buffer.data(), n);
  const int status = pclose(pipe.release());
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  fs::remove_all(analysis);
  return run;
}

long CountInSample(const std::string& where) {
  GDALAllRegister();
  std::unique_ptr<GDALDataset> dataset(GDALDataset::Open(
      (fs::path(TOVANA_SOURCE_ROOT) / "data" / "usa" / "usa.gpkg").c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  OGRLayer* zips = dataset->GetLayerByName("zip_areas");
  zips->SetAttributeFilter(where.c_str());
  return static_cast<long>(zips->GetFeatureCount());
}

} // namespace

TEST(ZipPreviewCommand, CountsEachCodeAndNamesThoseThatMatchNothing) {
  if (!fs::exists(fs::path(TOVANA_SOURCE_ROOT) / "data" / "usa" / "usa.gpkg"))
    GTEST_SKIP() << "the sample data set is not built (make data)";
  Outcome run = Tovana("zip-preview --zips '10001, 100*; 000*'");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("10001\t1 ZIP area\n"), std::string::npos) << run.output;
  const long prefix = CountInSample("ZIP LIKE '100%'");
  ASSERT_GT(prefix, 1);
  EXPECT_NE(run.output.find("100%\t" + std::to_string(prefix) + " ZIP areas\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("000%\t0 ZIP areas\n"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("Matching no ZIP area: 000%"), std::string::npos) << run.output;

  // The rules of the data set's ZIP method: five digits, or a prefix of at
  // least two followed by the wildcard.
  Outcome refused = Tovana("zip-preview --zips '10001, 1000'");
  EXPECT_EQ(refused.status, 1);
  EXPECT_NE(refused.output.find("five digits"), std::string::npos) << refused.output;
  EXPECT_EQ(refused.output.find("10001\t"), std::string::npos) << "all or nothing: " << refused.output;
}
