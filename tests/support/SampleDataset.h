#pragma once
// The USA sample data set the end-to-end tests run on: the one `make data`
// builds (data/usa), or, in the runs named "Created.<test>", the data set
// that `tovana datasets create` made from the sample's own GeoPackage in the
// data root TOVANA_TEST_SAMPLE_ROOT (tests/host/tools makes it first).
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

// The sample's GeoPackage, as its description names it ("" when the sample
// is not there).
inline std::filesystem::path SampleGeoPackage() {
  std::ifstream in(SampleFolder() / "dataset.json");
  if (!in) return std::filesystem::path();
  const nlohmann::json description = nlohmann::json::parse(in, nullptr, false);
  if (!description.is_object() || !description.contains("geopackage")) return std::filesystem::path();
  const std::filesystem::path gpkg = description["geopackage"].get<std::string>();
  return gpkg.is_absolute() ? gpkg : SampleFolder() / gpkg;
}

} // namespace tov::test
