#pragma once
#include "host/datasets/CodeRules.h"
#include "host/datasets/LayerChoice.h"

#include <optional>
#include <string>
#include <vector>

namespace tov {

// What `tovana datasets create` and the new data set dialog ask for.
struct DatasetCreateOptions {
  std::string name;   // the data set's name, also its folder under the data root
  std::string source; // a file GDAL reads (GeoPackage, shapefile, GeoJSON, FlatGeobuf ...) or "PG:..."
  LayerChoice regions;  // the main layer and its name field ("" = inferred)
  std::optional<LayerChoice> codes; // postal code areas and their code field
  std::vector<std::string> context;
  std::string projection = "auto"; // or "EPSG:N"
  std::string attribution;
  std::string labelField;  // a field of the regions added to their names
  std::string placesFile;  // a CSV of one's own places for the gazetteer
  std::string assumeSrs;   // "EPSG:N" for layers without a coordinate system
  bool replace = false;
  CodeRuleChoices codeRules;
  std::string dataRoot;     // native folder holding the data sets
  std::string geonamesFile; // the GeoNames places; "" = the sample's, under <dataRoot>/cache
};

} // namespace tov
