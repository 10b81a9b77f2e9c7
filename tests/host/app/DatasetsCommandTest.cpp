// `tovana datasets` on the built sample: every layer of the description is
// listed with the feature count that the GeoPackage really holds.
#include <gdal_priv.h>
#include <ogrsf_frmts.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

namespace fs = std::filesystem;

namespace {

std::string RunAndCapture(const std::string& command) {
  std::string output;
  std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
  if (!pipe) return output;
  std::array<char, 4096> buffer{};
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe.get())) > 0) output.append(buffer.data(), n);
  return output;
}

} // namespace

TEST(DatasetsCommand, ListsEverySampleLayerWithItsFeatureCount) {
  const fs::path dataRoot = fs::path(TOVANA_SOURCE_ROOT) / "data";
  const fs::path gpkg = dataRoot / "usa" / "usa.gpkg";
  const fs::path tovana = fs::path(TOVANA_BINARY_ROOT) / "host" / "app" / "tovana";
  if (!fs::exists(gpkg)) GTEST_SKIP() << "the sample data set is not built (make data)";
  if (!fs::exists(tovana)) GTEST_SKIP() << "the tovana program is not built";

  const std::string listing =
      RunAndCapture("'" + tovana.string() + "' --data-root '" + dataRoot.string() + "' datasets 2>&1");
  EXPECT_NE(listing.find("USA\t"), std::string::npos) << listing;

  GDALAllRegister();
  std::unique_ptr<GDALDataset> dataset(GDALDataset::Open(gpkg.c_str(), GDAL_OF_VECTOR | GDAL_OF_READONLY));
  ASSERT_NE(dataset, nullptr);
  const std::pair<const char*, const char*> layers[] = {
      {"States", "states"}, {"Counties", "counties"}, {"ZIP areas", "zip_areas"}};
  for (const auto& [mapName, source] : layers) {
    OGRLayer* layer = dataset->GetLayerByName(source);
    ASSERT_NE(layer, nullptr) << source;
    const std::string line = std::string(mapName) + " (" + source + "): " +
                             std::to_string(layer->GetFeatureCount()) + " features";
    EXPECT_NE(listing.find(line), std::string::npos) << "missing \"" << line << "\" in\n" << listing;
  }
}
