#pragma once
#include "host/datasets/CodeRules.h"

#include <string>
#include <vector>

namespace tov {

// What the new data set dialog shows of a source before anything is made.
struct SourceLayerInfo {
  std::string name;
  std::string kind; // "polygons", "lines", "points", ...
  long features = 0;
  std::vector<std::string> textFields;
};

// The layers of a source; HostError naming it when it cannot be read.
std::vector<SourceLayerInfo> ListSourceLayers(const std::string& source);

// The analysis system `datasets create` would give a data set of this main
// layer ("auto" or "EPSG:N"), described; HostError when it cannot say.
std::string PreviewAnalysisSystem(const std::string& source, const std::string& layer, const std::string& projection);

// The code rules it would infer from the values of a field.
CodeRules PreviewCodeRules(const std::string& source, const std::string& layer, const std::string& field);

} // namespace tov
