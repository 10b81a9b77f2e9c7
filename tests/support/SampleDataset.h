#pragma once
// The USA sample the end-to-end tests run on: data/usa, or in the runs
// "Created.<test>" the one `datasets create` made in TOVANA_TEST_SAMPLE_ROOT.
#include <nlohmann/json.hpp>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace tov::test {

// The data root holding the sample.
inline std::filesystem::path SampleDataRoot() {
  if (const char* root = std::getenv("TOVANA_TEST_SAMPLE_ROOT"); root && *root) return root;
  return std::filesystem::path(TOVANA_SOURCE_ROOT) / "data";
}

// The sample's folder: the one holding its dataset.json.
inline std::filesystem::path SampleFolder() {
  return SampleDataRoot() / (std::getenv("TOVANA_TEST_SAMPLE_ROOT") ? "USA" : "usa");
}

// The sample's GeoPackage, as its description names it ("" when absent).
inline std::filesystem::path SampleGeoPackage() {
  std::ifstream in(SampleFolder() / "dataset.json");
  if (!in) return std::filesystem::path();
  const nlohmann::json description = nlohmann::json::parse(in, nullptr, false);
  if (!description.is_object() || !description.contains("geopackage")) return std::filesystem::path();
  const std::filesystem::path gpkg = description["geopackage"].get<std::string>();
  return gpkg.is_absolute() ? gpkg : SampleFolder() / gpkg;
}

} // namespace tov::test
