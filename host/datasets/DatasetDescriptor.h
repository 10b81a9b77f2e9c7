#pragma once
#include "host/datasets/AnalysisSystemChoice.h"
#include "host/datasets/CodeRules.h"
#include "host/framework/JsonDataSetLayer.h"

#include <nlohmann/json.hpp>

#include <array>
#include <optional>
#include <string>
#include <vector>

namespace tov {

// The seven ways to make a study area: the descriptor of each, and the word
// the command line uses for it.
struct MethodName {
  const char* descriptor;
  const char* command;
};
const std::vector<MethodName>& StudyAreaMethods();
// The command-line word of a method descriptor ("" for one it does not know).
std::string MethodCommand(const std::string& descriptorName);

// A layer of a data set description as `datasets create` writes it.
struct DescribedLayer {
  std::string title;      // the layer's name in the description and on the map
  std::string sourceName; // its table in the GeoPackage
  LayerDisplay display;
};

// Everything a new data set's dataset.json says.
struct DatasetDescription {
  std::string name, geopackage, attribution;
  std::optional<std::array<double, 4>> initialExtent; // WEST, SOUTH, EAST, NORTH
  AnalysisSystem system;
  std::vector<DescribedLayer> context; // outlines drawn above the others
  DescribedLayer regions;
  std::string listField, idField;      // of the regions
  std::optional<DescribedLayer> codes; // the ZIP method is offered only with them
  std::string codeField;
  CodeRules codeRules;
};

// The description as dataset.json holds it: the layers (context first, so
// that it is drawn on top, then codes, then regions), the analysis system,
// the seven methods (six without codes) with their captions, settings and
// task layers, the reference layers' symbols, the initial extent and the
// attribution.
nlohmann::ordered_json DescribeDataset(const DatasetDescription& description);

// A layer's title from its table name: "zip_areas" gives "Zip areas".
std::string LayerTitle(const std::string& sourceName);

// Scale ranges from the shapes' sizes, so that a map shows a layer and its
// labels where they can be read: labels from where a typical shape is about
// sixty pixels across; a layer whose typical shape would be under three
// pixels in a view of the whole extent only from where it reaches them.
// Sizes in metres; 0 for no limit.
LayerDisplay DisplayFor(double typicalSize, double extentWidth, const std::string& labelField);

} // namespace tov
